// Conversations and their messages: lookups by id and sequence number,
// newest-first page reads over an ordered store, read and acknowledge
// marks, local outgoing records.
#include "sdk/qel_attribs.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_ext_api.h"
#include "sim/core/Loop.h"
#include "sim/sdk/SdkDriver.h"
#include "sim/sdk/World.h"

using namespace sim::sdk;

namespace sim::sdk {

void Message::SyncData() {
    data = _QelMsgData{};
    data.time = time;
    data.extra_info = extraInfo.empty() ? nullptr : extraInfo.c_str();
    data.client_tag = clientTag.empty() ? nullptr : clientTag.c_str();
    data.content_type = contentType.c_str();
    data.content = content.c_str();
    data.summary = summary.c_str();
    data.sender_id = sender.c_str();
    data.conv_msg_id = seq;
    data.type = type;
}

Message* Conversation::Find(uint64_t msgId) {
    auto it = msgs.find(msgId);
    return it == msgs.end() ? nullptr : it->second.get();
}

Message* Conversation::Add(std::unique_ptr<Message> msg) {
    if (msg->id == 0) msg->id = NextMsgId();
    Remove(msg->id);
    if (msg->seq == 0) msg->seq = nextSeq;
    if (msg->seq >= nextSeq) nextSeq = msg->seq + 1;
    const bool received = (msg->flags & QEL_MSG_FLAG_SENT) == 0;
    if (received && (msg->flags & QEL_MSG_FLAG_READ) == 0) unread.insert(msg->id);
    msg->flags &= ~(QEL_MSG_FLAG_READ | QEL_MSG_FLAG_ACKED);  // kept by the conversation
    msg->SyncData();
    Message* raw = msg.get();
    bySeq[raw->seq] = raw;
    msgs[raw->id] = std::move(msg);
    return raw;
}

void Conversation::Remove(uint64_t msgId) {
    auto it = msgs.find(msgId);
    if (it == msgs.end()) return;
    auto seqIt = bySeq.find(it->second->seq);
    if (seqIt != bySeq.end() && seqIt->second == it->second.get()) bySeq.erase(seqIt);
    unread.erase(msgId);
    auto old = std::move(it->second);
    msgs.erase(it);
}

void Conversation::MarkRead(uint64_t upToId, bool acked) {
    const uint64_t limit = upToId == 0 ? UINT64_MAX : upToId;
    unread.erase(unread.begin(), unread.upper_bound(limit));
    if (acked && limit > ackedUpTo) ackedUpTo = limit;
}

}  // namespace sim::sdk

namespace {

Conversation* ConvOf(qel_handle h) { return As<Conversation>(h); }

const qel_handle kStop = reinterpret_cast<qel_handle>(-1);

// Fills a new array walking from `newest` towards older entries; `pick`
// answers the handle to list, null to skip the entry, or kStop to end.
template <class It, class Pick>
int FillNewestFirst(It newest, It end, int limit, qel_handle** list, int* count, Pick pick) {
    std::vector<qel_handle> out;
    for (It it = newest; it != end && int(out.size()) < limit; ++it) {
        qel_handle h = pick(*it);
        if (h == kStop) break;
        if (h) out.push_back(h);
    }
    *list = new qel_handle[out.size() + 1];
    std::copy(out.begin(), out.end(), *list);
    *count = int(out.size());
    return 0;
}

bool ClearOut(qel_handle** list, int* count) {
    if (list) *list = nullptr;
    if (count) *count = 0;
    return list && count;
}

}  // namespace

