// Moving a panel from one conversation to another.
#include "msghandle/MsgHandle.h"
#include "panel/TaviPanel.h"
#include "sdk/ctrlbinder.h"
#include "sdk/host.h"
#include "sdk/ui/RichEditExUI.h"
#include "sdk/ui/RichEditUI.h"
#include "util/Strings.h"

namespace tavi {

void CTaviPanel::Rebind(const pfx::GUID& windowKey, const char16_t* sessionId) {
    const std::u16string session = util::SafeWide(sessionId);
    const bool moving = m_pMsgHandle && (session != m_sessionId || windowKey != m_windowKey);
    CControlUI* counter = moving ? FindSubControl(u"history.view.unread_msg") : nullptr;
    IAppMain* app = GetAppMain();
    if (moving) {
        // The handler saves the old conversation's draft from the input as it
        // goes; only then may the input be emptied for the new conversation.
        m_pMsgHandle.reset();
        // The old group's members are no one to mention in the new conversation.
        HideAtWindow();
        if (m_pInputEdit) m_pInputEdit->SetText(u"");
        ClearMsgExceptHeaderLine();
        m_historyMsgHandle.Reset();
        unsubscribe_all();
        if (m_pHistoryView && SCtrlValidBinder::GetCtrlPtr(ViewBinderKey().c_str()) == m_pHistoryView)
            SCtrlValidBinder::SetCtrlPtr(ViewBinderKey().c_str(), nullptr);
        if (app && counter) app->UnregisterUnreadCounter(counter);
    }
    SetWindowKey(windowKey);
    SetSessionId(sessionId);
    UpdateInfo();
    if (!moving) return;
    if (m_pHistoryView) SCtrlValidBinder::SetCtrlPtr(ViewBinderKey().c_str(), m_pHistoryView);
    if (m_windowKey != kEmailKey) RegisterUnreadCounter();
    if (m_pMsgHandle) subscribe_attrib_changed(m_pMsgHandle->GetConversation());
}

}  // namespace tavi
