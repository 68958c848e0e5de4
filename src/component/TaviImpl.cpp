#include "component/TaviImpl.h"

#include "module/DllObject.h"
#include "module/ModuleDll.h"
#include "msghandle/MsgHandle.h"
#include "msghandle/MsgOpsSupport.h"
#include "msghandle/PictureInput.h"
#include "msghandle/SendState.h"
#include "panel/TaviPanel.h"
#include "sdk/chatwnd.h"
#include "sdk/common_sdk.h"
#include "sdk/qel_account.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_ext_api.h"
#include "sdk/qel_msg.h"
#include "sdk/ui/ContainerUI.h"
#include "sdk/common.h"
#include "sdk/display.h"
#include "sdk/host.h"
#include "sdk/qel_inst.h"
#include "sdk/ui.h"
#include "sdk/ui/RichEditExUI.h"
#include "sdk/ui/WindowUI.h"
#include "util/Log.h"
#include "util/Localised.h"
#include "util/Strings.h"
#include "util/TextFormat.h"

namespace tavi {

CTaviPanel* CTaviImpl::GetPanel() const {
    const std::shared_ptr<CTaviPanel* const> panel = m_panel.lock();
    return panel ? *panel : nullptr;
}

CMsgHandle* CTaviImpl::MsgHandle() const {
    CTaviPanel* panel = GetPanel();
    return panel ? panel->GetMsgHandle() : nullptr;
}

CTaviImpl::~CTaviImpl() {
    // A panel that never got into its container is nobody else's to free.
    CTaviPanel* panel = GetPanel();
    if (panel && !panel->GetParent()) CControlUI::Destroy(panel);
}

bool CTaviImpl::CreatePanel(CContainerUI* parent, const STaviPanelInfo* info) {
    TAVI_SCOPE("CTaviImpl::CreatePanel");
    if (m_panelMade || !GetModuleHost() || !info) return false;
    qel::IQelInst* inst = GetQelInst(info->instanceName);
    if (!inst) return false;
    auto* panel = new CTaviPanel();
    panel->SetInfo(info->windowKey, info->sessionId, info->instanceName, info->historyShown, inst->GetAccount());
    // The panel stays attached even when its creation fails.
    m_panel = panel->WeakRef();
    m_panelMade = true;
    return panel->Create(kPanelLayout, parent);
}

bool CTaviImpl::ProcHostDuiMsg(TEventUI* event) {
    CTaviPanel* panel = GetPanel();
    if (!panel || !event || event->Type != UIEVENT_DROPFILES) return false;
    TAVI_SCOPE("CTaviImpl::ProcHostDuiMsg OnDropFiles");
    return panel->OnDropFiles(*event);
}

intptr_t CTaviImpl::ProcHostWndMsg(uint32_t message, uintptr_t wparam, intptr_t lparam) {
    switch (message) {
        case kWmActivate:
            if ((wparam & 0xFFFF) == 0) StoreFocus();
            else RestoreFocus();
            break;
        case kWmSysChar:
            if (GetKeyState(VK_MENU) < 0) OnSysChar(wparam);
            break;
        case kWmCopyData:
            OnCopyData(wparam, reinterpret_cast<const SCopyData*>(lparam));
            break;
        case kWmPasteRequest:
            PasteClipboard();
            if (CRichEditUI* input = GetInputRichEdit()) input->SetFocus();
            break;
        default:
            break;
    }
    return 0;
}

void CTaviImpl::OnSysChar(uintptr_t key) {
    CTaviPanel* panel = GetPanel();
    if (!panel) return;
    switch (key) {
        case 'C':
        case 'c': {
            CWindowUI* window = panel->GetWindow();
            if (!window) return;
            IChatWndMgr* manager = GetChatWndMgr();
            if (dynamic_cast<CChatWindowUI*>(window) && manager) manager->CloseChatWnd(window->GetHWND());
            else window->CloseWindow(1);
            break;
        }
        case 'S':
        case 's':
            panel->SendMsg();
            break;
        case 'H':
        case 'h':
            if (IHostMsgSink* sink = panel->GetHostMsgSink()) sink->HandleMsg(7, 0, 0);
            break;
        default:
            break;
    }
}

void CTaviImpl::OnCopyData(uintptr_t wparam, const SCopyData* record) {
    CTaviPanel* panel = GetPanel();
    if (!record || !panel) return;
    if (record->code >= kCopyDataForwardFirst && record->code <= kCopyDataForwardLast) {
        if (IHostMsgSink* sink = panel->GetHostMsgSink())
            sink->HandleMsg(record->code, wparam, reinterpret_cast<intptr_t>(record));
        return;
    }
    if (record->code != kCopyDataPicture && record->code != kCopyDataEditPicture) return;
    const auto* path = static_cast<const char16_t*>(record->data);
    if (!path) return;
    // A picture that does not load is ignored.
    if (record->code == kCopyDataEditPicture) {
        const auto* key = reinterpret_cast<const char16_t*>(wparam);
        panel->InsertEditImage(path, key ? key : u"");
        return;
    }
    if (COleImageObj* image = COleImageObj::LoadImage(path, true)) panel->InsertImage(image);
}

void CTaviImpl::InitMsgHandle() {
    TAVI_SCOPE("CTaviImpl::InitMsgHandle");
    if (CTaviPanel* panel = GetPanel()) panel->InitMsgHandle();
}

void CTaviImpl::SetHostMsgSink(IHostMsgSink* sink) {
    if (CTaviPanel* panel = GetPanel()) panel->SetHostMsgSink(sink);
}

bool CTaviImpl::UpdatePanelInfo(const STaviPanelInfo* info) {
    TAVI_SCOPE("CTaviImpl::UpdatePanelInfo");
    CTaviPanel* panel = GetPanel();
    if (!panel || !info) return false;
    panel->Rebind(info->windowKey, info->sessionId);
    return true;
}

void CTaviImpl::SetPanelMode(int mode) {
    CTaviPanel* panel = GetPanel();
    if (!panel) return;
    if (mode == 0 || mode == 1) panel->SetMiniMode(mode != 0);
    else if (mode == 2) panel->SetThinMode();
}

void CTaviImpl::SetView(const char16_t* viewName) {
    if (CTaviPanel* panel = GetPanel()) panel->SetView(viewName);
}

void CTaviImpl::SetInputEditHeight(int height) {
    if (CTaviPanel* panel = GetPanel()) panel->SetInputEditHeight(height);
}

void CTaviImpl::GetAndShowMsg(int32_t a, int32_t b) {
    TAVI_SCOPE("CTaviImpl::GetAndShowMsg");
    CTaviPanel* panel = GetPanel();
    if (!panel) return;
    if (!panel->IsReallyVisible()) {
        if (CWindowUI* window = panel->GetWindow()) window->WindowProc(kWmShowRequest, 0, 0);
    }
    if (CMsgHandle* handler = MsgHandle()) handler->ShowGetMsg(uint64_t(uint32_t(a)) | (uint64_t(uint32_t(b)) << 32), false, false);
    panel->ChangePictureShow(false);
}

CRichEditExUI* CTaviImpl::GetMsgHistoryRichEdit() {
    CTaviPanel* panel = GetPanel();
    return panel ? panel->GetHistoryView() : nullptr;
}

CRichEditUI* CTaviImpl::GetInputRichEdit() {
    CTaviPanel* panel = GetPanel();
    return panel ? panel->GetInputEdit() : nullptr;
}

void CTaviImpl::SendMsg() {
    TAVI_SCOPE("CTaviImpl::SendMsg");
    if (CTaviPanel* panel = GetPanel()) panel->SendMsg();
}

void CTaviImpl::SetCaptionBarText(const char16_t* text) {
    if (CTaviPanel* panel = GetPanel()) panel->SetCaptionBarText(text);
}

namespace {
// The text between the first "&<txt>" and the first "<txt>&", less the
// notice's seven leading characters of format.
std::u16string NoticeDetail(const std::u16string& text) {
    const size_t open = text.find(u"&<txt>");
    if (open == std::u16string::npos) return std::u16string();
    const size_t from = open + 7;
    const size_t close = text.find(u"<txt>&");
    if (close == std::u16string::npos || close <= from) return std::u16string();
    return text.substr(from, close - from);
}

std::u16string AfterColon(const std::u16string& text) {
    const size_t colon = text.find(u':');
    return colon == std::u16string::npos ? text : text.substr(colon + 1);
}

// The error-report link appended to a notice when the client asks for it.
std::u16string ErrorReportLink(const std::u16string& text) {
    std::u16string detail = NoticeDetail(text);
    if (detail.empty() || detail[0] != u'1') return std::u16string();
    const std::u16string report = util::Localised(u"#REPORT_ERROR") + u"\n";
    detail = AfterColon(AfterColon(detail));
    const size_t bar = detail.rfind(u'|');
    if (bar != std::u16string::npos) detail.erase(bar);
    if (const int code = qel_get_last_error_code()) {
        detail += util::FillPlaceholders(util::Localised(u"ERRCODE_%d"), {util::Utf8ToWide(std::to_string(code))});
        const char* message = qel_get_last_error_msg();
        detail += util::FillPlaceholders(util::Localised(u"ERRMSG_%s"), {util::Utf8ToWide(message ? message : "")});
    }
    const std::u16string link = util::WFormat("*%d|%u|%s|%s|%s|%s", 32, 8u, util::WideToUtf8(report).c_str(),
                                              util::WideToUtf8(detail).c_str(), "", "");
    return u"&<link>" + link + u"<link>&";
}
}  // namespace

void CTaviImpl::InsertInfoMsg(int64_t time, bool flag1, const char16_t* text, bool flag2, uint64_t msgId,
                              bool checkReceipt, bool flag3) {
    TAVI_SCOPE("CTaviImpl::InsertInfoMsg");
    CTaviPanel* panel = GetPanel();
    if (!panel || !text) return;
    std::u16string notice = util::SafeWide(text);
    if (common::GetEXEConfig(u"ErrReport", u"enable", 0) == 1) notice += ErrorReportLink(notice);
    ShowNotifyMsgInRE(time, flag1, notice.c_str(), panel->GetHistoryView(), flag2, u"", false, msgId, -1, flag3);
    if (checkReceipt) CheckPartnerUnread(msgId);
}

void CTaviImpl::CheckPartnerUnread(uint64_t msgId) {
    CMsgHandle* handler = MsgHandle();
    qel_handle conversation = handler ? handler->GetConversation() : nullptr;
    if (!conversation) return;
    const char* channel = qel_conversation_get_channel_id(conversation);
    if (!channel || std::string(channel) != "im") return;
    if (common::SpecialProxyUserId(GetPanel()->GetSessionId().c_str())) return;
    // Whether the partner's read cursor has reached the message is the tag's own
    // check, which is the stricter one.
    qel_handle message = qel_conversation_find_msg(conversation, msgId);
    const _QelMsgData* data = qel_msg_get_data(message);
    if (!data || !qel_ext::QelMsgIsReciept(message)) return;
    const char* own = qel_account_get_buddy_id(qel_ext::QelGetCurAccount());
    if (!own || !data->sender_id || std::string(own) != data->sender_id) return;
    GetPanel()->CreatPartnerUnReadPane(int64_t(msgId), qel_msg_get_conv_msg_id(message));
}

void CTaviImpl::SaveImgAsSmiley(const char16_t* path) {
    if (CTaviPanel* panel = GetPanel()) panel->SaveAsSmiley(path);
}

void CTaviImpl::SetChatParticipants(pfx::IStrVector* list, int value) {
    if (CTaviPanel* panel = GetPanel()) panel->SetChatParticipants(list, value);
}

void CTaviImpl::InputRichEditInsertImage(const char16_t* path) {
    // A null path loads nothing there.
    if (CTaviPanel* panel = GetPanel()) RichEditLoadImage(path, panel->GetInputEdit());
}

void CTaviImpl::ShowSimpleNotice(const char16_t* text, bool flag, const char16_t* icon) {
    CTaviPanel* panel = GetPanel();
    if (!panel || !text) return;
    ShowNotifyMsgInRE(0, flag, text, panel->GetHistoryView(), false, icon, true, 0, -1, false);
}

void CTaviImpl::InsertSimpleInfoMsg(const char16_t* text, bool flag) { ShowSimpleNotice(text, flag, u"#info_icon_msg_2"); }

// The warning always passes a true flag on, whatever the caller says.
void CTaviImpl::InsertSimpleInfoWarnMsg(const char16_t* text, bool) { ShowSimpleNotice(text, true, u"#info_icon_warn"); }

void CTaviImpl::InsertADHOCMsg(const char16_t* a, const char16_t* b, const char16_t* c, bool flag) {
    if (CTaviPanel* panel = GetPanel()) ShowADHOCMsgInRE(a, b, c, panel->GetHistoryView(), flag);
}

void CTaviImpl::InsertADHOCFileMsg(const char16_t* a, const char16_t* b, const char16_t* c, const char16_t* d,
                                   bool flag) {
    if (CTaviPanel* panel = GetPanel()) ShowADHOCFileMsgInRE(a, b, c, d, panel->GetHistoryView(), flag);
}

bool CTaviImpl::IsFrdEventDisplayed() {
    CTaviPanel* panel = GetPanel();
    return panel && panel->IsFrdEventDisplayed();
}

void CTaviImpl::AddMarqueeMsg(const char16_t* a, const char16_t* b) {
    if (CTaviPanel* panel = GetPanel()) panel->AddMarqueeMsg(a, b);
}

void CTaviImpl::ShowFrdEvent(int32_t a, int32_t b) {
    if (CTaviPanel* panel = GetPanel()) panel->ShowFrdEvent(a, b);
}

void CTaviImpl::ShowCaptionBar(bool show) {
    if (CTaviPanel* panel = GetPanel()) panel->ShowCaptionBar(show);
}

void CTaviImpl::ReflashBirthRemind() {
    if (CTaviPanel* panel = GetPanel()) panel->InitBirthdayRemind();
}

void CTaviImpl::InsertLinkInfoMsg(const char16_t* text, CLinkObj* link, int value, bool flag, tagTextFormat* format) {
    if (!text) return;
    if (CRichEditExUI* view = GetMsgHistoryRichEdit()) view->InsertLink(text, link, value, flag, format);
}

void CTaviImpl::ReflashAfterMakeUp(int value) {
    TAVI_SCOPE("CTaviImpl::ReflashAfterMakeUp");
    if (CMsgHandle* handler = MsgHandle()) handler->ReflashAfterMakeUp(GetPanel()->GetHistoryView(), value != 0);
}

int CTaviImpl::QelSendMsg(const char16_t* body, const char16_t* extra, const char* contentType, bool show) {
    TAVI_SCOPE("CTaviImpl::QelSendMsg");
    CMsgHandle* handler = MsgHandle();
    if (!handler || !body) return -1;
    return handler->QelSendMsg(body, extra, contentType, show);
}

void CTaviImpl::OnRecallMessage(SQelBoxMsg* message) {
    TAVI_SCOPE("CTaviImpl::OnRecallMessage");
    CMsgHandle* handler = MsgHandle();
    if (!handler || !message) return;
    handler->OnRecallMessage(message, 0);
    // A recalled message leaves the group top too.
    qel_handle recalled = qel_conversation_find_msg(handler->GetConversation(), message->sdkMsgId);
    if (recalled && qel_msg_is_grp_top(recalled)) handler->CancelStickGrpMsg(message->msgId);
}

void CTaviImpl::OnBurnReadMessage(SQelBoxMsg* message) {
    if (CMsgHandle* handler = MsgHandle()) handler->OnBurnReadMessage(message);
}

void CTaviImpl::RefreshEditState() {
    if (CTaviPanel* panel = GetPanel()) panel->OnEditChange(0);
}

bool CTaviImpl::CanExitWhileSending() {
    TAVI_SCOPE("CTaviImpl::CanExitWhileSending");
    if (GetSendingMsgCount() == 0) return true;
    IAppMain* app = GetAppMain();
    const HWND parent = app ? app->GetMainWnd() : nullptr;
    return ShowOpBox(parent, util::Localised(u"IDS_EXIT_APP_WHEN_MSG_SENDING_TIP"), u"#SEND_MESSAGE", u"#NO_YES", 1) ==
           kOpBoxSecondButton;
}

void CTaviImpl::StoreFocus() {
    m_pStoredFocus = nullptr;
    CTaviPanel* panel = GetPanel();
    if (!panel) return;
    CRichEditExUI* view = panel->GetHistoryView();
    CRichEditUI* input = panel->GetInputEdit();
    if (view && view->IsFocused()) m_pStoredFocus = view;
    else if (input && input->IsFocused()) m_pStoredFocus = input;
}

void CTaviImpl::RestoreFocus() {
    CTaviPanel* panel = GetPanel();
    if (!panel) return;
    if (!m_pStoredFocus) {
        CWindowUI* window = panel->GetWindow();
        // Something else of the window has the focus: leave it there.
        if (window && window->GetFocus()) return;
        m_pStoredFocus = panel->GetInputEdit();
    }
    if (m_pStoredFocus) m_pStoredFocus->SetFocus();
}

void CTaviImpl::ShowCollectTip(int32_t a, int32_t b, int32_t c, int32_t d) {
    if (CTaviPanel* panel = GetPanel()) panel->ShowCollectTip(a, b, c, d);
}

void CTaviImpl::SetEmailDlgType(int type) {
    if (CTaviPanel* panel = GetPanel()) panel->SetEmailDlgType(type);
}

void CTaviImpl::EmailRequest(int32_t a, int32_t b, bool flag) {
    if (CMsgHandle* handler = MsgHandle()) handler->EmailRequest(a, b, flag);
}

void CTaviImpl::SetImageOversizeOption(int option) {
    if (CTaviPanel* panel = GetPanel()) panel->SetImageOversizeOption(option);
}

void CTaviImpl::RefreshImportantMsgStatus(int32_t a, int32_t b, int32_t c) {
    if (CMsgHandle* handler = MsgHandle()) handler->RefreshImportantMsgStatus(a, b, c);
}

void CTaviImpl::SetMarkReadOnClose(bool mark) {
    if (CTaviPanel* panel = GetPanel()) panel->SetMarkReadOnDestroy(mark);
}

void CTaviImpl::RestartHistoryTimer() {
    CRichEditExUI* view = GetMsgHistoryRichEdit();
    if (!view) return;
    view->KillTimer(kHistoryRefreshTimer);
    view->SetTimer(kHistoryRefreshTimer, 50);
}

void CTaviImpl::UpdateGrpTopUnreadMsg() {
    if (CTaviPanel* panel = GetPanel()) panel->UpdateGrpTopUnreadMsg();
}

void CTaviImpl::PasteClipboard() {
    CRichEditUI* input = GetInputRichEdit();
    if (!input) return;
    input->Paste();
    input->InsertText(u"\n");
    input->Invalidate();
}

}  // namespace tavi