extern "C" {

const char* qel_conversation_get_id(qel_handle conv) {
    Conversation* c = ConvOf(conv);
    return c ? c->id.c_str() : "";
}

const char* qel_conversation_get_channel_id(qel_handle conv) {
    Conversation* c = ConvOf(conv);
    return c ? c->channel.c_str() : "";
}

qel_handle qel_conversation_get_account(qel_handle conv) {
    Conversation* c = ConvOf(conv);
    return c ? c->account : nullptr;
}

qel_handle qel_conversation_get_buddy(qel_handle conv) {
    Conversation* c = ConvOf(conv);
    return c && !c->peerIsGroup ? c->account->FindBuddy(c->peerId) : nullptr;
}

qel_handle qel_conversation_get_buddy_group(qel_handle conv) {
    Conversation* c = ConvOf(conv);
    return c && c->peerIsGroup ? c->account->FindGroup(c->peerId) : nullptr;
}

qel_handle qel_account_conversations(qel_handle account) {
    Account* a = AccountOf(account);
    return a ? a->conversations.get() : nullptr;
}

qel_handle qel_conversations_find_conversation(qel_handle conversations, const char* convId) {
    auto* cs = As<Conversations>(conversations);
    return cs && convId ? cs->account->FindConv(convId) : nullptr;
}

int qel_conversations_request_join_conversation(qel_handle conversations, const char* convId) {
    auto* cs = As<Conversations>(conversations);
    sim::SdkRequest request;
    request.kind = "join";
    request.convId = convId ? convId : "";
    request.result = cs && !request.convId.empty() ? QEL_OK : QEL_ERR_INVALID_ARG;
    RecordRequest(request);
    return request.result;
}

qel_handle qel_conversation_find_msg(qel_handle conv, uint64_t msgId) {
    Conversation* c = ConvOf(conv);
    return c ? c->Find(msgId) : nullptr;
}

qel_handle qel_conversation_find_msg_from_conv_msg_id(qel_handle conv, uint64_t convMsgId) {
    Conversation* c = ConvOf(conv);
    if (!c) return nullptr;
    auto it = c->bySeq.find(convMsgId);
    return it == c->bySeq.end() ? nullptr : it->second;
}

int qel_conversation_get_page_record(qel_handle conv, uint64_t beginId, uint64_t endId, int, int limit, int,
                                     qel_handle** list, int* count, int) {
    if (!ClearOut(list, count)) return QEL_ERR_INVALID_ARG;
    Conversation* c = ConvOf(conv);
    if (!c) return QEL_ERR_INVALID_ARG;
    if (beginId > endId) limit = 0;
    auto newest = std::make_reverse_iterator(c->msgs.upper_bound(endId));
    return FillNewestFirst(newest, c->msgs.rend(), limit, list, count, [beginId](auto& entry) -> qel_handle {
        return entry.first < beginId ? kStop : entry.second.get();
    });
}

int qel_conversation_get_grptop_page_record(qel_handle conv, int page, int pageSize, qel_handle** list, int* count) {
    if (!ClearOut(list, count)) return QEL_ERR_INVALID_ARG;
    Conversation* c = ConvOf(conv);
    if (!c || page < 1 || pageSize < 1) return QEL_ERR_INVALID_ARG;
    int skip = (page - 1) * pageSize;
    return FillNewestFirst(c->msgs.rbegin(), c->msgs.rend(), pageSize, list, count, [&skip](auto& entry) -> qel_handle {
        if ((entry.second->flags & QEL_MSG_FLAG_GRP_TOP) == 0 || IsGrpTopDone(*entry.second)) return nullptr;
        return skip-- > 0 ? nullptr : entry.second.get();
    });
}

void qel_conversation_set_readed_ex(qel_handle conv, uint64_t msgId, const char* reason) {
    Conversation* c = ConvOf(conv);
    if (!c) return;
    c->MarkRead(msgId, false);
    RecordMark("set_readed_ex", c->id, msgId, reason);
}

void qel_conversation_set_acked_ex(qel_handle conv, uint64_t msgId, const char* reason) {
    Conversation* c = ConvOf(conv);
    if (!c) return;
    const uint64_t limit = msgId == 0 ? UINT64_MAX : msgId;
    if (limit > c->ackedUpTo) c->ackedUpTo = limit;
    RecordMark("set_acked_ex", c->id, msgId, reason);
}

bool qel_conversation_is_recent_msg_ready(qel_handle conv) {
    Conversation* c = ConvOf(conv);
    return c && c->recentReady;
}

int qel_conversation_request_load_recent_msg(qel_handle conv, int mode) {
    Conversation* c = ConvOf(conv);
    if (!c) return QEL_ERR_INVALID_ARG;
    sim::SdkRequest request;
    request.kind = "load_recent";
    request.convId = c->id;
    request.flags = mode;
    RecordRequest(request);
    const uint64_t ref = WeakRef(c);
    sim::Post([ref] {
        Conversation* loaded = As<Conversation>(FromWeakRef(ref));
        if (!loaded) return;
        loaded->recentReady = true;
        ServerWrite server;
        const int64_t generation = qel_attribs_get_int64(loaded, "recent-msg-loaded", 0);
        qel_attribs_set_int64(loaded, "recent-msg-loaded", generation + 1, 0);
    });
    return 0;
}

qel_handle qel_conversation_add_new_outgoing_msg(qel_handle conv, const _QelMsgData* data) {
    Conversation* c = ConvOf(conv);
    if (!c || !data) return nullptr;
    Message* stored = StoreOutgoing(*c, *data, QEL_MSG_FLAG_SENT | QEL_MSG_FLAG_LOCAL, 0);
    stored->reportsNoId = TakePendingWithoutId();
    return stored;
}

qel_handle qel_conversation_add_send_fail_msg(qel_handle conv, const _QelMsgData* data) {
    Conversation* c = ConvOf(conv);
    if (!c || !data) return nullptr;
    return StoreOutgoing(*c, *data, QEL_MSG_FLAG_SENT | QEL_MSG_FLAG_LOCAL | QEL_MSG_FLAG_SEND_FAIL, 0);
}

int qel_conversation_remove_record_and_msg(qel_handle conv, uint64_t msgId) {
    Conversation* c = ConvOf(conv);
    if (!c) return QEL_ERR_INVALID_ARG;
    sim::SdkRequest request;
    request.kind = "remove_msg";
    request.convId = c->id;
    request.msgId = msgId;
    request.result = c->Find(msgId) ? 0 : QEL_ERR_MSG_NOT_FOUND;
    RecordRequest(request);
    c->Remove(msgId);
    return request.result;
}

int qel_conversation_request_partner_read_cursor(qel_handle conv) {
    Conversation* c = ConvOf(conv);
    if (!c) return QEL_ERR_INVALID_ARG;
    sim::SdkRequest request;
    request.kind = "partner_read_cursor";
    request.convId = c->id;
    RecordRequest(request);
    return 0;
}

int qel_conversation_request_receipt_summary(qel_handle conv, const qel_handle* msgs, int count, int, int) {
    Conversation* c = ConvOf(conv);
    if (!c || (count > 0 && !msgs)) return QEL_ERR_INVALID_ARG;
    sim::SdkRequest request;
    request.kind = "receipt_summary";
    request.convId = c->id;
    std::vector<uint64_t> refs;
    for (int i = 0; i < count; ++i) {
        if (!request.value.empty()) request.value += ",";
        request.value += std::to_string(qel_msg_get_id(msgs[i]));
        if (msgs[i]) refs.push_back(WeakRef(msgs[i]));
    }
    RecordRequest(request);
    AnswerReceiptSummary(refs);
    return 0;
}

// ---- messages ----

uint64_t qel_msg_get_id(qel_handle msg) {
    Message* m = As<Message>(msg);
    return m && !m->reportsNoId ? m->id : 0;
}

uint64_t qel_msg_get_conv_msg_id(qel_handle msg) {
    Message* m = As<Message>(msg);
    return m ? m->seq : 0;
}

uint32_t qel_msg_get_flag(qel_handle msg) {
    Message* m = As<Message>(msg);
    if (!m) return 0;
    uint32_t flags = m->flags;
    const bool received = (flags & QEL_MSG_FLAG_SENT) == 0;
    if (!received || m->conv->unread.count(m->id) == 0) flags |= QEL_MSG_FLAG_READ;
    if (m->id <= m->conv->ackedUpTo) flags |= QEL_MSG_FLAG_ACKED;
    return flags;
}

const _QelMsgData* qel_msg_get_data(qel_handle msg) {
    Message* m = As<Message>(msg);
    return m && m->hasData ? &m->data : nullptr;
}

qel_handle qel_msg_get_conversation(qel_handle msg) {
    Message* m = As<Message>(msg);
    return m ? m->conv : nullptr;
}

void qel_msg_set_extra_info(qel_handle msg, const char* extraInfo) {
    Message* m = As<Message>(msg);
    if (!m) return;
    m->extraInfo = extraInfo ? extraInfo : "";
    m->SyncData();
    RecordExtraInfoWrite(m->conv->id, m->id, m->extraInfo);
}

bool qel_msg_is_important(qel_handle msg) { return (qel_msg_get_flag(msg) & QEL_MSG_FLAG_IMPORTANT) != 0; }
bool qel_msg_is_important_confirm(qel_handle msg) {
    return (qel_msg_get_flag(msg) & QEL_MSG_FLAG_IMPORTANT_CONFIRM) != 0;
}
bool qel_msg_is_grp_top(qel_handle msg) { return (qel_msg_get_flag(msg) & QEL_MSG_FLAG_GRP_TOP) != 0; }

}  // extern "C"

