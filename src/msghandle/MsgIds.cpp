#include "msghandle/MsgIds.h"

#include <iterator>
#include <map>
#include <set>

namespace tavi {

namespace {
int64_t g_nextProvisionalId = kFirstProvisionalMsgId;

struct SIdMaps {
    std::map<int64_t, uint64_t> sdkByProvisional;
    std::multimap<const void*, int64_t> provisionalByOwner;
    std::map<uint64_t, int64_t> provisionalBySdk;
    std::map<int64_t, uint64_t> pendingByProvisional;
};

SIdMaps& Maps() {
    static SIdMaps maps;
    return maps;
}

template <typename Map>
auto Lookup(const Map& map, const typename Map::key_type& key) -> std::optional<typename Map::mapped_type> {
    auto it = map.find(key);
    if (it == map.end()) return std::nullopt;
    return it->second;
}
}  // namespace

int64_t TakeProvisionalMsgId() {
    const int64_t id = g_nextProvisionalId;
    g_nextProvisionalId = id == kLastProvisionalMsgIdBeforeWrap ? kProvisionalMsgIdAfterWrap : id + 1;
    return id;
}
int64_t PeekProvisionalMsgId() { return g_nextProvisionalId; }

void RecordSentMsgId(int64_t provisionalId, uint64_t msgId, const void* owner) {
    SIdMaps& maps = Maps();
    if (maps.sdkByProvisional.count(provisionalId) == 0) maps.provisionalByOwner.emplace(owner, provisionalId);
    maps.sdkByProvisional[provisionalId] = msgId;
    maps.provisionalBySdk[msgId] = provisionalId;
}

void ForgetSentMsgIdsOf(const void* owner) {
    SIdMaps& maps = Maps();
    const auto [first, last] = maps.provisionalByOwner.equal_range(owner);
    std::set<int64_t> forgotten;
    for (auto it = first; it != last; ++it) {
        forgotten.insert(it->second);
        maps.sdkByProvisional.erase(it->second);
    }
    maps.provisionalByOwner.erase(first, last);
    if (forgotten.empty()) return;
    // Every SDK id that led to one of them goes, also the earlier id of a
    // bubble that was sent again under a new one; a pair a later send took
    // over stays.
    for (auto it = maps.provisionalBySdk.begin(); it != maps.provisionalBySdk.end();) {
        it = forgotten.count(it->second) ? maps.provisionalBySdk.erase(it) : std::next(it);
    }
}

std::optional<uint64_t> FindSdkMsgId(int64_t provisionalId) { return Lookup(Maps().sdkByProvisional, provisionalId); }
std::optional<int64_t> FindProvisionalMsgId(uint64_t msgId) { return Lookup(Maps().provisionalBySdk, msgId); }

void RecordPendingMsgId(int64_t provisionalId, uint64_t msgId) { Maps().pendingByProvisional[provisionalId] = msgId; }
std::optional<uint64_t> FindPendingMsgId(int64_t provisionalId) {
    return Lookup(Maps().pendingByProvisional, provisionalId);
}
void ForgetPendingMsgId(int64_t provisionalId) { Maps().pendingByProvisional.erase(provisionalId); }

}  // namespace tavi
