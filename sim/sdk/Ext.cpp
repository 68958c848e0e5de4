// The extension library's shortcuts for the current account, read marks,
// reminders, smileys and message-id texts.
#include <cerrno>
#include <cstdlib>

#include "sdk/qel_attribs.h"
#include "sdk/qel_ext_api.h"
#include "sim/sdk/World.h"

using namespace sim::sdk;

namespace qel_ext {

qel_handle QelGetCurAccount() { return CurrentAccountObj(); }

qel_handle QelGetCurConversations() {
    Account* account = CurrentAccountObj();
    return account ? account->conversations.get() : nullptr;
}

std::string QelConvGetSvrConvId(qel_handle conv) {
    auto* c = As<Conversation>(conv);
    return c ? c->svrConvId : std::string();
}

int QelConvRequestSetMsgReaded(qel_handle conv, qel_handle msg) {
    auto* c = As<Conversation>(conv);
    auto* m = As<Message>(msg);
    if (!c || !m || m->conv != c) return QEL_ERR_INVALID_ARG;
    c->MarkRead(m->id, false);
    RecordMark("request_msg_readed", c->id, m->id, "");
    return 0;
}

int QelConvRequestSetReaded(qel_handle conv) {
    auto* c = As<Conversation>(conv);
    if (!c) return QEL_ERR_INVALID_ARG;
    c->MarkRead(0, false);
    RecordMark("request_readed", c->id, 0, "");
    return 0;
}

void QelConvSetReadedAndAcked_ex(qel_handle conv, const char* reason) {
    auto* c = As<Conversation>(conv);
    if (!c) return;
    c->MarkRead(0, true);
    RecordMark("readed_and_acked_ex", c->id, 0, reason);
}

void QelMsgSetReadedAndAcked_ex(qel_handle msg, const char* reason) {
    auto* m = As<Message>(msg);
    if (!m) return;
    m->conv->MarkRead(m->id, true);
    RecordMark("msg_readed_and_acked_ex", m->conv->id, m->id, reason);
}

int QelConversationSetReminder(qel_handle conv, int type, const char* value) {
    auto* c = As<Conversation>(conv);
    if (!c) return QEL_ERR_INVALID_ARG;
    sim::SdkRequest request;
    request.kind = "reminder";
    request.convId = c->id;
    request.flags = type;
    request.value = value ? value : "";
    RecordRequest(request);
    return 0;
}

qel_handle QelSmileysFindSmiley(qel_handle smileys, const char* key) {
    auto* set = As<Smileys>(smileys);
    if (!set || !key) return nullptr;
    auto it = set->byKey.find(key);
    return it == set->byKey.end() ? nullptr : it->second.get();
}

std::string MsgId2Str(uint64_t msgId) { return std::to_string(msgId); }

uint64_t Str2MsgId(const std::string& text) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return 0;
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    return errno == ERANGE ? 0 : uint64_t(value);
}

uint64_t GetQELAttribs_msg_id(qel_handle object, const char* key) {
    return uint64_t(qel_attribs_get_int64(object, key, 0));
}

void SetQELAttribs_msg_id(qel_handle object, const char* key, uint64_t msgId, int mode) {
    qel_attribs_set_int64(object, key, int64_t(msgId), mode);
}

}  // namespace qel_ext
