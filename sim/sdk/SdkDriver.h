// Driver API of the stand-in messaging SDK: build accounts, buddies,
// groups, conversations and stored messages; act as the peer and the
// server (deliver, refuse, fail, hold, drop); observe what the SDK received.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sdk/pfx.h"
#include "sdk/qel.h"

namespace qel {
struct IQelInst;
}

namespace sim {

// ---- building a world ----

// A new account whose own user has `buddyId`, logged in, with an SDK
// instance registered on the host under `instanceName`; with
// `makeCurrent` it becomes the application's current instance.
qel_handle AddAccount(const std::string& buddyId, const std::u16string& instanceName = u"qel_inst",
                      bool makeCurrent = true);
qel_handle CurrentAccount();
qel::IQelInst* FindQelInst(const std::u16string& instanceName);
void SetLoggedIn(qel_handle account, bool loggedIn);
void SetDbMultithread(qel_handle account, bool enabled);

// Buddies of the current account; a friend is listed in category 1.
qel_handle AddBuddy(const std::string& id, const std::string& nickname = "", bool isFriend = true);
// A buddy group in category 2 and its members (role: "authority-role",
// -1 leaves it unset; 3 owner, 2 administrator).
qel_handle AddGroup(const std::string& id);
void AddGroupMember(const std::string& groupId, const std::string& buddyId, int role = -1);
// A non-zero code makes listing the group's members fail with it.
void SetGroupMembersError(const std::string& groupId, int code);
void SetMyGroupPermissions(const std::string& groupId, const std::vector<std::string>& permissions);
void SetMemberPermissions(const std::string& groupId, const std::string& buddyId,
                          const std::vector<std::string>& permissions);

// The conversation with a buddy ("im") or a group ("group"), made when
// missing; its server id is "svr-" + its id unless changed.
qel_handle OpenConversation(const std::string& peerId, bool isGroup = false);
void SetSvrConvId(qel_handle conv, const std::string& svrConvId);
void SetRecentMsgReady(qel_handle conv, bool ready);

struct StoredMsg {
    std::string sender;  // empty: the peer (a buddy chat) or the own user when `sent`
    bool sent = false;   // sent by the current user
    bool read = true;    // received messages only
    std::string contentType = "text/plain";
    std::string content;
    std::string summary;
    std::string extraInfo;
    uint32_t flags = 0;  // more QEL_MSG_FLAG_… bits
    uint64_t id = 0;     // 0: the next id
    uint64_t seq = 0;    // 0: the next sequence number
    int64_t time = 0;    // 0: now
    int type = 0;
    bool hasData = true;
};
qel_handle AddStoredMsg(qel_handle conv, const StoredMsg& msg);
// `count` received text messages "m1", "m2", … from the peer, oldest first.
std::vector<uint64_t> AddStoredMsgs(qel_handle conv, int count, bool read);
void SetMsgFlags(qel_handle msg, uint32_t set, uint32_t clear);

// Preferences of the current account.
void SetPrefInt(const std::string& key, int value);
void SetPrefStr(const std::string& key, const std::u16string& value);
void SetPrefArray(const std::string& key, const std::vector<std::u16string>& values);
// A preference of the current account as text (arrays joined by "|"); false when it is not set.
bool PrefAsText(const std::string& key, std::string& out);

// Custom smileys of the current account (the set exists once one is added).
qel_handle AddCustomSmiley(const std::string& key, const std::string& text);

// Client common library settings.
void SetHaveDraft(bool keep);
void SetSdkErrorText(int code, const std::u16string& text);
void SetSpecialProxyUser(const std::string& userId);
void SetAbnormalUser(const std::string& userId);
void SetHisShowNum(int count);
void SetRBACLimit(const std::string& key, int value);

// Chat window kinds that the application object knows. The four standard
// kinds are known after a reset: person (flags 0x41, category 1, "im"),
// group (0x41, 2, "group"), ad-hoc (0, 1, "adhoc") and e-mail (0, 1, "email").
void SetChatWndKind(const pfx::GUID& key, uint32_t flags, int cateType, bool hostFlag, const std::string& channel);
void RemoveChatWndKind(const pfx::GUID& key);

// ---- acting as the peer and the server ----

// Stores a received, unread message now; the sender defaults to the
// peer of a buddy chat.
qel_handle DeliverIncomingMsg(qel_handle conv, const std::string& content,
                              const std::string& contentType = "text/plain", const std::string& sender = "");
// The server changes an attribute of an object (its main set, or the named
// set `setName`): listeners hear it, but it is not one of the component's writes.
void ServerSetAttrib(qel_handle object, const std::string& key, int64_t value, const std::string& setName = "");
void ServerSetAttrib(qel_handle object, const std::string& key, const std::string& value,
                     const std::string& setName = "");
// Drops any SDK object with what it owns; its handles turn null.
bool DropObject(qel_handle object);

enum class SdkCall { Send, Upload, Recall, ConvInfo,
    EmailSend, EmailGet, EmailSeen, Adhoc, Collect, Stick, Unstick };
// The next request of that kind answers `code` at once (after `skip`
// more requests of that kind went through).
void RefuseNext(SdkCall call, int code, int skip = 0);
// The next accepted request of that kind completes with `code`; a failed
// send with `withMsgId` is stored as failed and its id reported.
void FailNext(SdkCall call, int code, bool withMsgId = false);
// Completions wait while held; releasing posts them in request order.
void HoldCompletions(bool hold);
void ReleaseCompletions();
size_t HeldCompletions();
// The key an upload of that cache name returns (default "key-" + name).
void SetUploadKey(const std::string& cacheName, const std::string& key);
// The next message stored as pending (qel_conversation_add_new_outgoing_msg)
// is kept, but reports the id 0, as when the SDK has not numbered it yet.
void StoreNextPendingWithoutId();
// ---- outcomes of several requests ----
// The next accepted requests of that kind complete with these codes in
// turn (0: they go), before any FailNext.
void PlanOutcomes(SdkCall call, const std::vector<int>& codes);
// Posts one held completion (0: the oldest) ahead of the others.
void ReleaseCompletion(size_t index);
// ---- end of outcomes of several requests ----

// ---- observing ----

struct SdkRequest {
    std::string kind;  // "send", "send_ext", "upload", "recall", "conv_info", "partner_read_cursor",
                       // "receipt_summary", "load_recent", "remove_msg", "reminder", "svr_conv_id", "join"
    std::string convId;
    int flags = 0;     // send flags, load mode, reminder type
    std::string contentType, contentAt, content, summary, extraInfo, clientTag;
    std::string fileType, cacheName, localPath;
    std::string value;   // reminder value, conv_info server id, receipt_summary message ids ("1,2")
    uint64_t msgId = 0;  // the message concerned (recall, re-send, removal)
    int result = 0;      // what the call answered at once
    bool stored = false;  // sends: the completion came and the SDK keeps the message as sent
};
const std::vector<SdkRequest>& SdkRequests();
std::vector<SdkRequest> SdkRequestsOf(const std::string& kind);

struct SdkMark {
    std::string kind;  // "set_readed_ex", "set_acked_ex", "request_msg_readed", "request_readed",
                       // "readed_and_acked_ex", "msg_readed_and_acked_ex"
    std::string convId;
    uint64_t msgId = 0;
    std::string reason;
};
const std::vector<SdkMark>& SdkMarks();

struct AttribWrite {
    std::string owner;  // "conversation:im:bob", "buddy:bob", "group:g1", "account:me", "member:g1/bob"
    std::string path;   // the set: "" main, "ext", "ext/draft/0-0"
    std::string key, value;
    int mode = 0;
};
const std::vector<AttribWrite>& AttribWrites();

struct PrefWrite {
    std::string account, key, value;
};
const std::vector<PrefWrite>& PrefWrites();
int PrefSaveCount();
// Every preference as text ("a|b" for arrays) at the last save.
const std::map<std::string, std::string>& LastSavedPrefs();
// Extra information written to messages: (message id, value).
const std::vector<std::pair<uint64_t, std::string>>& ExtraInfoWrites();

// ---- reading: cursors, receipts, group tops, last logins, birthdays ----

// The protocol an SDK instance reports (by default "prpl-kiv-vt").
void SetInstanceProtocol(const std::u16string& instanceName, const std::string& protocol);
// The partner has read up to the sequence number `seq` at `time`: the
// server pushes "partner-read-cursor_time" and "partner-read-cursor".
void ServerSetPartnerReadCursor(qel_handle conv, int64_t seq, int64_t time);
// `count` recipients have not read the receipt message: the server writes
// it into the message's extra information ("unreadnum") and pushes
// "receipt-unread-msgid" as "<sequence number>-<count>". Receipt summary
// requests are answered with these counts. A message sent with a
// "receiptto" member in its extra information is a receipt message.
void ServerSetReceiptUnread(qel_handle msg, int count);
// Group tops: whether the client offers them at all, whether the account's
// group-top service is there, sticking a message (it becomes unseen), and
// the service's requests ("read:<id>", "cancel:<id>"); a failed request
// completes with the code.
void SetGrpTopOffered(bool offered);
void SetGrpTopServiceAvailable(bool available);
void ServerStickGrpTop(qel_handle msg, bool stuck);
void FailNextGrpTopRequest(int code);
const std::vector<std::string>& GrpTopRequests();
// The buddy's "last-login-interval" (seconds) and "birthday-in-days"
// (a birthday 0 to 3 days ahead is reminded of), as the server pushes them.
void SetLastLoginInterval(const std::string& buddyId, int64_t seconds);
void SetBirthdayInDays(const std::string& buddyId, int days);

}  // namespace sim

