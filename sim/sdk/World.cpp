// The stand-in SDK's world: accounts and everything they hold, weak
// references, and the attribute sets of every object.
#include "sim/sdk/World.h"

#include <cstdlib>
#include <unordered_map>

#include "sdk/qel_attribs.h"
#include "sdk/qel_conversation.h"
#include "sim/core/Reset.h"

namespace sim::sdk {

namespace {

struct WorldState {
    std::unordered_map<uint64_t, qel_object*> weak;
    std::vector<std::unique_ptr<Account>> accounts;
    uint64_t nextMsgId = 1000;
};

// Never destroyed: objects that die at exit must still find the map.
WorldState& State() {
    static WorldState& state = *new WorldState;
    return state;
}

uint64_t g_nextWeakRef = 1;  // never reused, also across resets

const bool kRegistered = RegisterReset([] {
    WorldState old = std::move(State());
    State() = WorldState{};
});

}  // namespace

uint64_t WeakRef(qel_object* object) {
    if (!object) return 0;
    if (object->weakRef == 0) {
        object->weakRef = g_nextWeakRef++;
        State().weak[object->weakRef] = object;
    }
    return object->weakRef;
}

qel_object* FromWeakRef(uint64_t ref) {
    auto it = State().weak.find(ref);
    return it == State().weak.end() ? nullptr : it->second;
}

std::vector<std::unique_ptr<Account>>& Accounts() { return State().accounts; }
uint64_t NextMsgId() { return State().nextMsgId++; }

Account* AccountOf(qel_handle h) { return As<Account>(h); }

Attribs* AttribsOf(qel_handle h) {
    if (!h) return nullptr;
    if (auto* set = As<Attribs>(h)) return set;
    return h->AttribSet("");
}

const char16_t* KeepText(std::u16string& slot, std::u16string text) {
    slot = std::move(text);
    return slot.c_str();
}

// Large groups are looked up member by member; the index keeps that cheap.
Member* BuddyGroup::FindMember(const std::string& buddyId) {
    auto it = memberIndex.find(buddyId);
    return it == memberIndex.end() ? nullptr : &members[it->second];
}

Member& BuddyGroup::AddMember(const std::string& buddyId) {
    if (Member* m = FindMember(buddyId)) return *m;
    memberIndex[buddyId] = members.size();
    members.push_back({buddyId, std::make_unique<Attribs>(this, nullptr, "member")});
    return members.back();
}

std::string DescribeOwner(const Attribs& set) {
    const qel_object* root = set.root;
    if (auto* c = dynamic_cast<const Conversation*>(root)) return "conversation:" + c->id;
    if (auto* b = dynamic_cast<const Buddy*>(root)) return "buddy:" + b->id;
    if (auto* g = dynamic_cast<const BuddyGroup*>(root)) {
        for (const Member& m : g->members) {
            if (m.attribs.get() == &set) return "member:" + g->id + "/" + m.buddyId;
        }
        return "group:" + g->id;
    }
    if (auto* a = dynamic_cast<const Account*>(root)) return "account:" + a->buddyId;
    if (auto* m = dynamic_cast<const Message*>(root)) return "message:" + std::to_string(m->id);
    return "object";
}

std::string AttribPath(const Attribs& set) {
    return set.parent ? AttribPath(*set.parent) + "/" + set.name : set.name;
}

Account::Account(std::string id)
    : qel_object(Kind::Account),
      buddyId(std::move(id)),
      prefs(std::make_unique<Prefs>(this)),
      buddies(std::make_unique<Buddies>(this)),
      friendsCate(std::make_unique<Category>(this, QEL_CATE_BUDDY)),
      groupsCate(std::make_unique<Category>(this, QEL_CATE_GROUP)),
      conversations(std::make_unique<Conversations>(this)) {}

Buddy* Account::FindBuddy(const std::string& id) {
    auto it = allBuddies.find(id);
    return it == allBuddies.end() ? nullptr : it->second.get();
}

BuddyGroup* Account::FindGroup(const std::string& id) {
    auto it = groups.find(id);
    return it == groups.end() ? nullptr : it->second.get();
}

Conversation* Account::FindConv(const std::string& id) {
    auto it = convs.find(id);
    return it == convs.end() ? nullptr : it->second.get();
}

Conversation* Account::PeerConversation(const std::string& peerId, bool isGroup, const std::string& channel,
                                        bool create) {
    for (auto& [id, conv] : convs) {
        if (conv->peerId == peerId && conv->peerIsGroup == isGroup && conv->channel == channel) return conv.get();
    }
    if (!create) return nullptr;
    const std::string id = channel + ":" + peerId;
    auto conv = std::make_unique<Conversation>(this, id);
    conv->channel = channel;
    conv->peerId = peerId;
    conv->peerIsGroup = isGroup;
    conv->svrConvId = "svr-" + id;
    Conversation* raw = conv.get();
    convs[id] = std::move(conv);
    return raw;
}


}  // namespace sim::sdk

