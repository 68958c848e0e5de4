// Read cursors and receipts: which messages get the partner's read line,
// an unread tag or a receipt button, after a load, a page of older
// messages or a send. The panes themselves are the panel's.
#include <cstring>

#include "msghandle/HistoryMsgHandle.h"
#include "msghandle/MsgExtraInfo.h"
#include "msghandle/MsgHandle.h"
#include "panel/TaviPanel.h"
#include "sdk/common_sdk.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui/RichEditUI.h"
#include "sdk/ui/WindowUI.h"
#include "util/Log.h"
#include "util/Strings.h"

namespace tavi {

namespace {

// The read line is looked for among this many sequence numbers at and
// below the partner's cursor.
constexpr int64_t kCursorWalk = 26;
constexpr uint32_t kWmSetFocus = 7;
constexpr int kAttribMode = 3;

bool IsChannel(qel_handle conversation, const char* channel) {
    const char* id = qel_conversation_get_channel_id(conversation);
    return id && std::strcmp(id, channel) == 0;
}

struct SPartnerCursor {
    int64_t cursor;
    int64_t time;
};

SPartnerCursor ReadPartnerCursor(qel_handle conversation) {
    SPartnerCursor read{qel_attribs_get_int64(conversation, "partner-read-cursor", 0),
                        qel_attribs_get_int64(conversation, "partner-read-cursor_time", 0)};
    if (read.cursor == 0 && read.time == 0)
        TAVI_LOG("error Invalid Cursortime =:%lld,%lld", static_cast<long long>(read.cursor),
                 static_cast<long long>(read.time));
    return read;
}

// The message was sent by the account's own user.
bool IsOwnMsg(qel_handle message, qel_handle account) {
    const _QelMsgData* data = qel_msg_get_data(message);
    const char* own = qel_account_get_buddy_id(account);
    return data && data->sender_id && own && std::strcmp(data->sender_id, own) == 0;
}

const char* ContentTypeOf(qel_handle message) {
    const _QelMsgData* data = qel_msg_get_data(message);
    return data ? data->content_type : nullptr;
}

}  // namespace

bool CMsgHandle::MsgIsCountable(qel_handle message, const char* contentType) {
    if (!message || !contentType) return false;
    for (const char* control : {"ctl/json", "ntf/json", "docsync/json", "tel/json", "event/json"}) {
        if (std::strcmp(contentType, control) == 0) return false;
    }
    return true;
}

// A one-to-one chat with a real person, in a person chat window.
bool CMsgHandle::IsPartnerReadChat(qel_handle conversation) const {
    return m_pOwner && IsChannel(conversation, "im") && m_windowKey == kPersonChatKey &&
           !common::SpecialProxyUserId(m_pOwner->GetSessionId().c_str());
}

void CMsgHandle::AddPartnerReadCursor(qel_handle conversation) {
    if (!m_pOwner || !IsChannel(conversation, "im")) return;
    const SPartnerCursor read = ReadPartnerCursor(conversation);
    qel_handle account = m_account.get();
    for (int64_t seq = read.cursor; seq >= 0 && seq > read.cursor - kCursorWalk; --seq) {
        qel_handle message = qel_conversation_find_msg_from_conv_msg_id(conversation, uint64_t(seq));
        if (!message) {
            TAVI_LOG_FAIL("Invalid partner-read-cursor Not Find conv_msg_id =:%lld", static_cast<long long>(seq));
            continue;
        }
        if (!IsOwnMsg(message, account) || !MsgIsCountable(message, ContentTypeOf(message))) continue;
        m_pOwner->CreatePartnerReadCursorPane(int64_t(qel_msg_get_id(message)), read.time);
        break;
    }
    if (m_pOwner->GetWindow() && m_pOwner->GetInputEdit()) m_pOwner->GetInputEdit()->TxSendMessage(kWmSetFocus, 0, 0);
}

void CMsgHandle::AddParternUnReadBtn(qel_handle conversation, const qel_handle* messages, int count) {
    if (!messages || !IsPartnerReadChat(conversation)) return;
    const SPartnerCursor read = ReadPartnerCursor(conversation);
    qel_handle account = m_account.get();
    for (int i = 0; i < count; ++i) {
        qel_handle message = messages[i];
        if (!message || !qel_ext::QelMsgIsReciept(message) || !IsOwnMsg(message, account) ||
            !MsgIsCountable(message, ContentTypeOf(message)))
            continue;
        const uint64_t seq = qel_msg_get_conv_msg_id(message);
        if (int64_t(seq) >= read.cursor) m_pOwner->CreatPartnerUnReadPane(int64_t(qel_msg_get_id(message)), seq);
    }
}

void CMsgHandle::RequestReceiptSummary(qel_handle conversation, const qel_handle* messages, int count) {
    if (!messages || count <= 0 || !IsChannel(conversation, "group")) return;
    qel_handle account = m_account.get();
    for (int i = 0; i < count; ++i) {
        qel_handle message = messages[i];
        if (!message || !qel_ext::QelMsgIsReciept(message) || !IsOwnMsg(message, account)) continue;
        const _QelMsgData* data = qel_msg_get_data(message);
        SMsgExtraInfo info;
        if (!m_pOwner || !data->extra_info || !ParseMsgExtraInfo(data->extra_info, info)) continue;
        // A message whose count the server has not told yet shows no button.
        if (info.m_nUnreadNum < 0) continue;
        m_pOwner->CreatRecipetUnReadPane(int64_t(qel_msg_get_id(message)), qel_msg_get_conv_msg_id(message),
                                         info.m_nUnreadNum);
    }
    // The answers come back as changes of the conversation's attributes.
    qel_conversation_request_receipt_summary(conversation, messages, count, 0, 0);
}

void CMsgHandle::AddSentReceiptUnRead(qel_handle conversation, uint64_t msgId, bool isReceipt) {
    qel_handle group = qel_conversation_get_buddy_group(conversation);
    qel_handle message = qel_conversation_find_msg(conversation, msgId);
    const _QelMsgData* data = qel_msg_get_data(message);
    if (!group || !isReceipt || !data) return;
    const std::string extra = data->extra_info ? data->extra_info : "";
    // Only a receipt to everyone counts the members; the sender is not one of them.
    const int unread = ReceiptGoesToAll(extra) ? qel_attribs_get_int(group, "total-members-count", 0) - 1 : 0;
    if (unread <= 0) return;
    qel_msg_set_extra_info(message, SetExtraInfoUnreadNum(extra, unread).c_str());
    const uint64_t seq = qel_msg_get_conv_msg_id(message);
    const std::string value = qel_ext::MsgId2Str(seq) + "-" + std::to_string(unread);
    qel_attribs_set_str(conversation, "receipt-unread-msgid", value.c_str(), kAttribMode);
    if (m_pOwner) m_pOwner->CreatRecipetUnReadPane(int64_t(msgId), seq, unread);
}

void CMsgHandle::AddSentPartnerUnRead(qel_handle conversation, uint64_t msgId) {
    if (!IsPartnerReadChat(conversation)) return;
    qel_handle message = qel_conversation_find_msg(conversation, msgId);
    if (!message) return;
    const uint64_t seq = qel_msg_get_conv_msg_id(message);
    if (int64_t(seq) >= qel_attribs_get_int64(conversation, "partner-read-cursor", 0))
        m_pOwner->CreatPartnerUnReadPane(int64_t(msgId), seq);
}

void CMsgHandle::SetupSentReadState(uint64_t msgId) {
    qel_handle conversation = m_conversation.get();
    if (!m_pOwner || !conversation || !IsGroupChat()) return;
    AddSentReceiptUnRead(conversation, msgId, qel_ext::QelMsgIsReciept(qel_conversation_find_msg(conversation, msgId)));
    AddSentPartnerUnRead(conversation, msgId);
}

// A page of older messages gets the same markers as a load.
void CHistoryMsgHandle::AddPartnerCursorHistroyMsgPanel(CTaviPanel* panel, qel_handle conversation) {
    if (CMsgHandle* handler = panel ? panel->GetMsgHandle() : nullptr) handler->AddPartnerReadCursor(conversation);
}

void CHistoryMsgHandle::AddParternUnReadHistroyMsgPanel(CTaviPanel* panel, qel_handle conversation,
                                                        const qel_handle* messages, int count) {
    if (CMsgHandle* handler = panel ? panel->GetMsgHandle() : nullptr)
        handler->AddParternUnReadBtn(conversation, messages, count);
}

void CHistoryMsgHandle::RequestReceiptSummaryHistroyMsgPanel(CTaviPanel* panel, qel_handle conversation,
                                                             const qel_handle* messages, int count) {
    if (CMsgHandle* handler = panel ? panel->GetMsgHandle() : nullptr)
        handler->RequestReceiptSummary(conversation, messages, count);
}

}  // namespace tavi