// ---- member names, search and mentions ----
namespace sim {

// How a name is spelt in Latin letters (a name without an entry is its own spelling).
void SetLatinSpelling(const std::u16string& name, const std::u16string& latin);
// The member's own name in the group (its "note" there).
void SetMemberNote(const std::string& groupId, const std::string& buddyId, const std::string& note);
// Whether the client shows user ids beside names (it does after a reset).
void SetShowUserId(bool show);
// The user-information service: offered or not, and the extra text of a user.
void SetUserInfoService(bool offered);
void SetUserExtraText(const std::string& userId, const std::u16string& text);
// An organisation's own group: found in the buddy category (1), not among groups.
qel_handle AddOrgGroup(const std::string& id);
// The kind number of a chat window type (0 after a reset).
void SetChatWndKindNum(const pfx::GUID& key, int kind);
// Member searches the host answered, and those it started: each is one
// (keyword, number of records) pair in the order answered.
struct MemberSearch {
    std::u16string keyword;
    int records = 0;
};
const std::vector<MemberSearch>& MemberSearches();
// How many times the search built its index of a group's members.
int MemberIndexBuilds();
// ---- operations on shown messages ----
// Recall, collect, stick and unstick requests are "recall", "collect"
// (value: the source key), "stick" and "unstick" (msgId: the message).

// The business type of a stored message ("bonus", "notice", …).
void SetMsgBiz(qel_handle msg, const std::string& biz);
// Sent messages of this content type are stuck to a group's top at once.
void SetGrpAutoTopContentType(const std::string& contentType);
// Whether the account's bus offers the important-message service (default true).
void SetImportantMsgServiceOffered(bool offered);
// The server recalled a stored message, by a member ("" its sender).
void RecallStoredMsg(qel_handle msg, const std::string& byMember);
// The member who recalled a message; "" when nobody did.
std::string RecallerOf(qel_handle msg);
// Favourites the account holds, in the order they were added.
struct Favorite {
    std::string convId;
    uint64_t msgId = 0;
    std::string sourceKey;
};
const std::vector<Favorite>& Favorites();

// The current account's friends in the order added, then its groups by
// id: the peers a chat can be opened with (empty without an account).
std::vector<std::string> PeerIds();

}  // namespace sim
