// The stand-in SDK's objects. Every object the component sees is a
// qel_object owned by the world; the component only ever holds handles.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "sdk/msg_services.h"
#include "sdk/qel.h"
#include "sdk/qel_account.h"
#include "sdk/qel_msg.h"
#include "sim/sdk/SdkDriver.h"

namespace qel {
struct IQelInst;
}

namespace sim::sdk {
struct Attribs;
}

struct qel_object {
    enum class Kind { Account, Prefs, Buddies, Category, Buddy, BuddyGroup, Conversations, Conversation, Message,
                      Attribs, Smileys, Smiley };

    explicit qel_object(Kind k) : kind(k) {}
    virtual ~qel_object();
    qel_object(const qel_object&) = delete;
    qel_object& operator=(const qel_object&) = delete;

    // The main set ("") or a named one, made on first use.
    sim::sdk::Attribs* AttribSet(const std::string& name);

    const Kind kind;
    uint64_t weakRef = 0;
    std::map<std::string, std::unique_ptr<sim::sdk::Attribs>> attribSets;
};

namespace sim::sdk {

struct Account;
struct Conversation;

// A weak reference for any object, made on first request.
uint64_t WeakRef(qel_object* object);
qel_object* FromWeakRef(uint64_t ref);

using AttribValue = std::variant<int64_t, std::string>;

struct Attribs final : qel_object {
    Attribs(qel_object* root, Attribs* parent, std::string name)
        : qel_object(Kind::Attribs), root(root), parent(parent), name(std::move(name)) {}
    qel_object* root;  // the object whose attribute set this is (through its parents)
    Attribs* parent;   // null for a top-level set
    std::string name;
    std::map<std::string, AttribValue> values;
    std::vector<std::unique_ptr<Attribs>> children;
    std::string textOut;  // the last integer that get_str turned into text
};

using PrefValue = std::variant<int64_t, std::u16string, std::vector<std::u16string>>;

struct Prefs final : qel_object {
    explicit Prefs(Account* a) : qel_object(Kind::Prefs), account(a) {}
    Account* account;
    std::map<std::string, PrefValue> values;
    std::vector<const char16_t*> arrayOut;
};

struct Buddy final : qel_object {
    Buddy(Account* a, std::string id) : qel_object(Kind::Buddy), account(a), id(std::move(id)) {}
    Account* account;
    std::string id;
};

struct Member {
    std::string buddyId;
    std::unique_ptr<Attribs> attribs;
};

struct BuddyGroup final : qel_object {
    BuddyGroup(Account* a, std::string id) : qel_object(Kind::BuddyGroup), account(a), id(std::move(id)) {}
    Account* account;
    std::string id;
    std::vector<Member> members;
    int membersError = 0;  // non-zero: the member list cannot be read
    std::set<std::string> myPermissions;
    std::unordered_map<std::string, size_t> memberIndex;  // buddy id to its place in `members`
    bool organisation = false;                   // listed in category 1, not 2
    Member* FindMember(const std::string& buddyId);
    Member& AddMember(const std::string& buddyId);
};

struct Category final : qel_object {
    Category(Account* a, int t) : qel_object(Kind::Category), account(a), type(t) {}
    Account* account;
    int type;
};

struct Buddies final : qel_object {
    explicit Buddies(Account* a) : qel_object(Kind::Buddies), account(a) {}
    Account* account;
};

struct Conversations final : qel_object {
    explicit Conversations(Account* a) : qel_object(Kind::Conversations), account(a) {}
    Account* account;
};

struct Message final : qel_object {
    explicit Message(Conversation* c) : qel_object(Kind::Message), conv(c) {}
    Conversation* conv;
    uint64_t id = 0;
    uint64_t seq = 0;
    uint32_t flags = 0;
    bool hasData = true;
    bool reportsNoId = false;  // qel_msg_get_id answers 0
    int64_t time = 0;
    int type = 0;
    std::string sender, contentType, content, summary, extraInfo, clientTag;
    _QelMsgData data{};
    // Points the data record at the strings again after a change.
    void SyncData();
};

struct Conversation final : qel_object {
    Conversation(Account* a, std::string id) : qel_object(Kind::Conversation), account(a), id(std::move(id)) {}
    Account* account;
    std::string id;
    std::string channel;
    std::string peerId;
    bool peerIsGroup = false;
    std::string svrConvId;
    bool recentReady = true;
    uint64_t nextSeq = 1;
    uint64_t ackedUpTo = 0;
    std::map<uint64_t, std::unique_ptr<Message>> msgs;  // by id
    std::map<uint64_t, Message*> bySeq;
    std::set<uint64_t> unread;  // ids of received messages not read yet

