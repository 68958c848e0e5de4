#include "msghandle/MsgExtraInfo.h"

#include <json/json.h>

#include <exception>
#include <memory>
#include <string_view>

#include "util/Strings.h"

namespace tavi {

namespace {

// JsonCpp's accessors throw on a value of the wrong type, so every read
// checks the type first and falls back to the default.

// No record the server writes nests more than a few levels.
constexpr int kMaxNesting = 128;

// Whether arrays and objects nest deeper than kMaxNesting, counting the
// brackets outside strings. A peer's record of a thousand "[" would
// otherwise reach the reader's stack limit, where the reader throws: one
// throw through hundreds of its frames costs a third of a millisecond.
bool NestsTooDeep(std::string_view text) {
    int depth = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') ++i;
            else if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxNesting) return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

bool ParseObject(const std::string& text, Json::Value& root) {
    if (NestsTooDeep(text)) return false;
    Json::CharReaderBuilder builder;
    builder["failIfExtra"] = true;
    // Only a comment can hide brackets from the count above; past this the
    // reader throws, despite its promise, and the catch below is the guard.
    builder["stackLimit"] = 2 * kMaxNesting;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string errors;
    Json::Value parsed;
    try {
        if (!reader->parse(text.data(), text.data() + text.size(), &parsed, &errors)) return false;
    } catch (const std::exception&) {
        return false;
    }
    if (!parsed.isObject()) return false;
    root = std::move(parsed);
    return true;
}

const Json::Value* Member(const Json::Value& object, const char* key) {
    return object.isObject() ? object.find(key, key + std::char_traits<char>::length(key)) : nullptr;
}

void ReadString(const Json::Value& object, const char* key, std::string& out) {
    const Json::Value* value = Member(object, key);
    if (value && value->isString()) out = value->asString();
}

void ReadUInt64(const Json::Value& object, const char* key, uint64_t& out) {
    const Json::Value* value = Member(object, key);
    if (!value) return;
    // Whole numbers only: a real, even 2.0, is no id.
    if (value->isUInt64() && value->type() != Json::realValue) out = value->asUInt64();
}

void ReadInt32(const Json::Value& object, const char* key, int32_t& out) {
    const Json::Value* value = Member(object, key);
    if (!value) return;
    const bool integral = value->type() == Json::intValue || value->type() == Json::uintValue;
    if (integral && value->isInt()) out = value->asInt();
}

std::string WriteCompact(const Json::Value& root) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, root);
}

}  // namespace

bool ParseMsgExtraInfo(const std::string& json, SMsgExtraInfo& info) {
    info = SMsgExtraInfo();
    Json::Value root;
    if (!ParseObject(json, root)) return false;
    ReadString(root, "convid", info.m_strConvId);
    ReadUInt64(root, "cmsgid", info.m_nCMsgId);
    ReadString(root, "fsid", info.m_strFsId);
    ReadUInt64(root, "imsgid", info.m_nIMsgId);
    ReadString(root, "splang", info.m_strSpLang);
    ReadString(root, "langres", info.m_strLangRes);
    ReadString(root, "contentat", info.m_strContentAt);
    ReadString(root, "spplat", info.m_strSpPlat);
    ReadString(root, "langtemplate", info.m_strLangTemplate);
    ReadString(root, "msgtimer", info.m_strMsgTimer);
    ReadInt32(root, "unreadnum", info.m_nUnreadNum);
    ReadString(root, "important_confirm_time", info.m_strImportantConfirmTime);
    ReadString(root, "data_biz", info.m_strDataBiz);
    return true;
}

std::string SetExtraInfoUnreadNum(const std::string& json, int32_t unreadNum) {
    Json::Value root(Json::objectValue);
    ParseObject(json, root);
    root["unreadnum"] = unreadNum;
    return WriteCompact(root);
}

std::string WriteAttachmentRecord(const std::vector<SUploadItem>& items, const std::string& contentAt) {
    Json::Value root(Json::objectValue);
    Json::Value list(Json::arrayValue);
    for (const SUploadItem& item : items) {
        Json::Value entry(Json::objectValue);
        entry["strFileKey"] = item.m_strFileKey;
        entry["strFileName"] = item.m_strFileName;
        entry["strSmileyId"] = item.m_strSmileyId;
        list.append(entry);
    }
    root["AttachmentItems"] = list;
    root["contentAt"] = contentAt;
    return WriteCompact(root);
}

bool ReadAttachmentRecord(const std::string& json, SAttachmentRecord& record) {
    record = SAttachmentRecord();
    Json::Value root;
    if (!ParseObject(json, root)) return false;
    ReadString(root, "contentAt", record.m_strContentAt);
    const Json::Value* items = Member(root, "AttachmentItems");
    if (!items || !items->isArray()) return true;
    for (Json::ArrayIndex i = 0; i < items->size(); ++i) {
        const Json::Value& entry = (*items)[i];
        if (!entry.isObject()) continue;
        SUploadItem item;
        ReadString(entry, "strFileKey", item.m_strFileKey);
        ReadString(entry, "strFileName", item.m_strFileName);
        ReadString(entry, "strSmileyId", item.m_strSmileyId);
        // Uploads go by the cache name: an entry without one names no
        // picture, and would only make the whole message fail again.
        if (item.m_strFileKey.empty()) continue;
        record.m_items.push_back(std::move(item));
    }
    return true;
}

}  // namespace tavi

namespace tavi {

bool ReceiptGoesToAll(const std::string& json) {
    Json::Value root;
    std::string targets;
    if (!ParseObject(json, root)) return false;
    ReadString(root, "receiptto", targets);
    return util::ListContains(targets, "all");
}

}  // namespace tavi
