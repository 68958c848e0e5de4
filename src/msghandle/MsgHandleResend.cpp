// Sending a failed message again, from its resend button or link: the
// same content goes as a new request (its pictures uploaded first), and
// once it went the old message and its failed mark make way for the new one.
#include <memory>

#include "module/DllObject.h"
#include "msghandle/MsgExtraInfo.h"
#include "msghandle/MsgHandle.h"
#include "msghandle/MsgIds.h"
#include "msghandle/MsgOpsSupport.h"
#include "panel/TaviPanel.h"
#include "sdk/common_sdk.h"
#include "sdk/display.h"
#include "sdk/host.h"
#include "sdk/qel_account.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui/RichEditExUI.h"
#include "sdk/ui/WindowUI.h"
#include "util/Log.h"
#include "util/Localised.h"
#include "util/Strings.h"

namespace tavi {

namespace {

uint64_t g_resendCounter = 0;

// The handler of a window that is still shown; null otherwise.
CMsgHandle* FindVisibleHandler(HWND hwnd) {
    CTaviPanel* panel = nullptr;
    if (!GetTAVIPanel(&panel, hwnd)) return nullptr;
    CWindowUI* window = panel->GetWindow();
    return window && window->IsWindowVisible() ? panel->GetMsgHandle() : nullptr;
}

// The id under which the view shows a stored message.
int64_t ShownIdOf(uint64_t msgId) {
    const std::optional<int64_t> provisional = FindProvisionalMsgId(msgId);
    return provisional && *provisional != 0 ? *provisional : int64_t(msgId);
}

}  // namespace

void CMsgHandle::OnReSendMsg(CRichEditExUI* history, CRichEditUI* input, const std::u16string& msgIdText) {
    TAVI_SCOPE("CMsgHandle::OnReSendMsg");
    if (qel_account_get_login_state(m_account.get()) != 1) {
        if (m_pOwner) m_pOwner->ShowSendBtnToolTip(util::Localised(u"#OFFLINE_CANNOT_SEND_MSG").c_str());
        return;
    }
    if (msgIdText.empty()) {
        TAVI_LOG("OnReSendMsg error! strMsgId empty !");
        return;
    }
    ++g_resendCounter;
    qel_handle conversation = m_conversation.get();
    const uint64_t oldId = qel_ext::Str2MsgId(util::WideToUtf8(msgIdText));
    qel_handle old = oldId != 0 && conversation ? qel_conversation_find_msg(conversation, oldId) : nullptr;
    if (!old) return;
    const _QelMsgData* data = qel_msg_get_data(old);
    if (!data) {
        TAVI_LOG(" CMsgHandle::OnReSendMsg ResendMsg qel_msg_get_data == NULL ");
        return;
    }
    SOutMsgData out;
    out.m_time = data->time;
    out.m_contentType = data->content_type ? data->content_type : "";
    out.m_content = data->content ? data->content : "";
    out.m_summary = data->summary ? data->summary : "";
    std::unique_ptr<SSendContext> context = MakeSendContext(out, history, input);
    context->m_bResend = true;
    context->m_resendOldMsgId = oldId;
    context->m_resendSerial = g_resendCounter;
    // A failure of the new request marks the old bubble again.
    context->m_provisionalId = ShownIdOf(oldId);
    MakeBoxMsg(context->m_record, old, false, m_handleId);

    SAttachmentRecord attachments;
    if (!ReadAttachmentRecord(data->extra_info ? data->extra_info : "", attachments)) {
        TAVI_LOG(" CMsgHandle::OnReSendMsg ResendMsg parse extra_info Json error");
    } else {
        context->m_uploads = attachments.m_items;
        context->m_contentAt = attachments.m_strContentAt;
    }
    if (!context->m_uploads.empty()) {
        // Sent once the pictures are on the server; the send completion
        // then finishes the resend.
        context->m_bResendCompanion = true;
        if (out.m_contentType == "img/xml") UploadImageForImgXmlMsg(std::move(context));
        else UploadImageForRichXmlMsg(std::move(context));
        return;
    }
    SSendContext* userData = context.release();
    const int result = qel_ext::QelConversationRequestSendChatMessage(conversation, old, nullptr, "",
                                                                      &OnReSendMessageCallback, userData);
    if (result != 0) {
        OnCallSendMsgFailed(result, history, input);
        delete userData;
    }
}

void CMsgHandle::OnReSendMessageCallback(int errorCode, void* userData, uint64_t msgId, uint64_t) {
    if (!userData) return;
    std::unique_ptr<SSendContext> given(static_cast<SSendContext*>(userData));
    const SSendContext context = *given;
    given.reset();
    if (errorCode == 0) {
        ProcessReSendMsg(context, context.m_bResendCompanion, context.m_conversation.get(), msgId);
        return;
    }
    const std::u16string text = common::GetSDKErrorInfo(errorCode);
    CMsgHandle* handler = FindHandlerOfWindow(context.m_hwnd);
    CRichEditExUI* view = handler ? handler->GetHistoryView() : nullptr;
    if (!view) {
        TAVI_LOG(" NULL == pRe ");
        return;
    }
    ShowNotifyMsgInRE(qel_get_adjusted_time(), false, text.c_str(), view, false, kOpNoticeIcon, true,
                      context.m_resendOldMsgId, -1, false);
}

void CMsgHandle::ProcessReSendMsg(const SSendContext& context, bool uploaded, qel_handle conversation,
                                  uint64_t newId) {
    TAVI_SCOPE("CMsgHandle::ProcessReSendMsg");
    const uint64_t oldId = context.m_resendOldMsgId;
    CMsgHandle* handler = FindVisibleHandler(context.m_hwnd);
    if (!handler) TAVI_LOG("GetMsgHandle error!");
    if (CRichEditExUI* view = handler ? handler->GetHistoryView() : nullptr) {
        const std::optional<int64_t> provisional = FindProvisionalMsgId(oldId);
        if (provisional && *provisional != 0) view->DeleteMsg(*provisional);
        view->DeleteMsg(int64_t(oldId));
        ShowResendSucessMsg(context, handler, conversation, newId);
    }
    if (uploaded && conversation) qel_conversation_remove_record_and_msg(conversation, oldId);
    // The new message is read by the partner (or the group) from scratch.
    CTaviPanel* panel = handler ? handler->GetOwner() : nullptr;
    if (!panel || !conversation) return;
    if (panel->IsPluginAt())
        handler->AddSentReceiptUnRead(conversation, newId,
                                      qel_ext::QelMsgIsReciept(qel_conversation_find_msg(conversation, newId)));
    handler->AddSentPartnerUnRead(conversation, newId);
}

void CMsgHandle::ShowResendSucessMsg(const SSendContext& context, CMsgHandle* handler, qel_handle conversation,
                                     uint64_t newId) {
    qel_handle message = conversation ? qel_conversation_find_msg(conversation, newId) : nullptr;
    SQelBoxMsg record;
    if (!message || !handler->MakeBoxMsg(record, message, false, context.m_handleId)) {
        TAVI_LOG("OnReSendMessageCallback! error Msgdata == NULL");
        return;
    }
    RenderRecord(record, handler->GetHistoryView(), context.m_windowKey, context.m_handleId);
    qel_ext::QelConvSetReadedAndAcked_ex(conversation, "CMsgHandle::ShowResendSucessMsg");
    qel_ext::QelConvRequestSetReaded(conversation);
}

void CMsgHandle::RemoveResendBtn(CMsgHandle* handler, HWND hwnd, uint64_t msgId) {
    if (!handler) handler = FindHandlerOfWindow(hwnd);
    CRichEditExUI* view = handler ? handler->GetHistoryView() : nullptr;
    if (!view) return;
    auto markOf = [view](uint64_t id) -> CControlUI* {
        CControlUI* holder = id ? view->FindSubControl(util::Utf8ToWide(qel_ext::MsgId2Str(id))) : nullptr;
        return holder && holder->FindSubControl(u"resendmsg") ? holder : nullptr;
    };
    CControlUI* mark = markOf(msgId);
    if (!mark) mark = markOf(handler->m_lastFailedMsgId);
    if (mark) view->RemoveControl(mark);
}

void CMsgHandle::OnSendSettled(const SSendContext& context, CMsgHandle* handler, uint64_t msgId, bool sent) {
    if (!handler) return;
    if (!sent) {
        // The bubble stands for the failed message from now on, also when
        // the SDK stored nothing and a local failed record was made.
        if (msgId != 0) RecordSentMsgId(context.m_provisionalId, msgId, handler);
        handler->m_lastFailedMsgId = msgId;
        return;
    }
    // A message that went can no longer be sent again.
    if (!context.m_bResend || handler->m_lastFailedMsgId != context.m_resendOldMsgId) return;
    RemoveResendBtn(handler, context.m_hwnd, msgId);
    handler->m_lastFailedMsgId = 0;
}

}  // namespace tavi
