// The panel's input commands: sending, the Enter key, typing and the
// input's height.
#include <memory>

#include "module/DllObject.h"
#include "msghandle/GroupKind.h"
#include "msghandle/MsgHandle.h"
#include "msghandle/MsgOpsSupport.h"
#include "panel/TaviPanel.h"
#include "sdk/common.h"
#include "sdk/common_sdk.h"
#include "sdk/host.h"
#include "sdk/qel_account.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui.h"
#include "sdk/ui/ControlUI.h"
#include "sdk/ui/MessageBoxUI.h"
#include "sdk/ui/RichEditUI.h"
#include "sdk/ui/WindowUI.h"
#include "util/Log.h"
#include "util/Localised.h"
#include "util/Strings.h"

namespace tavi {

namespace {
constexpr const char* kNoSendLimit = "im.pc.not.send.message.function";
constexpr int kEnterSendsWithCtrl = 0;
constexpr int kEnterSends = 1;
constexpr int64_t kMarkReadInterval = 20;
constexpr int kEngineNoticeSent = 10;

std::unique_ptr<CToolTipUI>& SendButtonTip() {
    static std::unique_ptr<CToolTipUI> tip;
    return tip;
}
}  // namespace

void CTaviPanel::SendMsg() {
    TAVI_SCOPE("CTaviPanel::SendMsg");
    CWindowUI* window = GetWindow();
    const HWND hwnd = window ? window->GetHWND() : nullptr;
    if (common::GetRBACLimit(kNoSendLimit) == 1) {
        const char16_t* key = u"#IDS_RBAC_NOT_SEND_MESSAGE_PERMISSION";
        ShowOpBox(hwnd, util::Localised(key), key, u"#OK");
        return;
    }
    IAppMain* app = GetAppMain();
    if (!m_pMsgHandle || !app || !app->GetChatWndType(m_windowKey)) return;
    CDllObject* state = GetDllObject();
    m_pMsgHandle->OnSendMsg(!state || !state->m_bStarted, m_pHistoryView, m_pInputEdit);
    ChangePictureShow(false);
    m_closeAfterSend = GetPrefInt("SystemInfo.HotKey.CloseAfterSendMsg", 0) != 0;
    if (m_closeAfterSend && window && !(m_pHostSink && m_pHostSink->MustStayOpen())) window->CloseWindow(1);
    if (IUIEngine* engine = GetUIEngine()) engine->NotifyHost(kEngineNoticeSent, hwnd);
}

bool CTaviPanel::OnEnterKey(TEventUI& event) {
    const int hotKey = GetPrefInt("SystemInfo.HotKey.Enter", kEnterSendsWithCtrl);
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool sends = ctrl ? hotKey == kEnterSendsWithCtrl : hotKey == kEnterSends;
    if (!sends) return true;
    qel_handle conversation = m_pMsgHandle ? m_pMsgHandle->GetConversation() : nullptr;
    qel_handle group = conversation ? qel_conversation_get_buddy_group(conversation) : nullptr;
    // A user barred from speaking keeps the key in the edit.
    if (group && common::IsMeForbidWordInGrp(group)) return true;
    SendMsg();
    event.Type = UIEVENT_HANDLED;
    return true;
}

void CTaviPanel::ChangePictureShow(bool show) {
    if (m_pHostSink) m_pHostSink->OnHostEvent(0, show ? 1 : 0, 0);
}

void CTaviPanel::OnEditChange(intptr_t param) {
    if (!m_pInputEdit || m_pInputEdit->GetText().empty()) {
        HideAtWindow();
    } else {
        MarkTyping();
        qel_handle conversation = m_pMsgHandle ? m_pMsgHandle->GetConversation() : nullptr;
        qel_handle group = conversation ? qel_conversation_get_buddy_group(conversation) : nullptr;
        if (m_pMsgHandle && GroupConvType(group) != kConvTypeNoMentions) AtProcess(m_pInputEdit);
    }
    ChangePictureShow(param != 0);
}

// Tells the partner that the user is typing, and keeps the conversation
// read while the user is at it.
void CTaviPanel::MarkTyping() {
    qel_handle account = m_account.get();
    const std::string sessionId = util::WideToUtf8(m_sessionId);
    qel_handle buddies = qel_account_buddies(account);
    qel_handle buddy = buddies ? qel_buddies_find_buddy_base(buddies, sessionId.c_str()) : nullptr;
    qel_handle conversation = buddy ? qel_buddy_get_conversation(buddy, "im", 0) : nullptr;
    if (!conversation) {
        TAVI_LOG("OnEditChange fail! convsersation = NULL, SessionId = %s", sessionId.c_str());
        return;
    }
    if (GetPrefInt("SystemInfo.InstantShare.InputState", 1) != 1 || common::IsOwner(m_sessionId.c_str()) ||
        !m_typingArmed || qel_ext::QelConvGetSvrConvId(conversation).empty())
        return;
    const bool quietTester = std::string(qel_account_get_buddy_id(account)) == "10009003" &&
                             common::GetEXEConfig(u"Debug", u"UploadLog", 0) == 0;
    if (!quietTester && common::GetRBACLimit(kNoSendLimit) != 1)
        qel_ext::QelConversationSetReminder(conversation, 1, nullptr);
    const int64_t now = qel_get_adjusted_time();
    if (now - m_lastMarkReadTime > kMarkReadInterval || m_lastMarkReadTime - now > kMarkReadInterval) {
        m_lastMarkReadTime = now;
        if (qel_handle last = qel_conversation_find_msg(conversation, m_lastReadMsgId))
            qel_ext::QelConvRequestSetMsgReaded(conversation, last);
    }
}

void CTaviPanel::ShowSendBtnToolTip(const char16_t* text) {
    std::unique_ptr<CToolTipUI>& tip = SendButtonTip();
    const std::u16string content = util::SafeWide(text);
    if (tip && tip->IsVisible()) {
        tip->LockTimer(true);
        tip->SetText(content);
    } else {
        tip = std::make_unique<CToolTipUI>(content);
    }
    CControlUI* button = FindSubControl(u"input.msg_button.sendmsg");
    CWindowUI* window = GetWindow();
    const RECT bounds = button ? button->GetPos() : RECT{};
    const RECT frame = window ? window->GetWindowRect() : RECT{};
    tip->ShowTip(frame.left + bounds.left, frame.top + bounds.top, u"BR", 180, 3000, 4);
    tip->LockTimer(false);
}

void CTaviPanel::SetInputEditHeight(int height) {
    if (height < 61 || height > 499) return;
    if (CControlUI* input = FindSubControl(u"input")) input->SetCoordinate(0, height, 0, 0, 6);
    if (CControlUI* history = FindSubControl(u"history")) history->SetCoordinate(0, 0, 0, height, 8);
    if (CControlUI* splitter = FindSubControl(u"splitter")) {
        splitter->SetCoordinate(0, height, 0, height - 2, 6);
        splitter->Resize();
        splitter->Invalidate();
    }
}

}  // namespace tavi
