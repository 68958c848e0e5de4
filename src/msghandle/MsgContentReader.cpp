#include "msghandle/MsgContentReader.h"

#include <tinyxml.h>

#include <charconv>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "msghandle/MsgContentPacker.h"
#include "util/Log.h"
#include "util/SafeXml.h"
#include "util/Strings.h"

namespace tavi {

namespace {

constexpr std::string_view kSmileyPrefix = "smiley://[";

std::string Attribute(const TiXmlElement& element, const char* name) {
    const char* value = element.Attribute(name);
    return value ? std::string(value) : std::string();
}

template <typename T>
T NumberAttribute(const TiXmlElement& element, const char* name) {
    const std::string text = Attribute(element, name);
    T value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() ? value : T(0);
}

bool IsPictureElement(const TiXmlElement& element) {
    return std::strcmp(element.Value(), "img") == 0 || std::strcmp(element.Value(), "localimg") == 0;
}

// The text directly inside an element, all of its text children joined.
std::string TextOf(const TiXmlElement& element) {
    std::string text;
    for (const TiXmlNode* child = element.FirstChild(); child; child = child->NextSibling()) {
        if (child->ToText()) text += child->Value();
    }
    return text;
}

// A picture read back so that packing it again gives the same element: a
// "localimg" (or one without digest) is a picture not yet uploaded; any
// other "img" carries its source and digest as its upload record.
std::unique_ptr<SImageMsgMode> ImageFromElement(const TiXmlElement& element) {
    auto image = std::make_unique<SImageMsgMode>();
    const std::string src = Attribute(element, "src");
    const std::string md5 = Attribute(element, "md5");
    const std::string mime = Attribute(element, "mime");
    image->m_strFileKey = util::Utf8ToWide(src);
    image->m_strMime = util::Utf8ToWide(mime);
    image->m_strFileName = util::Utf8ToWide(Attribute(element, "name"));
    image->m_nFileSize = NumberAttribute<uint32_t>(element, "size");
    image->m_nWidth = NumberAttribute<int32_t>(element, "width");
    image->m_nHeight = NumberAttribute<int32_t>(element, "height");
    if (src.starts_with(kSmileyPrefix) && src.ends_with("]")) {
        image->m_strSmileyKey = src.substr(kSmileyPrefix.size(), src.size() - kSmileyPrefix.size() - 1);
    }
    const bool local = std::strcmp(element.Value(), "localimg") == 0;
    if (local || src.empty() || md5.empty()) {
        image->m_strValue = util::Utf8ToWide(mime.empty() || md5.empty() ? md5 : md5 + "." + mime);
    } else {
        image->m_strUploadRecord = util::Utf8ToWide(src + "\n" + md5);
    }
    return image;
}

void AddText(MsgNodeList& nodes, const std::string& text, const std::u16string& style) {
    if (text.empty()) return;
    nodes.push_back(std::make_unique<STextMsgNode>(util::Utf8ToWide(text), style));
}

std::string DigestOf(const std::string& cacheName) {
    const size_t dot = cacheName.rfind('.');
    return dot == std::string::npos ? cacheName : cacheName.substr(0, dot);
}

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t\n\r") == std::string::npos;
}

// The raw text between each "<span>" and its "</span>", in order. Spans
// are written without attributes and never nest.
std::vector<std::string_view> RawSpanTexts(std::string_view body) {
    std::vector<std::string_view> texts;
    for (size_t open = body.find("<span>"); open != std::string_view::npos; open = body.find("<span>", open)) {
        open += 6;
        const size_t close = body.find("</span>", open);
        if (close == std::string_view::npos) break;
        texts.push_back(body.substr(open, close - open));
        open = close;
    }
    return texts;
}

// TinyXML drops text that is only white space, so a run of spaces between
// two pictures would vanish from a body that is read and written again;
// such spans get their text back from the body itself.
void RestoreBlankSpans(TiXmlElement& root, std::string_view body) {
    const std::vector<std::string_view> raw = RawSpanTexts(body);
    std::vector<TiXmlElement*> spans;
    for (TiXmlElement* span = root.FirstChildElement("span"); span; span = span->NextSiblingElement("span")) {
        spans.push_back(span);
    }
    if (spans.size() != raw.size()) return;
    for (size_t i = 0; i < spans.size(); ++i) {
        if (spans[i]->FirstChild() || raw[i].empty()) continue;
        // Let TinyXML decode the entities, fenced so that the text is not blank.
        TiXmlDocument fence;
        if (!util::ParseXmlSafely(fence, "<x>|" + std::string(raw[i]) + "|</x>")) continue;
        const char* fenced = fence.RootElement()->GetText();
        const std::string text = fenced ? std::string(fenced) : std::string();
        if (text.size() < 2 || !IsBlank(text.substr(1, text.size() - 2))) continue;
        spans[i]->LinkEndChild(new TiXmlText(text.substr(1, text.size() - 2)));
    }
}

bool ParseBody(TiXmlDocument& doc, const std::string& body) {
    if (!util::ParseXmlSafely(doc, body)) return false;
    RestoreBlankSpans(*doc.RootElement(), body);
    return true;
}

}  // namespace