    Message* Find(uint64_t msgId);
    Message* Add(std::unique_ptr<Message> msg);
    void Remove(uint64_t msgId);
    void MarkRead(uint64_t upToId, bool acked);
};

struct Smiley final : qel_object {
    Smiley() : qel_object(Kind::Smiley) {}
    std::string key, text, time;
    QelSmileyInfo info{};
};

struct Smileys final : qel_object {
    Smileys() : qel_object(Kind::Smileys) {}
    std::map<std::string, std::unique_ptr<Smiley>> byKey;
};

struct Account final : qel_object {
    explicit Account(std::string buddyId);
    std::string buddyId;
    bool loggedIn = true;
    bool dbMultithread = false;
    std::unique_ptr<Prefs> prefs;
    std::unique_ptr<Buddies> buddies;
    std::unique_ptr<Category> friendsCate, groupsCate;
    // Hashed: a group of thousands looks its members up one by one.
    std::unordered_map<std::string, std::unique_ptr<Buddy>> allBuddies;
    std::vector<std::string> friends;  // category 1, in order
    std::map<std::string, std::unique_ptr<BuddyGroup>> groups;
    std::unique_ptr<Conversations> conversations;
    std::map<std::string, std::unique_ptr<Conversation>> convs;
    std::unique_ptr<Smileys> smileys;

    Buddy* FindBuddy(const std::string& id);
    BuddyGroup* FindGroup(const std::string& id);
    Conversation* FindConv(const std::string& id);
    // The peer's conversation on a channel, made when asked to.
    Conversation* PeerConversation(const std::string& peerId, bool isGroup, const std::string& channel, bool create);
};

// Typed views of handles: null when the handle is null or of another kind.
template <class T>
T* As(qel_handle h) {
    return dynamic_cast<T*>(h);
}
Account* AccountOf(qel_handle h);
Attribs* AttribsOf(qel_handle h);  // an attribute set, or the object's main set

// The current account (of the current SDK instance); null when none.
Account* CurrentAccountObj();
// An SDK instance serving the account, registered on the host by name.
qel::IQelInst* AddInstance(const std::u16string& name, Account* account);
// Every account, for the driver.
std::vector<std::unique_ptr<Account>>& Accounts();
uint64_t NextMsgId();
// Whether the next pending message reports no id (and forgets the wish).
bool TakePendingWithoutId();

// Stores an outgoing message of the own user from the caller's data.
Message* StoreOutgoing(Conversation& conv, const _QelMsgData& data, uint32_t flags, uint64_t id);
// Who owns an attribute set, and where it sits, as the driver reports it.
std::string DescribeOwner(const Attribs& set);
std::string AttribPath(const Attribs& set);

// Observations (Observe.cpp).
void RecordRequest(const sim::SdkRequest& request);
// Notes on the request recorded `index`-th that its message was stored as sent.
void RecordStored(size_t index);
void RecordMark(const char* kind, const std::string& convId, uint64_t msgId, const char* reason);
void RecordPrefWrite(const std::string& account, const char* key, const std::string& value);
void RecordPrefSave(const Prefs& prefs, int flags);
void RecordExtraInfoWrite(const std::string& convId, uint64_t msgId, const std::string& value);
// While one lives, attribute writes are the server's and not recorded.
struct ServerWrite {
    ServerWrite();
    ~ServerWrite();
};
void RecordAttribWrite(const Attribs& set, const char* key, const AttribValue& value, int mode);

// Signals (Signals.cpp): an attribute of `set` changed.
void NotifyAttribChanged(Attribs* set, const std::string& key);

// Reading (ReadState.cpp): group-top messages the user has seen or
// dismissed, receipts asked for in the extra information, the server's
// answer to a receipt summary request (messages by weak ref), and the
// group-top service of an account (null while the driver withholds it).
bool IsGrpTopDone(const Message& msg);
bool ExtraAsksReceipt(const std::string& extraInfo);
void AnswerReceiptSummary(const std::vector<uint64_t>& msgRefs);
}  // namespace sim::sdk
struct IQelGrpTopService;
namespace sim::sdk {
IQelGrpTopService* GrpTopServiceOf(qel_handle account);

// Where the UTF-16 texts the SDK hands out live (one slot per caller).
const char16_t* KeepText(std::u16string& slot, std::u16string text);

// Requests.cpp's admission of a request (refusals, login) and its
// completion (held or posted), for the requests of other files.
int AdmitRequest(Conversation* conv, SdkCall call);
std::optional<int> TakeFailureCode(SdkCall call);
void CompleteLater(std::function<void()> completion);
// The important-message part of the account's bus (MsgOps.cpp); null when switched off.
IImportantMsgService* ImportantMsgServiceOf(qel_handle account);

}  // namespace sim::sdk

namespace sim {
// How a name is spelt in Latin letters (Names.cpp).
std::u16string LatinSpelling(const std::u16string& name);
}  // namespace sim
