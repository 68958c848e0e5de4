// What the SDK answered to a send: the refusal at once, the completion
// later, and the failed-message mark that lets the user send again.
#include <memory>
#include <utility>

#include "component/TaviImpl.h"
#include "msghandle/MsgExtraInfo.h"
#include "msghandle/MsgHandle.h"
#include "msghandle/MsgIds.h"
#include "msghandle/NoticeText.h"
#include "panel/TaviPanel.h"
#include "sdk/chatwnd.h"
#include "sdk/common_sdk.h"
#include "sdk/host.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui.h"
#include "sdk/ui/RichEditExUI.h"
#include "util/Log.h"
#include "util/Localised.h"
#include "util/Strings.h"
#include "util/TextFormat.h"

namespace tavi {

namespace {

constexpr int kErrorNoSpace = -9979;
constexpr int kErrorTooFast = -998;
constexpr uint32_t kWmSetFocus = 7;

std::u16string SendErrorText(int errorCode) {
    switch (errorCode) {
        case kErrorNoSpace: return util::Localised(u"#SEND_FAIL_NOSPACE");
        case kErrorTooFast: return util::Localised(u"#SEND_FAIL_FAST");
        default: return common::GetSDKErrorInfo(errorCode);
    }
}

// The failed message's id for its mark: the SDK's id, or the number of a
// local failed record made now when the SDK stored nothing. A message
// with pictures keeps the list of them in its record, as its pending
// record did, so that a resend uploads them again.
std::u16string FailedMsgIdText(const SSendContext& context, uint64_t msgId) {
    if (msgId != 0) return util::Utf8ToWide(qel_ext::MsgId2Str(msgId));
    qel_handle conversation = context.m_conversation.get();
    SOutMsgData failed = context.m_data;
    if (!context.m_uploads.empty()) {
        failed.m_hasExtra = true;
        failed.m_extra = WriteAttachmentRecord(context.m_uploads, context.m_contentAt);
    }
    const _QelMsgData data = failed.Data();
    qel_handle stored = conversation ? qel_conversation_add_send_fail_msg(conversation, &data) : nullptr;
    return util::WFormat("%u", unsigned(stored ? qel_msg_get_id(stored) : 0));
}

}  // namespace

CMsgHandle* CMsgHandle::FindHandlerOfWindow(HWND hwnd) {
    IChatWndMgr* manager = GetChatWndMgr();
    ITavi* component = nullptr;
    if (!hwnd || !manager || !manager->GetTavi(hwnd, &component) || !component) return nullptr;
    auto* impl = dynamic_cast<CTaviImpl*>(component);
    CTaviPanel* panel = impl ? impl->GetPanel() : nullptr;
    CMsgHandle* handler = panel ? panel->GetMsgHandle() : nullptr;
    component->Release();
    return handler;
}

void CMsgHandle::OnCallSendMsgFailed(int errorCode, CRichEditExUI* history, CRichEditUI* input) {
    const std::u16string text = SendErrorText(errorCode);
    TAVI_LOG("send msg error nresult=%d", errorCode);
    InsertSimpleErrorMsg(history, text.c_str());
    if (input) input->SetFocus();
}

// A refused piece is told like any refusal, and its bubble, already shown
// with the rest of its send, is marked failed and stays in the view (it can
// be sent again from there); the local failed record keeps its text after
// the window closes. The later pieces of that send are held back and marked
// the same way by the split queue rather than sent out of order, so nothing
// the user typed is lost.
void CMsgHandle::OnSplitPieceRefused(const SSendContext& context, int errorCode) {
    CMsgHandle* handler = FindHandlerOfWindow(context.m_hwnd);
    CTaviPanel* panel = handler ? handler->GetOwner() : nullptr;
    if (panel) OnCallSendMsgFailed(errorCode, panel->GetHistoryView(), panel->GetInputEdit());
    OnSendMessageFailed(context, 0, errorCode);
}

void CMsgHandle::OnSendMessageCallback(int errorCode, void* userData, uint64_t msgId, uint64_t second) {
    TAVI_SCOPE("CMsgHandle::OnSendMessageCallback");
    if (!userData) return;
    // The context was made for this one completion: take it over and free it.
    const SSendContext context = std::move(*std::unique_ptr<SSendContext>(static_cast<SSendContext*>(userData)));

    qel_handle conversation = context.m_conversation.get();
    util::TraceLine("send_msg", "msg_id:%llu presave_msg_id:%llu result:%d SerialNum:%lld conv_id:%s",
                    static_cast<unsigned long long>(msgId), static_cast<unsigned long long>(second), errorCode,
                    static_cast<long long>(context.m_provisionalId),
                    conversation ? qel_conversation_get_id(conversation) : "");
    // The window may have closed meanwhile: find it again, never trust the
    // handler that made the request.
    CMsgHandle* handler = FindHandlerOfWindow(context.m_hwnd);
    if (handler) RecordSentMsgId(context.m_provisionalId, msgId, handler);
    if (errorCode != 0) return OnSendMessageFailed(context, msgId, errorCode);
    if (handler) handler->SetupSentReadState(msgId);
    if (context.m_bResend) ProcessReSendMsg(context, context.m_bResendCompanion, conversation, msgId);

    if (conversation) {
        qel_ext::QelConvSetReadedAndAcked_ex(conversation, "CMsgHandle::OnSendMessageCallback");
        qel_ext::QelConvRequestSetReaded(conversation);
    }
    CTaviPanel* panel = handler ? handler->GetOwner() : nullptr;
    if (CRichEditUI* input = panel ? panel->GetInputEdit() : nullptr) input->TxSendMessage(kWmSetFocus, 0, 0);
    OnSendSettled(context, handler, msgId, true);
    AutoStickAfterSend(conversation, msgId, context.m_hwnd);
}

void CMsgHandle::OnSendMessageFailed(const SSendContext& context, uint64_t msgId, int errorCode) {
    TAVI_LOG("OnSendMessageFailed! error code(%d) SessionId =%s, Content=%s", errorCode,
             util::WideToUtf8(context.m_handleId).c_str(), context.m_data.m_content.c_str());
    IAppMain* app = GetAppMain();
    if (!app) return;
    const SQelBoxMsg record = context.m_record;
    IMsgTextMaker* maker = app->GetMsgTextMaker(context.m_handleId.c_str());
    const std::u16string msgText = maker ? maker->GetMsgText(record) : std::u16string();
    const std::u16string detail =
        util::FillPlaceholders(util::Localised(u"IDS_SEND_MSG_FAIL_DETAIL"),
                               {IMMsgTransTime(record.time, false), msgText, common::GetSDKErrorInfo(errorCode)});
    TAVI_LOG("error msg:%s", util::WideToUtf8(detail).c_str());

    // The failed record is kept whether or not the window is still open, so
    // that the text is back in the history when the chat opens again.
    const std::u16string idText = FailedMsgIdText(context, msgId);
    CMsgHandle* handler = FindHandlerOfWindow(context.m_hwnd);
    CTaviPanel* panel = handler ? handler->GetOwner() : nullptr;
    if (!panel) {
        app->ShowTip(detail.c_str(), util::Localised(u"#TIP").c_str());
        return;
    }
    const std::u16string notice = MakeNoticeText(detail, 1, 8);
    ShowSendMsgFailInRE(panel->GetHistoryView(), context.m_provisionalId, idText.c_str(), notice.c_str());
    OnSendSettled(context, handler, qel_ext::Str2MsgId(util::WideToUtf8(idText)), false);
}

}  // namespace tavi
