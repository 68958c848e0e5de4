// Building the SDK's world for a test or the host program, and dropping
// objects as the SDK would when the server removes them.
#include <algorithm>

#include "sdk/qel_attribs.h"
#include "sdk/qel_conversation.h"
#include "sim/driver.h"
#include "sim/sdk/World.h"

namespace sim {

namespace {

sdk::Account& Current() {
    sdk::Account* account = sdk::CurrentAccountObj();
    if (account) return *account;
    AddAccount("me");
    return *sdk::CurrentAccountObj();
}

sdk::BuddyGroup* Group(const std::string& id) { return Current().FindGroup(id); }

std::string JoinList(const std::vector<std::string>& items) {
    std::string joined;
    for (const auto& item : items) joined += (joined.empty() ? "" : ",") + item;
    return joined;
}

template <class Map>
bool EraseOwned(Map& map, qel_object* object) {
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (it->second.get() == object) {
            auto old = std::move(it->second);
            map.erase(it);
            return true;
        }
    }
    return false;
}

bool DropAttribs(sdk::Attribs* set) {
    if (set->parent) {
        auto& children = set->parent->children;
        auto it = std::find_if(children.begin(), children.end(), [set](auto& c) { return c.get() == set; });
        if (it == children.end()) return false;
        auto old = std::move(*it);
        children.erase(it);
        return true;
    }
    return EraseOwned(set->root->attribSets, set);
}

bool DropAccount(sdk::Account* account) {
    auto& accounts = sdk::Accounts();
    auto it = std::find_if(accounts.begin(), accounts.end(), [account](auto& a) { return a.get() == account; });
    if (it == accounts.end()) return false;
    auto old = std::move(*it);
    accounts.erase(it);
    return true;
}

bool DropBuddy(sdk::Buddy* buddy) {
    sdk::Account* a = buddy->account;
    a->friends.erase(std::remove(a->friends.begin(), a->friends.end(), buddy->id), a->friends.end());
    return EraseOwned(a->allBuddies, buddy);
}

}  // namespace

qel_handle AddAccount(const std::string& buddyId, const std::u16string& instanceName, bool makeCurrent) {
    auto account = std::make_unique<sdk::Account>(buddyId);
    sdk::Account* raw = account.get();
    raw->allBuddies[buddyId] = std::make_unique<sdk::Buddy>(raw, buddyId);
    sdk::Accounts().push_back(std::move(account));
    qel::IQelInst* inst = sdk::AddInstance(instanceName, raw);
    if (makeCurrent) SetCurrentQelInst(inst);
    return raw;
}

qel_handle CurrentAccount() { return sdk::CurrentAccountObj(); }

void SetLoggedIn(qel_handle account, bool loggedIn) {
    if (auto* a = sdk::AccountOf(account)) a->loggedIn = loggedIn;
}

void SetDbMultithread(qel_handle account, bool enabled) {
    if (auto* a = sdk::AccountOf(account)) a->dbMultithread = enabled;
}

qel_handle AddBuddy(const std::string& id, const std::string& nickname, bool isFriend) {
    sdk::Account& a = Current();
    auto& slot = a.allBuddies[id];
    if (!slot) slot = std::make_unique<sdk::Buddy>(&a, id);
    if (isFriend && std::find(a.friends.begin(), a.friends.end(), id) == a.friends.end()) a.friends.push_back(id);
    if (!nickname.empty()) {
        sdk::ServerWrite server;
        qel_attribs_set_str(slot.get(), "nickname", nickname.c_str(), 0);
    }
    return slot.get();
}

qel_handle AddGroup(const std::string& id) {
    sdk::Account& a = Current();
    auto& slot = a.groups[id];
    if (!slot) slot = std::make_unique<sdk::BuddyGroup>(&a, id);
    return slot.get();
}

void AddGroupMember(const std::string& groupId, const std::string& buddyId, int role) {
    auto* g = sdk::As<sdk::BuddyGroup>(AddGroup(groupId));
    if (!Current().FindBuddy(buddyId)) AddBuddy(buddyId, "", false);
    sdk::Member* m = &g->AddMember(buddyId);
    if (role == -1) return;
    sdk::ServerWrite server;
    qel_attribs_set_int(m->attribs.get(), "authority-role", role, 0);
}

void SetGroupMembersError(const std::string& groupId, int code) {
    if (auto* g = Group(groupId)) g->membersError = code;
}

void SetMyGroupPermissions(const std::string& groupId, const std::vector<std::string>& permissions) {
    if (auto* g = Group(groupId)) g->myPermissions = {permissions.begin(), permissions.end()};
}

void SetMemberPermissions(const std::string& groupId, const std::string& buddyId,
                          const std::vector<std::string>& permissions) {
    sdk::BuddyGroup* g = Group(groupId);
    sdk::Member* m = g ? g->FindMember(buddyId) : nullptr;
    if (!m) return;
    sdk::ServerWrite server;
    qel_attribs_set_str(m->attribs.get(), "permissions", JoinList(permissions).c_str(), 0);
}

qel_handle OpenConversation(const std::string& peerId, bool isGroup) {
    sdk::Account& a = Current();
    if (isGroup) {
        AddGroup(peerId);
    } else if (!a.FindBuddy(peerId)) {
        AddBuddy(peerId);
    }
    return a.PeerConversation(peerId, isGroup, isGroup ? "group" : "im", true);
}

