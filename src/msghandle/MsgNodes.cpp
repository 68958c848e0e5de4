#include "msghandle/MsgNodes.h"

namespace tavi {

MsgNodeRefs RefsOf(const MsgNodeList& nodes) {
    MsgNodeRefs refs;
    for (const auto& node : nodes) refs.push_back(node.get());
    return refs;
}

std::vector<SMsgPart> SplitTextPlainAndImageMsg(const MsgNodeRefs& nodes) {
    std::vector<SMsgPart> parts;
    for (const SNormalMsgNode* node : nodes) {
        if (!node) continue;
        const bool image = node->m_nType == kMsgNodeImage;
        if (image || parts.empty() || parts.back().m_bImage) {
            parts.push_back(SMsgPart{image, {}});
        }
        parts.back().m_nodes.push_back(node);
    }
    return parts;
}

}  // namespace tavi
