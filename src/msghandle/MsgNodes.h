// The message nodes that the input is parsed into before packing, the
// parts a rich body is made of, and the pictures still to be uploaded.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tavi {

// Node types: a run of text, a smiley in text form, a picture.
constexpr int32_t kMsgNodeText = 2;
constexpr int32_t kMsgNodeSmiley = 3;
constexpr int32_t kMsgNodeImage = 4;

struct SNormalMsgNode {
    SNormalMsgNode() = default;
    SNormalMsgNode(int32_t type, std::u16string value) : m_nType(type), m_strValue(std::move(value)) {}
    virtual ~SNormalMsgNode() = default;

    int32_t m_nType = 0;
    std::u16string m_strValue;  // text, smiley name, or a picture's cache name
};

struct STextMsgNode : SNormalMsgNode {
    STextMsgNode() : SNormalMsgNode(kMsgNodeText, std::u16string()) {}
    STextMsgNode(std::u16string text, std::u16string style)
        : SNormalMsgNode(kMsgNodeText, std::move(text)), m_strStyle(std::move(style)) {}

    std::u16string m_strStyle;  // inline style of the run; empty: none of its own
};

struct SImageMsgMode : SNormalMsgNode {
    SImageMsgMode() : SNormalMsgNode(kMsgNodeImage, std::u16string()) {}

    // m_strValue: the cache name (digest + extension); empty for a custom
    // smiley that is already on the server.
    uint32_t m_nFileSize = 0;
    std::u16string m_strFileKey;  // local file path
    std::u16string m_strMime;     // the file's extension, such as "gif"
    std::u16string m_strFileName; // the element's "name" when read back from a body
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    std::u16string m_strUploadRecord;  // empty before upload, else key "\n" digest
    std::string m_strSmileyKey;        // UTF-8 key of a custom smiley
    std::u16string m_strReserved1;
    std::u16string m_strReserved2;
    std::u16string m_strReserved3;
    std::u16string m_strReserved4;
    std::u16string m_strReserved5;
};

using MsgNodeList = std::vector<std::unique_ptr<SNormalMsgNode>>;
// A view of nodes owned elsewhere; the packers only read them.
using MsgNodeRefs = std::vector<const SNormalMsgNode*>;

MsgNodeRefs RefsOf(const MsgNodeList& nodes);

// A run of nodes of one kind: one picture alone, or text and text-form
// smileys that share one "span".
struct SMsgPart {
    bool m_bImage = false;
    MsgNodeRefs m_nodes;
};

// Every picture opens a part of its own; any other node joins the last
// part when that is a text part, else opens one.
std::vector<SMsgPart> SplitTextPlainAndImageMsg(const MsgNodeRefs& nodes);

// A picture that must be on the server before its message can go out. The
// names are those of the attachment record that keeps them with a pending
// message.
struct SUploadItem {
    std::string m_strFileKey;   // cache name: digest + extension, UTF-8
    std::string m_strFileName;  // local file path, UTF-8
    std::string m_strSmileyId;  // upload record, empty while it must be uploaded

    bool operator==(const SUploadItem&) const = default;
};

}  // namespace tavi