void SetSvrConvId(qel_handle conv, const std::string& svrConvId) {
    if (auto* c = sdk::As<sdk::Conversation>(conv)) c->svrConvId = svrConvId;
}

void SetRecentMsgReady(qel_handle conv, bool ready) {
    if (auto* c = sdk::As<sdk::Conversation>(conv)) c->recentReady = ready;
}

qel_handle AddStoredMsg(qel_handle conv, const StoredMsg& stored) {
    auto* c = sdk::As<sdk::Conversation>(conv);
    if (!c) return nullptr;
    auto msg = std::make_unique<sdk::Message>(c);
    msg->id = stored.id;
    msg->seq = stored.seq;
    msg->flags = stored.flags | (stored.sent ? uint32_t(QEL_MSG_FLAG_SENT) : 0u) | (stored.read ? uint32_t(QEL_MSG_FLAG_READ) : 0u);
    msg->hasData = stored.hasData;
    msg->time = stored.time ? stored.time : qel_get_adjusted_time();
    msg->type = stored.type;
    msg->sender = !stored.sender.empty() ? stored.sender : stored.sent ? c->account->buddyId : c->peerId;
    msg->contentType = stored.contentType;
    msg->content = stored.content;
    msg->summary = stored.summary.empty() ? stored.content : stored.summary;
    msg->extraInfo = stored.extraInfo;
    return c->Add(std::move(msg));
}

std::vector<uint64_t> AddStoredMsgs(qel_handle conv, int count, bool read) {
    std::vector<uint64_t> ids;
    for (int i = 1; i <= count; ++i) {
        StoredMsg stored;
        stored.read = read;
        stored.content = "m" + std::to_string(i);
        ids.push_back(qel_msg_get_id(AddStoredMsg(conv, stored)));
    }
    return ids;
}

void SetMsgFlags(qel_handle msg, uint32_t set, uint32_t clear) {
    auto* m = sdk::As<sdk::Message>(msg);
    if (!m) return;
    if (set & QEL_MSG_FLAG_READ) m->conv->unread.erase(m->id);
    if ((clear & QEL_MSG_FLAG_READ) && !(m->flags & QEL_MSG_FLAG_SENT)) m->conv->unread.insert(m->id);
    m->flags = (m->flags | set) & ~clear & ~uint32_t(QEL_MSG_FLAG_READ | QEL_MSG_FLAG_ACKED);
}

void SetPrefInt(const std::string& key, int value) { Current().prefs->values[key] = int64_t(value); }
void SetPrefStr(const std::string& key, const std::u16string& value) { Current().prefs->values[key] = value; }
void SetPrefArray(const std::string& key, const std::vector<std::u16string>& values) {
    Current().prefs->values[key] = values;
}

qel_handle AddCustomSmiley(const std::string& key, const std::string& text) {
    sdk::Account& a = Current();
    if (!a.smileys) a.smileys = std::make_unique<sdk::Smileys>();
    auto& slot = a.smileys->byKey[key];
    if (!slot) slot = std::make_unique<sdk::Smiley>();
    slot->key = key;
    slot->text = text;
    return slot.get();
}

qel_handle DeliverIncomingMsg(qel_handle conv, const std::string& content, const std::string& contentType,
                              const std::string& sender) {
    StoredMsg stored;
    stored.sender = sender;
    stored.read = false;
    stored.content = content;
    stored.contentType = contentType;
    return AddStoredMsg(conv, stored);
}

void ServerSetAttrib(qel_handle object, const std::string& key, int64_t value, const std::string& setName) {
    sdk::ServerWrite server;
    qel_attribs_set_int64(qel_object_get_attribs(object, setName.c_str()), key.c_str(), value, 0);
}

void ServerSetAttrib(qel_handle object, const std::string& key, const std::string& value, const std::string& setName) {
    sdk::ServerWrite server;
    qel_attribs_set_str(qel_object_get_attribs(object, setName.c_str()), key.c_str(), value.c_str(), 0);
}

bool DropObject(qel_handle object) {
    if (!object) return false;
    if (auto* m = sdk::As<sdk::Message>(object)) {
        if (!m->conv->Find(m->id)) return false;
        m->conv->Remove(m->id);
        return true;
    }
    if (auto* c = sdk::As<sdk::Conversation>(object)) return EraseOwned(c->account->convs, c);
    if (auto* b = sdk::As<sdk::Buddy>(object)) return DropBuddy(b);
    if (auto* g = sdk::As<sdk::BuddyGroup>(object)) return EraseOwned(g->account->groups, g);
    if (auto* s = sdk::As<sdk::Attribs>(object)) return DropAttribs(s);
    if (auto* a = sdk::As<sdk::Account>(object)) return DropAccount(a);
    return false;  // containers and preference sets go with their account
}

std::vector<std::string> PeerIds() {
    const sdk::Account* account = sdk::CurrentAccountObj();
    if (!account) return {};
    std::vector<std::string> ids = account->friends;
    for (const auto& [id, group] : account->groups) ids.push_back(id);
    return ids;
}

}  // namespace sim
