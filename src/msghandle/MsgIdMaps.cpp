#include "msghandle/MsgIdMaps.h"

#include <map>

namespace tavi {

namespace {
std::map<int64_t, uint64_t>& ShownToSdk() {
    static std::map<int64_t, uint64_t> map;
    return map;
}
std::map<uint64_t, int64_t>& SdkToShown() {
    static std::map<uint64_t, int64_t> map;
    return map;
}
}  // namespace

void RecordMsgIdPair(int64_t shownId, uint64_t sdkId) {
    ShownToSdk()[shownId] = sdkId;
    // A send that stored nothing pairs with 0; that is no SDK message.
    if (sdkId != 0) SdkToShown()[sdkId] = shownId;
}

bool FindSdkMsgId(int64_t shownId, uint64_t& sdkId) {
    auto it = ShownToSdk().find(shownId);
    if (it == ShownToSdk().end()) return false;
    sdkId = it->second;
    return true;
}

bool FindShownMsgId(uint64_t sdkId, int64_t& shownId) {
    auto it = SdkToShown().find(sdkId);
    if (it == SdkToShown().end()) return false;
    shownId = it->second;
    return true;
}

}  // namespace tavi