using namespace sim::sdk;

qel_object::~qel_object() {
    if (weakRef == 0) return;
    auto& weak = State().weak;
    auto it = weak.find(weakRef);
    if (it != weak.end() && it->second == this) weak.erase(it);
}

Attribs* qel_object::AttribSet(const std::string& name) {
    auto& slot = attribSets[name];
    if (!slot) slot = std::make_unique<Attribs>(this, nullptr, name);
    return slot.get();
}

// ---- weak references and attribute sets ----

namespace {

const AttribValue* FindValue(Attribs* set, const char* key) {
    if (!set || !key) return nullptr;
    auto it = set->values.find(key);
    return it == set->values.end() ? nullptr : &it->second;
}

bool ToInt64(const AttribValue& v, int64_t& out) {
    if (auto* i = std::get_if<int64_t>(&v)) {
        out = *i;
        return true;
    }
    const std::string& s = std::get<std::string>(v);
    if (s.empty()) return false;
    char* end = nullptr;
    const long long parsed = std::strtoll(s.c_str(), &end, 10);
    if (end == s.c_str()) return false;
    out = parsed;
    return true;
}

void Store(qel_handle h, const char* key, AttribValue value, int mode) {
    Attribs* set = AttribsOf(h);
    if (!set || !key) return;
    RecordAttribWrite(*set, key, value, mode);
    auto it = set->values.find(key);
    if (it != set->values.end() && it->second == value) return;
    set->values[key] = std::move(value);
    NotifyAttribChanged(set, key);
}

}  // namespace

extern "C" {

uint64_t qel_object_weak_ref(qel_handle object) { return WeakRef(object); }
qel_handle qel_object_from_weak_ref(uint64_t ref) { return FromWeakRef(ref); }

qel_handle qel_object_get_attribs(qel_handle object, const char* name) {
    if (!object) return nullptr;
    return object->AttribSet(name ? name : "");
}

int qel_attribs_get_int(qel_handle attribs, const char* key, int defaultValue) {
    return int(qel_attribs_get_int64(attribs, key, defaultValue));
}

int64_t qel_attribs_get_int64(qel_handle attribs, const char* key, int64_t defaultValue) {
    const AttribValue* v = FindValue(AttribsOf(attribs), key);
    int64_t out = 0;
    return v && ToInt64(*v, out) ? out : defaultValue;
}

const char* qel_attribs_get_str(qel_handle attribs, const char* key, const char* defaultValue) {
    Attribs* set = AttribsOf(attribs);
    const AttribValue* v = FindValue(set, key);
    if (!v) return defaultValue;
    if (auto* s = std::get_if<std::string>(v)) return s->c_str();
    set->textOut = std::to_string(std::get<int64_t>(*v));
    return set->textOut.c_str();
}

bool qel_attribs_has(qel_handle attribs, const char* key) { return FindValue(AttribsOf(attribs), key) != nullptr; }

void qel_attribs_set_int(qel_handle attribs, const char* key, int value, int mode) {
    Store(attribs, key, int64_t(value), mode);
}
void qel_attribs_set_int64(qel_handle attribs, const char* key, int64_t value, int mode) {
    Store(attribs, key, value, mode);
}
void qel_attribs_set_str(qel_handle attribs, const char* key, const char* value, int mode) {
    Store(attribs, key, std::string(value ? value : ""), mode);
}

qel_handle qel_attribs_add_child(qel_handle attribs, const char* name, int) {
    Attribs* set = AttribsOf(attribs);
    if (!set || !name) return nullptr;
    if (qel_handle existing = qel_attribs_find_child(set, name)) return existing;
    set->children.push_back(std::make_unique<Attribs>(set->root, set, name));
    return set->children.back().get();
}

qel_handle qel_attribs_find_child(qel_handle attribs, const char* name) {
    Attribs* set = AttribsOf(attribs);
    if (!set || !name) return nullptr;
    for (auto& child : set->children) {
        if (child->name == name) return child.get();
    }
    return nullptr;
}

const char* qel_attribs_get_name(qel_handle attribs) {
    Attribs* set = As<Attribs>(attribs);
    return set ? set->name.c_str() : "";
}

int qel_attribs_get_all_childs(qel_handle attribs, qel_handle** list, int* count) {
    if (list) *list = nullptr;
    if (count) *count = 0;
    Attribs* set = AttribsOf(attribs);
    if (!set || !list || !count) return QEL_ERR_INVALID_ARG;
    *list = new qel_handle[set->children.size() + 1];
    for (size_t i = 0; i < set->children.size(); ++i) (*list)[i] = set->children[i].get();
    *count = int(set->children.size());
    return 0;
}

void qel_attribs_remove_childs(qel_handle attribs) {
    Attribs* set = AttribsOf(attribs);
    if (!set) return;
    auto old = std::move(set->children);
    set->children.clear();
}

void qel_release_handle_array(qel_handle* list) { delete[] list; }

}  // extern "C"
