// Accounts as the component reads them: login state, the own user,
// preferences, buddies and groups, custom smileys.
#include <algorithm>

#include "sdk/qel_account.h"
#include "sdk/qel_bus.h"
#include "sdk/qel_conversation.h"
#include "sim/core/Text.h"
#include "sim/sdk/SdkDriver.h"
#include "sim/sdk/ServiceRequests.h"
#include "sim/sdk/World.h"

using namespace sim::sdk;

namespace {

Prefs* PrefsOf(qel_handle h) { return As<Prefs>(h); }

void NotePrefWrite(Prefs* prefs, const char* key, const std::string& value) {
    sim::sdk::RecordPrefWrite(prefs->account ? prefs->account->buddyId : "", key, value);
}

qel_handle* NewArray(size_t n) { return new qel_handle[n + 1]; }

}  // namespace

extern "C" {

int qel_account_get_login_state(qel_handle account) {
    Account* a = AccountOf(account);
    return a && a->loggedIn ? 1 : 0;
}

const char* qel_account_get_buddy_id(qel_handle account) {
    Account* a = AccountOf(account);
    return a ? a->buddyId.c_str() : "";
}

qel_handle qel_account_bound_buddy(qel_handle account) {
    Account* a = AccountOf(account);
    return a ? a->FindBuddy(a->buddyId) : nullptr;
}

bool qel_account_is_enable_db_multithread(qel_handle account) {
    Account* a = AccountOf(account);
    return a && a->dbMultithread;
}

qel_handle qel_account_preference(qel_handle account) {
    Account* a = AccountOf(account);
    return a ? a->prefs.get() : nullptr;
}

int qel_preference_get_int(qel_handle pref, const char* key, int defaultValue) {
    Prefs* p = PrefsOf(pref);
    if (!p || !key) return defaultValue;
    auto it = p->values.find(key);
    if (it == p->values.end()) return defaultValue;
    if (auto* i = std::get_if<int64_t>(&it->second)) return int(*i);
    if (auto* s = std::get_if<std::u16string>(&it->second)) {
        try {
            return std::stoi(sim::ToUtf8(*s));
        } catch (...) {
            return defaultValue;
        }
    }
    return defaultValue;
}

void qel_preference_set_int(qel_handle pref, const char* key, int value) {
    Prefs* p = PrefsOf(pref);
    if (!p || !key) return;
    p->values[key] = int64_t(value);
    NotePrefWrite(p, key, std::to_string(value));
}

const char16_t* qel_preference_get_wstr(qel_handle pref, const char* key, const char16_t* defaultValue) {
    Prefs* p = PrefsOf(pref);
    if (!p || !key) return defaultValue;
    auto it = p->values.find(key);
    if (it == p->values.end()) return defaultValue;
    if (auto* s = std::get_if<std::u16string>(&it->second)) return s->c_str();
    if (auto* i = std::get_if<int64_t>(&it->second)) {
        it->second = sim::ToWide(std::to_string(*i));
        return std::get<std::u16string>(it->second).c_str();
    }
    return defaultValue;
}

void qel_preference_set_wstr(qel_handle pref, const char* key, const char16_t* value) {
    Prefs* p = PrefsOf(pref);
    if (!p || !key) return;
    std::u16string text = value ? value : u"";
    NotePrefWrite(p, key, sim::ToUtf8(text));
    p->values[key] = std::move(text);
}

const char16_t* const* qel_preference_get_wstr_array(qel_handle pref, const char* key, int* count) {
    if (count) *count = 0;
    Prefs* p = PrefsOf(pref);
    if (!p || !key) return nullptr;
    auto it = p->values.find(key);
    if (it == p->values.end()) return nullptr;
    auto* array = std::get_if<std::vector<std::u16string>>(&it->second);
    if (!array) return nullptr;
    p->arrayOut.clear();
    for (const auto& s : *array) p->arrayOut.push_back(s.c_str());
    // A stored list that is empty is still there: an array of no strings.
    p->arrayOut.push_back(nullptr);
    if (count) *count = int(array->size());
    return p->arrayOut.data();
}

void qel_preference_remove(qel_handle pref, const char* key) {
    Prefs* p = PrefsOf(pref);
    if (!p || !key) return;
    if (p->values.erase(key)) NotePrefWrite(p, key, "<removed>");
}

int qel_preference_save(qel_handle pref, int flags) {
    Prefs* p = PrefsOf(pref);
    if (!p) return QEL_ERR_INVALID_ARG;
    sim::sdk::RecordPrefSave(*p, flags);
    return 0;
}

qel_handle qel_account_buddies(qel_handle account) {
    Account* a = AccountOf(account);
    return a ? a->buddies.get() : nullptr;
}

qel_handle qel_buddies_find_buddy_base(qel_handle buddies, const char* buddyId) {
    Buddies* b = As<Buddies>(buddies);
    return b && buddyId ? b->account->FindBuddy(buddyId) : nullptr;
}

qel_handle qel_buddies_find_cate(qel_handle buddies, int cateType) {
    Buddies* b = As<Buddies>(buddies);
    if (!b) return nullptr;
    if (cateType == QEL_CATE_BUDDY) return b->account->friendsCate.get();
    if (cateType == QEL_CATE_GROUP) return b->account->groupsCate.get();
    return nullptr;
}

int qel_buddies_cate_get_type(qel_handle cate) {
    Category* c = As<Category>(cate);
    return c ? c->type : 0;
}

qel_handle qel_buddies_cate_find_buddy(qel_handle cate, const char* buddyId) {
    Category* c = As<Category>(cate);
    if (!c || !buddyId) return nullptr;
    Account* a = c->account;
    if (c->type == QEL_CATE_BUDDY) {
        const bool isFriend = std::find(a->friends.begin(), a->friends.end(), buddyId) != a->friends.end();
        return isFriend ? a->FindBuddy(buddyId) : nullptr;
    }
    for (auto& [id, group] : a->groups) {
        if (group->FindMember(buddyId)) return a->FindBuddy(buddyId);
    }
    return nullptr;
}

qel_handle qel_buddies_cate_find_buddy_group(qel_handle cate, const char* groupId) {
    Category* c = As<Category>(cate);
    if (!c || !groupId) return nullptr;
    BuddyGroup* group = c->account->FindGroup(groupId);
    // Organisation groups are listed among the buddies (category 1), the others as groups.
    if (!group || (c->type == QEL_CATE_GROUP) == group->organisation) return nullptr;
    return group;
}

const char* qel_buddy_get_id(qel_handle buddy) {
    Buddy* b = As<Buddy>(buddy);
    return b ? b->id.c_str() : "";
}

qel_handle qel_buddy_get_conversation(qel_handle buddy, const char* channelId, int create) {
    Buddy* b = As<Buddy>(buddy);
    if (!b || !channelId) return nullptr;
    return b->account->PeerConversation(b->id, false, channelId, create != 0);
}

const char* qel_buddy_group_get_id(qel_handle group) {
    BuddyGroup* g = As<BuddyGroup>(group);
    return g ? g->id.c_str() : "";
}

int qel_buddy_group_get_all_buddies(qel_handle group, int, qel_handle** list, int* count) {
    if (list) *list = nullptr;
    if (count) *count = 0;
    BuddyGroup* g = As<BuddyGroup>(group);
    if (!g || !list || !count) return QEL_ERR_INVALID_ARG;
    if (g->membersError != 0) return g->membersError;
    *list = NewArray(g->members.size());
    int n = 0;
    for (const Member& m : g->members) {
        if (Buddy* b = g->account->FindBuddy(m.buddyId)) (*list)[n++] = b;
    }
    *count = n;
    return 0;
}

qel_handle qel_buddy_group_get_member_attribs(qel_handle group, const char* buddyId) {
    BuddyGroup* g = As<BuddyGroup>(group);
    Member* m = g && buddyId ? g->FindMember(buddyId) : nullptr;
    return m ? m->attribs.get() : nullptr;
}

qel_handle qel_buddy_group_get_conversation(qel_handle group, const char* channelId, int create) {
    BuddyGroup* g = As<BuddyGroup>(group);
    if (!g || !channelId) return nullptr;
    return g->account->PeerConversation(g->id, true, channelId, create != 0);
}

qel_handle qel_account_custom_smileys(qel_handle account) {
    Account* a = AccountOf(account);
    return a ? a->smileys.get() : nullptr;
}

const QelSmileyInfo* qel_smiley_get_info(qel_handle smiley) {
    Smiley* s = As<Smiley>(smiley);
    if (!s) return nullptr;
    s->info = {s->key.c_str(), s->text.c_str(), s->time.c_str()};
    return &s->info;
}

int qel_smiley_modify(qel_handle smiley, const char* text, const char* time) {
    Smiley* s = As<Smiley>(smiley);
    if (!s) return QEL_ERR_INVALID_ARG;
    s->text = text ? text : "";
    s->time = time ? time : "";
    return 0;
}

void* qel_get_bus_interface(qel_handle account, const char* serviceId) {
    if (!serviceId || std::string(serviceId) != kQelBusServiceId) return nullptr;
    return sim::sdk::BusServiceOf(account);
}

}  // extern "C"