bool CMsgContentReader::ReadContent(MsgNodeList& nodes, const std::string& contentType, const std::string& body) {
    if (contentType == kContentTextPlain) {
        ReadTextPlain(nodes, body);
        return true;
    }
    if (contentType == kContentRichXml) return ReadRichXml(nodes, body);
    if (contentType == kContentImgXml) return ReadImgXml(nodes, body);
    return false;
}

void CMsgContentReader::ReadTextPlain(MsgNodeList& nodes, const std::string& body) {
    AddText(nodes, body, std::u16string());
}

bool CMsgContentReader::ReadRichXml(MsgNodeList& nodes, const std::string& body) {
    TiXmlDocument doc;
    if (!ParseBody(doc, body)) {
        TAVI_LOG_FAIL("ReadRichXml cannot read body of %zu bytes", body.size());
        return false;
    }
    const TiXmlElement* root = doc.RootElement();
    const std::u16string style = util::Utf8ToWide(Attribute(*root, "style"));
    for (const TiXmlNode* child = root->FirstChild(); child; child = child->NextSibling()) {
        if (child->ToText()) {
            AddText(nodes, child->Value(), style);
            continue;
        }
        const TiXmlElement* element = child->ToElement();
        if (!element) continue;
        if (std::strcmp(element->Value(), "span") == 0) {
            AddText(nodes, TextOf(*element), style);
        } else if (IsPictureElement(*element)) {
            nodes.push_back(ImageFromElement(*element));
        }
    }
    return true;
}

bool CMsgContentReader::ReadImgXml(MsgNodeList& nodes, const std::string& body) {
    TiXmlDocument doc;
    if (!ParseBody(doc, body) || !IsPictureElement(*doc.RootElement())) {
        TAVI_LOG_FAIL("ReadImgXml cannot read body of %zu bytes", body.size());
        return false;
    }
    nodes.push_back(ImageFromElement(*doc.RootElement()));
    return true;
}

bool CMsgContentReader::SetRootImageSrc(std::string& body, const std::string& key, std::string* digest) {
    TiXmlDocument doc;
    if (!ParseBody(doc, body)) return false;
    TiXmlElement* root = doc.RootElement();
    root->SetAttribute("src", key);
    if (digest) *digest = Attribute(*root, "md5");
    body = util::PrintXmlCompact(*root);
    return true;
}

bool CMsgContentReader::RewriteImageSrcs(std::string& body, const std::map<std::string, std::string>& keysByCacheName,
                                         std::map<std::string, std::string>* digests) {
    TiXmlDocument doc;
    if (!ParseBody(doc, body)) return false;
    TiXmlElement* root = doc.RootElement();
    for (TiXmlElement* img = root->FirstChildElement("img"); img; img = img->NextSiblingElement("img")) {
        const std::string md5 = Attribute(*img, "md5");
        const std::string src = Attribute(*img, "src");
        for (const auto& [cacheName, key] : keysByCacheName) {
            const std::string digest = DigestOf(cacheName);
            const bool byDigest = !md5.empty() && md5 == digest;
            if (!byDigest && src != cacheName) continue;
            img->SetAttribute("src", key);
            if (digests) (*digests)[cacheName] = byDigest ? digest : md5;
            break;
        }
    }
    body = util::PrintXmlCompact(*root);
    return true;
}

}  // namespace tavi
