#include "msghandle/GroupKind.h"

#include "sdk/qel_attribs.h"

namespace tavi {

std::optional<int> GroupConvType(qel_handle group) {
    if (!group) return std::nullopt;
    const int tag = qel_attribs_get_int(group, "tag", -1);
    if (tag != -1 && tag != 4) return std::nullopt;
    qel_handle ext = qel_object_get_attribs(group, "ext");
    return ext ? qel_attribs_get_int(ext, "conv-type", kConvTypeUnknown) : kConvTypeUnknown;
}

}  // namespace tavi