// ---- the extension library's message and page shortcuts ----

namespace qel_ext {

int QelConvGetUnreadPageRecord(qel_handle conv, uint64_t afterId, int limit, qel_handle** list, int* count, bool) {
    if (!ClearOut(list, count)) return QEL_ERR_INVALID_ARG;
    Conversation* c = ConvOf(conv);
    if (!c) return QEL_ERR_INVALID_ARG;
    return FillNewestFirst(c->unread.rbegin(), c->unread.rend(), limit, list, count,
                           [c, afterId](uint64_t id) -> qel_handle { return id <= afterId ? kStop : c->Find(id); });
}

int QelConvGetReadPageRecord(qel_handle conv, uint64_t beforeId, int limit, qel_handle** list, int* count) {
    if (!ClearOut(list, count)) return QEL_ERR_INVALID_ARG;
    Conversation* c = ConvOf(conv);
    if (!c) return QEL_ERR_INVALID_ARG;
    auto newest = beforeId == 0 ? c->msgs.rbegin() : std::make_reverse_iterator(c->msgs.lower_bound(beforeId));
    return FillNewestFirst(newest, c->msgs.rend(), limit, list, count, [c](auto& entry) -> qel_handle {
        return c->unread.count(entry.first) ? nullptr : entry.second.get();
    });
}

bool QelMsgIsRecall(qel_handle msg) { return (qel_msg_get_flag(msg) & QEL_MSG_FLAG_RECALLED) != 0; }
bool QelMsgIsBurnRead(qel_handle msg) { return (qel_msg_get_flag(msg) & QEL_MSG_FLAG_BURN_READ) != 0; }
bool QelMsgIsReciept(qel_handle msg) { return (qel_msg_get_flag(msg) & QEL_MSG_FLAG_RECEIPT) != 0; }
bool QelMsgIsSendFail(qel_handle msg) { return (qel_msg_get_flag(msg) & QEL_MSG_FLAG_SEND_FAIL) != 0; }

}  // namespace qel_ext
