// Packs message nodes into the contents handed to the messaging SDK: a
// content type and a UTF-8 body, plus the summary shown in lists. Every
// input the packers need is passed in; the message handler reads it from
// the rich edit, the window and the SDK.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "msghandle/MsgNodes.h"

class TiXmlElement;

namespace tavi {

inline constexpr const char* kContentTextPlain = "text/plain";
inline constexpr const char* kContentRichXml = "rich/xml";
inline constexpr const char* kContentImgXml = "img/xml";

// The chat font a style is made from, as the input's default text format
// gives it.
struct SMsgFontRecord {
    uint32_t m_dwEffects = 0;  // bit 0 bold, bit 1 italic, bit 2 underline
    int32_t m_nSize = 12;      // points
    uint32_t m_crColor = 0;    // 0x00BBGGRR
    std::u16string m_strFace;
};

constexpr uint32_t kFontBold = 1u << 0;
constexpr uint32_t kFontItalic = 1u << 1;
constexpr uint32_t kFontUnderline = 1u << 2;

// A loaded picture as far as packing needs it.
struct SPictureInfo {
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    uint32_t m_nFrameCount = 1;
};

// A member of the group the message goes to, in the group's order.
struct SGroupMember {
    std::string m_strId;            // buddy id, UTF-8
    std::u16string m_strLatinName;  // display name for "nickname"
    std::u16string m_strNote;       // the member's note in this group
};

class CMsgContentPacker {
public:
    // The inline style of a font; always true.
    static bool CreateStyleMsg(std::u16string& style, const SMsgFontRecord& font);

    // The style typed text carries: empty for the plain default font in the
    // UI's default face, or when the UI resources cannot be reached
    // (`defaultFace` null); else the font's style.
    static void MakeInputStyle(std::u16string& style, const SMsgFontRecord& font, const char16_t* defaultFace);

    // Exactly one node into one content; false for any other count, for a
    // picture that cannot be packed, or for an empty text-form result.
    static bool PackOneElemMsg(std::string& contentType, std::string& body, std::string& summary,
                               const MsgNodeRefs& nodes, bool emailWindow);

    // Text and text-form smileys as plain text; true when the body is not
    // empty. A text node that carries no style record fails the call.
    static bool PackXmlTextMsg(std::string& body, std::string& summary, const MsgNodeRefs& part);

    // A "div" holding a "span" per run of text and an element per picture.
    static bool PackRichXmlMsg(std::string& body, std::string& summary, const std::u16string& style,
                               const MsgNodeRefs& nodes, bool emailWindow);

    // The element of one picture node; false for a node that is no picture
    // or whose upload record is not exactly a key and a digest.
    static bool PackImageXmlNode(TiXmlElement& element, const SNormalMsgNode* node, bool emailWindow);

    // The body of a custom smiley: false without a path or a loaded picture.
    static bool PackSmileyImageXmlMsg(std::string& body, const char16_t* filePath, const std::u16string& smileyKey,
                                      const SPictureInfo* picture, uint64_t fileSize, const std::string& md5);

    // The picture's MIME word: its extension, or "jpg"/"gif" by frame count.
    static std::u16string GetImageMimeType(const std::u16string& path, uint32_t frameCount);

    // Whether a text part of several nodes goes as "text/plain" (else
    // "rich/xml").
    static bool IsTextPlainPart(const MsgNodeRefs& part, bool inputStyleEmpty, bool textPlainSmiley, bool plainMode);

    // A part of several nodes by that choice.
    static bool PackTextPartMsg(std::string& contentType, std::string& body, std::string& summary,
                                const MsgNodeRefs& part, const std::u16string& inputStyle, bool textPlainSmiley,
                                bool plainMode, bool emailWindow);

    // The "contentat" of a group message: "" without "@", "all" for "@all",
    // else the ids of the members written as "@" + name + " ".
    static void GetContentAt(std::string& contentAt, const std::u16string& text,
                             const std::vector<SGroupMember>& members, const std::string& selfId,
                             bool groupLookupFailed);
};

}  // namespace tavi
