// The JSON records that travel with a message: the extra information the
// SDK and the server attach, and the attachment record that keeps the
// pictures of a message that is still uploading.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "msghandle/MsgNodes.h"

namespace tavi {

struct SMsgExtraInfo {
    std::string m_strConvId;                // "convid"
    uint64_t m_nCMsgId = 0;                 // "cmsgid"
    std::string m_strFsId;                  // "fsid"
    uint64_t m_nIMsgId = 0;                 // "imsgid"
    std::string m_strSpLang;                // "splang"
    std::string m_strLangRes;               // "langres"
    std::string m_strContentAt;             // "contentat", the mention list
    std::string m_strSpPlat;                // "spplat"
    std::string m_strLangTemplate;          // "langtemplate"
    std::string m_strMsgTimer;              // "msgtimer"
    int32_t m_nUnreadNum = -1;              // "unreadnum"
    std::string m_strImportantConfirmTime;  // "important_confirm_time"
    std::string m_strDataBiz;               // "data_biz"

    bool operator==(const SMsgExtraInfo&) const = default;
};

// Reads the record; a missing key, or a value of another type, keeps its
// default. False, with every field at its default, when the text is not a
// JSON object.
bool ParseMsgExtraInfo(const std::string& json, SMsgExtraInfo& info);

// Stores the unread count of a receipt message in its extra information,
// keeping every other key; text that is not a JSON object starts afresh.
std::string SetExtraInfoUnreadNum(const std::string& json, int32_t unreadNum);

// Whether a receipt message asks every member of the group: its
// "receiptto" member lists the targets, comma-separated; "all" is everyone.
bool ReceiptGoesToAll(const std::string& json);

// The pictures of a pending message and its mention list.
struct SAttachmentRecord {
    std::vector<SUploadItem> m_items;
    std::string m_strContentAt;
};

// {"AttachmentItems":[{"strFileKey":..,"strFileName":..,"strSmileyId":..}],"contentAt":..}
std::string WriteAttachmentRecord(const std::vector<SUploadItem>& items, const std::string& contentAt);

// False when the text is not a JSON object; items that are not objects
// are skipped, members that are not strings read as empty.
bool ReadAttachmentRecord(const std::string& json, SAttachmentRecord& record);

}  // namespace tavi
