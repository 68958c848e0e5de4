// Builders of message nodes for the content tests.
#pragma once

#include <memory>
#include <string>

#include "msghandle/MsgNodes.h"

namespace tavi::testing {

inline std::unique_ptr<SNormalMsgNode> Text(std::u16string text, std::u16string style = u"") {
    return std::make_unique<STextMsgNode>(std::move(text), std::move(style));
}

inline std::unique_ptr<SNormalMsgNode> Smiley(std::u16string name) {
    return std::make_unique<SNormalMsgNode>(kMsgNodeSmiley, std::move(name));
}

// A picture of 640 by 480 pixels and 20480 bytes; uploaded when a record is given.
inline std::unique_ptr<SImageMsgMode> Picture(std::u16string cacheName, std::u16string path,
                                              std::u16string record = u"", std::u16string mime = u"jpg") {
    auto image = std::make_unique<SImageMsgMode>();
    image->m_strValue = std::move(cacheName);
    image->m_strFileKey = std::move(path);
    image->m_strUploadRecord = std::move(record);
    image->m_strMime = std::move(mime);
    image->m_nFileSize = 20480;
    image->m_nWidth = 640;
    image->m_nHeight = 480;
    return image;
}

template <typename... Nodes>
MsgNodeList List(Nodes&&... nodes) {
    MsgNodeList list;
    (list.push_back(std::forward<Nodes>(nodes)), ...);
    return list;
}

}  // namespace tavi::testing
