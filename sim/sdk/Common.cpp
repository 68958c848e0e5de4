// The client common library's functions over SDK objects.
#include <set>
#include <sstream>

#include "sdk/common_sdk.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/sdk/World.h"

namespace sim {

namespace {
struct CommonState {
    bool haveDraft = true;
    std::map<int, std::u16string> errorTexts;
    std::set<std::string> proxyUsers;
    std::set<std::string> abnormalUsers;
    int hisShowNum = 10;
    std::map<std::string, int> rbac;
};

CommonState& State() {
    static CommonState state;
    return state;
}

const bool kRegistered = RegisterReset([] { State() = CommonState{}; });

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> out;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        if (!item.empty()) out.push_back(item);
    }
    return out;
}
}  // namespace

void SetHaveDraft(bool keep) { State().haveDraft = keep; }
void SetSdkErrorText(int code, const std::u16string& text) { State().errorTexts[code] = text; }
void SetSpecialProxyUser(const std::string& userId) { State().proxyUsers.insert(userId); }
void SetAbnormalUser(const std::string& userId) { State().abnormalUsers.insert(userId); }
void SetHisShowNum(int count) { State().hisShowNum = count; }
void SetRBACLimit(const std::string& key, int value) { State().rbac[key] = value; }

}  // namespace sim

namespace common {

bool HaveDraft() { return sim::State().haveDraft; }

std::u16string GetSDKErrorInfo(int errorCode) {
    auto it = sim::State().errorTexts.find(errorCode);
    if (it != sim::State().errorTexts.end()) return it->second;
    return sim::ToWide("error " + std::to_string(errorCode));
}

bool SpecialProxyUserId(const char16_t* userId) {
    return userId && sim::State().proxyUsers.count(sim::ToUtf8(userId)) != 0;
}

int GetHisShowNum(qel_handle) { return sim::State().hisShowNum; }

qel_handle GetQelBuddy(const char16_t* userId) {
    sim::sdk::Account* account = sim::sdk::CurrentAccountObj();
    return account && userId ? account->FindBuddy(sim::ToUtf8(userId)) : nullptr;
}

bool IsOwner(const char16_t* userId) {
    sim::sdk::Account* account = sim::sdk::CurrentAccountObj();
    return account && userId && account->buddyId == sim::ToUtf8(userId);
}

std::u16string GetUserNameOnShow(const char16_t* userId) {
    if (!userId) return u"";
    const char* nickname = qel_attribs_get_str(GetQelBuddy(userId), "nickname", "");
    return *nickname ? sim::ToWide(nickname) : std::u16string(userId);
}

bool IsNormalUser(const char16_t* userId) {
    return userId && *userId && sim::State().abnormalUsers.count(sim::ToUtf8(userId)) == 0;
}

int GetQELAttribs_int(qel_handle object, const char* key, int defaultValue) {
    return qel_attribs_get_int(object, key, defaultValue);
}

void SetQELAttribs_int(qel_handle object, const char* key, int value, int mode) {
    qel_attribs_set_int(object, key, value, mode);
}

int GetRBACLimit(const char* key) {
    if (!key) return 0;
    auto it = sim::State().rbac.find(key);
    return it == sim::State().rbac.end() ? 0 : it->second;
}

bool GetGroupPerm(qel_handle group, const char* permission) {
    auto* g = sim::sdk::As<sim::sdk::BuddyGroup>(group);
    return g && permission && g->myPermissions.count(permission) != 0;
}

std::vector<std::string> GetGroupPermList(qel_handle group, const char* buddyId) {
    return sim::SplitList(qel_attribs_get_str(qel_buddy_group_get_member_attribs(group, buddyId), "permissions", ""));
}

// The stand-in keeps the bar as the group's attribute "me-forbid-word".
bool IsMeForbidWordInGrp(qel_handle group) { return group && qel_attribs_get_int(group, "me-forbid-word", 0) != 0; }

}  // namespace common
