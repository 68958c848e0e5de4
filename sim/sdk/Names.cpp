// Names of members as the client common library shows them: Latin
// spellings, names within a group, avatars and whether ids show.
#include <map>

#include "sdk/common_sdk.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/sdk/SdkDriver.h"
#include "sim/sdk/World.h"

namespace sim {

namespace {
struct NameState {
    std::map<std::u16string, std::u16string> latin;
    bool showUserId = true;
};

NameState& State() {
    static NameState state;
    return state;
}

const bool kRegistered = RegisterReset([] { State() = NameState{}; });

std::u16string Latin(const std::u16string& name) {
    auto it = State().latin.find(name);
    return it == State().latin.end() ? name : it->second;
}
}  // namespace

void SetLatinSpelling(const std::u16string& name, const std::u16string& latin) { State().latin[name] = latin; }
void SetShowUserId(bool show) { State().showUserId = show; }

void SetMemberNote(const std::string& groupId, const std::string& buddyId, const std::string& note) {
    sdk::Account* account = sdk::CurrentAccountObj();
    sdk::BuddyGroup* group = account ? account->FindGroup(groupId) : nullptr;
    sdk::Member* member = group ? group->FindMember(buddyId) : nullptr;
    if (!member) return;
    sdk::ServerWrite server;
    qel_attribs_set_str(member->attribs.get(), "note", note.c_str(), 0);
}

qel_handle AddOrgGroup(const std::string& id) {
    qel_handle group = AddGroup(id);
    if (auto* g = sdk::As<sdk::BuddyGroup>(group)) g->organisation = true;
    return group;
}

// The search reads the same spellings as the names shown.
std::u16string LatinSpelling(const std::u16string& name) { return Latin(name); }

}  // namespace sim

namespace common {

std::u16string GetLatinName(qel_handle buddy, const char* key) {
    if (!buddy || !key) return u"";
    return sim::Latin(sim::ToWide(qel_attribs_get_str(buddy, key, "")));
}

std::u16string GetGrpLatinName(qel_handle group, const char* buddyId) {
    qel_handle attribs = group && buddyId ? qel_buddy_group_get_member_attribs(group, buddyId) : nullptr;
    return attribs ? sim::Latin(sim::ToWide(qel_attribs_get_str(attribs, "note", ""))) : u"";
}

std::u16string GetUserAvatarPath(qel_handle buddy, const char* avatarKey) {
    if (!buddy || !avatarKey) return u"";
    // Asked for every member of a large group at once: built in one buffer.
    std::string path = "avatars/";
    const std::string_view id = qel_buddy_get_id(buddy);
    const std::string_view key = avatarKey;
    path.reserve(path.size() + id.size() + key.size() + 5);
    path.append(id).append("-").append(key).append(".png");
    return sim::ToWide(path);
}

bool IsShowUserId() { return sim::State().showUserId; }

}  // namespace common
