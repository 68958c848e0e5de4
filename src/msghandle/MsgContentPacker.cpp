#include "msghandle/MsgContentPacker.h"

#include <tinyxml.h>

#include <memory>
#include <string_view>

#include "sdk/common_content.h"
#include "util/Log.h"
#include "util/SafeXml.h"
#include "util/Strings.h"

namespace tavi {

namespace {

using util::WideToUtf8;

const STextMsgNode* AsText(const SNormalMsgNode* node) { return dynamic_cast<const STextMsgNode*>(node); }
const SImageMsgMode* AsImage(const SNormalMsgNode* node) { return dynamic_cast<const SImageMsgMode*>(node); }

bool HasNodeOfType(const MsgNodeRefs& nodes, int32_t type) {
    for (const SNormalMsgNode* node : nodes) {
        if (node && node->m_nType == type) return true;
    }
    return false;
}

// The file name of a path; both separators are accepted.
std::u16string_view FileNameOf(std::u16string_view path) {
    const size_t slash = path.find_last_of(u"/\\");
    return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

std::u16string_view WithoutExtension(std::u16string_view name) {
    const size_t dot = name.rfind(u'.');
    return dot == std::u16string_view::npos ? name : name.substr(0, dot);
}

// The pieces of an upload record: lines, with empty ones dropped.
std::vector<std::u16string> RecordPieces(const std::u16string& record) {
    std::vector<std::u16string> pieces;
    size_t start = 0;
    while (start <= record.size()) {
        size_t end = record.find(u'\n', start);
        if (end == std::u16string::npos) end = record.size();
        if (end > start) pieces.push_back(record.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

// "%06x" gives blue, green, red; the style wants red, green, blue.
std::u16string ColorDigits(uint32_t color) {
    const std::string bgr = util::Format("%06x", color & 0xFFFFFFu);
    return util::Utf8ToWide(bgr.substr(4, 2) + bgr.substr(2, 2) + bgr.substr(0, 2));
}

std::string Decimal(int64_t value) { return std::to_string(value); }

}  // namespace

bool CMsgContentPacker::CreateStyleMsg(std::u16string& style, const SMsgFontRecord& font) {
    style = u"font-size:";
    style += font.m_nSize != 0 ? util::WFormat("%dpt;", font.m_nSize) : u"pt; ";
    style += u" font-family:" + font.m_strFace + u";";
    style += u" color:#" + ColorDigits(font.m_crColor) + u";";
    if (font.m_dwEffects & kFontBold) style += u"font-weight: bold;";
    if (font.m_dwEffects & kFontItalic) style += u" font-style: italic;";
    if (font.m_dwEffects & kFontUnderline) style += u"text-decoration: underline;";
    return true;
}

void CMsgContentPacker::MakeInputStyle(std::u16string& style, const SMsgFontRecord& font,
                                       const char16_t* defaultFace) {
    style.clear();
    if (!defaultFace) return;
    const bool plainDefault = font.m_nSize == 12 && font.m_crColor == 0 &&
                              (font.m_dwEffects & (kFontBold | kFontItalic | kFontUnderline)) == 0;
    if (plainDefault && font.m_strFace == defaultFace) return;
    CreateStyleMsg(style, font);
}

bool CMsgContentPacker::PackOneElemMsg(std::string& contentType, std::string& body, std::string& summary,
                                       const MsgNodeRefs& nodes, bool emailWindow) {
    if (nodes.size() != 1 || !nodes.front()) return false;
    const SNormalMsgNode* node = nodes.front();
    if (node->m_nType == kMsgNodeText) {
        const STextMsgNode* text = AsText(node);
        if (!text) return false;
        const std::string value = WideToUtf8(text->m_strValue);
        if (text->m_strStyle.empty()) {
            contentType = kContentTextPlain;
            body = summary = value;
            return true;
        }
        TiXmlElement div("div");
        div.SetAttribute("style", WideToUtf8(text->m_strStyle));
        auto span = std::make_unique<TiXmlElement>("span");
        span->LinkEndChild(new TiXmlText(value));
        div.LinkEndChild(span.release());
        contentType = kContentRichXml;
        body = util::PrintXmlCompact(div);
        summary = value;
        return true;
    }
    if (node->m_nType == kMsgNodeImage) {
        TiXmlElement img("img");
        if (!PackImageXmlNode(img, node, emailWindow)) return false;
        contentType = kContentImgXml;
        body = util::PrintXmlCompact(img);
        return true;
    }
    contentType = kContentTextPlain;
    return PackXmlTextMsg(body, summary, nodes);
}

bool CMsgContentPacker::PackXmlTextMsg(std::string& body, std::string& summary, const MsgNodeRefs& part) {
    body.clear();
    summary.clear();
    for (const SNormalMsgNode* node : part) {
        if (!node) continue;
        if (node->m_nType == kMsgNodeText) {
            if (!AsText(node)) {
                TAVI_LOG_FAIL("PackXmlTextMsg text node without style record");
                body.clear();
                summary.clear();
                return false;
            }
            const std::string value = WideToUtf8(node->m_strValue);
            body += value;
            summary += value;
        } else if (node->m_nType == kMsgNodeSmiley) {
            body += "[" + WideToUtf8(node->m_strValue) + "]";
            summary += " ";
        }
    }
    return !body.empty();
}

bool CMsgContentPacker::PackRichXmlMsg(std::string& body, std::string& summary, const std::u16string& style,
                                       const MsgNodeRefs& nodes, bool emailWindow) {
    TiXmlElement div("div");
    if (!style.empty()) div.SetAttribute("style", WideToUtf8(style));
    summary.clear();
    for (const SMsgPart& part : SplitTextPlainAndImageMsg(nodes)) {
        if (!part.m_bImage) {
            std::string text, textSummary;
            if (!PackXmlTextMsg(text, textSummary, part.m_nodes)) continue;
            auto span = std::make_unique<TiXmlElement>("span");
            span->LinkEndChild(new TiXmlText(text));
            div.LinkEndChild(span.release());
            summary += textSummary;
            continue;
        }
        auto img = std::make_unique<TiXmlElement>("img");
        if (PackImageXmlNode(*img, part.m_nodes.front(), emailWindow)) div.LinkEndChild(img.release());
        summary += " ";
    }
    body = util::PrintXmlCompact(div);
    return true;
}

bool CMsgContentPacker::PackImageXmlNode(TiXmlElement& element, const SNormalMsgNode* node, bool emailWindow) {
    const SImageMsgMode* image = AsImage(node);
    if (!image) return false;
    std::u16string source, digest;
    const bool uploaded = !image->m_strUploadRecord.empty();
    if (uploaded) {
        std::vector<std::u16string> pieces = RecordPieces(image->m_strUploadRecord);
        if (pieces.size() != 2) {
            TAVI_LOG_FAIL("PackImageXmlNode malformed upload record");
            return false;
        }
        source = pieces[0];
        digest = pieces[1];
    } else {
        source = image->m_strFileKey;
        digest = WithoutExtension(FileNameOf(image->m_strValue));
    }
    element.SetValue(emailWindow && !uploaded ? "localimg" : "img");
    element.SetAttribute("src", WideToUtf8(source));
    if (image->m_nFileSize != 0) element.SetAttribute("size", Decimal(image->m_nFileSize));
    element.SetAttribute("mime", WideToUtf8(image->m_strMime));
    element.SetAttribute("width", Decimal(image->m_nWidth));
    element.SetAttribute("height", Decimal(image->m_nHeight));
    element.SetAttribute("md5", WideToUtf8(digest));
    element.SetAttribute("name", "img." + WideToUtf8(common::Mime2ImgType(image->m_strMime)));
    element.SetAttribute("fullimage", "true");
    return true;
}

bool CMsgContentPacker::PackSmileyImageXmlMsg(std::string& body, const char16_t* filePath,
                                              const std::u16string& smileyKey, const SPictureInfo* picture,
                                              uint64_t fileSize, const std::string& md5) {
    if (!filePath || !picture) return false;
    const std::u16string path(filePath);
    TiXmlElement img("img");
    img.SetAttribute("mime", WideToUtf8(GetImageMimeType(path, picture->m_nFrameCount)));
    img.SetAttribute("src", "smiley://[" + WideToUtf8(smileyKey) + "]");
    img.SetAttribute("width", Decimal(picture->m_nWidth));
    img.SetAttribute("height", Decimal(picture->m_nHeight));
    img.SetAttribute("size", std::to_string(fileSize));
    img.SetAttribute("md5", md5);
    img.SetAttribute("name", WideToUtf8(FileNameOf(path)));
    body = util::PrintXmlCompact(img);
    return true;
}

std::u16string CMsgContentPacker::GetImageMimeType(const std::u16string& path, uint32_t frameCount) {
    const std::u16string_view name = FileNameOf(path);
    const size_t dot = name.rfind(u'.');
    if (dot != std::u16string_view::npos && dot + 1 < name.size()) return std::u16string(name.substr(dot + 1));
    return frameCount < 2 ? u"jpg" : u"gif";
}

bool CMsgContentPacker::IsTextPlainPart(const MsgNodeRefs& part, bool inputStyleEmpty, bool textPlainSmiley,
                                        bool plainMode) {
    if (plainMode) return true;
    return inputStyleEmpty && !HasNodeOfType(part, kMsgNodeImage) &&
           (textPlainSmiley || !HasNodeOfType(part, kMsgNodeSmiley));
}

bool CMsgContentPacker::PackTextPartMsg(std::string& contentType, std::string& body, std::string& summary,
                                        const MsgNodeRefs& part, const std::u16string& inputStyle,
                                        bool textPlainSmiley, bool plainMode, bool emailWindow) {
    if (IsTextPlainPart(part, inputStyle.empty(), textPlainSmiley, plainMode)) {
        contentType = kContentTextPlain;
        return PackXmlTextMsg(body, summary, part);
    }
    contentType = kContentRichXml;
    return PackRichXmlMsg(body, summary, inputStyle, part, emailWindow);
}

void CMsgContentPacker::GetContentAt(std::string& contentAt, const std::u16string& text,
                                     const std::vector<SGroupMember>& members, const std::string& selfId,
                                     bool groupLookupFailed) {
    contentAt.clear();
    if (text.find(u'@') == std::u16string::npos) return;
    if (text.find(u"@all") != std::u16string::npos) {
        contentAt = "all";
        return;
    }
    if (groupLookupFailed) return;
    // An empty name would match any "@ " and mention everybody.
    const auto mentioned = [&](const std::u16string& name) {
        return !name.empty() && text.find(u"@" + name + u" ") != std::u16string::npos;
    };
    for (const SGroupMember& member : members) {
        if (member.m_strId == selfId) continue;
        if (!mentioned(member.m_strLatinName) && !mentioned(member.m_strNote)) continue;
        if (!contentAt.empty()) contentAt += ",";
        contentAt += member.m_strId;
    }
}

}  // namespace tavi
