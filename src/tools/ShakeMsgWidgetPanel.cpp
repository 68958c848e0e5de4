#include "tools/ShakeMsgWidgetPanel.h"

#include <memory>

#include "module/ModuleDll.h"
#include "msghandle/MsgOpsSupport.h"
#include "module/ShakePlugin.h"
#include "sdk/chatwnd.h"
#include "sdk/common_sdk.h"
#include "sdk/common_status.h"
#include "sdk/host.h"
#include "sdk/qel_account.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui.h"
#include "sdk/ui/MenuUI.h"
#include "sdk/ui/MessageBoxUI.h"
#include "sdk/ui/WindowUI.h"
#include "util/Log.h"
#include "util/Localised.h"
#include "util/Strings.h"

namespace tavi {

namespace {

constexpr char kAcceptShakePref[] = "SystemInfo.FriendChat_Normal.AllowAcceptDlgShake";
constexpr char kNoSendPermission[] = "im.pc.not.send.message.function";
constexpr int kShakeReminderType = 2;
constexpr uint32_t kTooSoonSeconds = 9;

qel_handle CurrentPreferences() { return qel_account_preference(qel_ext::QelGetCurAccount()); }

void ShowBox(HWND owner, const char16_t* textKey, const char16_t* captionKey, int type) {
    ShowOpBox(owner, util::Localised(textKey), captionKey, u"#OK", type);
}

}  // namespace

void CShakeMsgWidgetPanel::OnCreate() {
    pfx::IHost* host = GetModuleHost();
    pfx::IObject* object = nullptr;
    if (host && host->QueryObject(GetId().c_str(), &object) && object) {
        if (auto* plugin = dynamic_cast<CShakeMsgWidgetPlugin*>(object)) {
            m_instanceName = util::SafeWide(plugin->GetInstanceName());
            m_sessionId = util::SafeWide(plugin->GetSessionName());
        }
        object->Release();
    }
    // No shaking a special proxy user: the button goes away.
    if (common::SpecialProxyUserId(m_sessionId.c_str())) {
        SetVisible(false);
        NeedParentUpdate();
        if (CControlUI* parent = GetParent()) parent->Invalidate();
    }
}

bool CShakeMsgWidgetPanel::ProcessNotify(TNotifyUI& msg) {
    if (msg.nType != UINOTIFY_CLICK) return false;
    if (msg.pSender && util::EqualsNoCase(msg.pSender->GetId(), u"shake")) {
        std::unique_ptr<CUITrace> trace;
        if (IsTraceUIMsgType(msg.nType))
            trace = std::make_unique<CUITrace>(msg.nType, "CShakeMsgWidgetPanel::ProcessNotify OnBtnShake");
        if (OnBtnShake(msg)) return true;
    }
    if (msg.lParam == kShakeMenuId) {
        std::unique_ptr<CUITrace> trace;
        if (IsTraceUIMsgType(msg.nType))
            trace = std::make_unique<CUITrace>(msg.nType, "CShakeMsgWidgetPanel::ProcessNotify OnBtnShakeMenu");
        return OnBtnShakeMenu(msg);
    }
    return false;
}

bool CShakeMsgWidgetPanel::OnBtnShake(TNotifyUI& msg) {
    TAVI_SCOPE("CShakeMsgWidgetPanel::OnBtnShake");
    if (IAppMain* app = GetAppMain()) app->ReportUsageEvent("e_fun_chat_tool_shake", "OnBtnShake", GetModuleInstance());
    // The button's drop-down part offers the menu instead.
    if (msg.lParam != 0) {
        ShowShakeMenu();
        return true;
    }
    CWindowUI* window = GetWindow();
    const HWND hwnd = window ? window->GetHWND() : nullptr;
    if (common::GetRBACLimit(kNoSendPermission)) {
        ShowBox(hwnd, u"#IDS_RBAC_NOT_SEND_MESSAGE_PERMISSION", u"#IDS_RBAC_NOT_SEND_MESSAGE_PERMISSION", 1);
        return true;
    }

    std::u16string notice = util::Localised(u"#SEND_WINDOWS_SHAKE");
    bool allowed = true;
    const int64_t now = CrtTime();
    // A refused click keeps the time of the last shake that went out.
    if (m_lastShakeTime != 0 && uint32_t(now - m_lastShakeTime) <= kTooSoonSeconds) {
        allowed = false;
        notice = util::Localised(u"#SHAKE_TOO_FREQUENTLY");
    } else {
        m_lastShakeTime = now;
    }

    qel_handle account = qel_ext::QelGetCurAccount();
    const std::string sessionId = util::WideToUtf8(m_sessionId);
    qel_handle buddies = qel_account_buddies(account);
    qel_handle partner = buddies ? qel_buddies_find_buddy_base(buddies, sessionId.c_str()) : nullptr;
    if (partner && allowed && common::HasPresence(partner)) {
        const int status = common::GetStatusType(partner, account);
        if (status == 0 || status == 2) {
            allowed = false;
            notice = util::Localised(u"#OFFLINE_CANNOT_SHAKE");
        }
    }
    if (allowed) {
        qel_handle conversation = partner ? qel_buddy_get_conversation(partner, "im", 1) : nullptr;
        if (conversation) {
            qel_ext::QelConversationSetReminder(conversation, kShakeReminderType, "normal");
        } else {
            TAVI_LOG_FAIL("OnBtnShake fail! convsersation = NULL, SessionId = %s", sessionId.c_str());
            ShowBox(hwnd, u"#OnBtnShake fail!", u"#Tip", 0);
        }
        // The own window shakes too, so the user sees what the partner sees.
        if (window) window->WindowProc(kWmShakeWindow, 0, 0);
    }
    WriteNotice(notice);
    return true;
}

void CShakeMsgWidgetPanel::ShowShakeMenu() {
    CWindowUI* window = GetWindow();
    if (!window) return;
    auto* menu = new CMenuUI();
    if (!menu->Load(kShakeMenuId)) {
        delete menu;
        return;
    }
    qel_handle pref = CurrentPreferences();
    const bool accepting = !pref || qel_preference_get_int(pref, kAcceptShakePref, 1) != 0;
    menu->CheckItem(kAcceptShakeItemId, accepting);
    const RECT bounds = GetPos();
    const RECT frame = window->GetWindowRect();
    menu->Show(window->GetHWND(), frame.left + bounds.left, frame.top + bounds.bottom + 2, this);
}

bool CShakeMsgWidgetPanel::OnBtnShakeMenu(TNotifyUI& msg) {
    TAVI_SCOPE("CShakeMsgWidgetPanel::OnBtnShakeMenu");
    const auto* item = reinterpret_cast<const TMenuItemInfo*>(msg.wParam);
    if (!item || item->nId != kAcceptShakeItemId) return false;
    qel_handle pref = CurrentPreferences();
    if (!pref) return true;
    // The item showed the switch as it stood: a checked item turns it off.
    const bool wasChecked = qel_preference_get_int(pref, kAcceptShakePref, 1) != 0;
    qel_preference_set_int(pref, kAcceptShakePref, wasChecked ? 0 : 1);
    qel_preference_save(pref, 0);
    return true;
}

void CShakeMsgWidgetPanel::WriteNotice(const std::u16string& notice) {
    CWindowUI* window = GetWindow();
    IChatWndMgr* manager = GetChatWndMgr();
    ITavi* component = nullptr;
    if (!window || !manager || !manager->GetTavi(window->GetHWND(), &component) || !component) return;
    const bool hasHistory = component->GetMsgHistoryRichEdit() != nullptr;
    component->Release();
    // The window outlives the released reference; the component is its own.
    if (hasHistory) component->InsertSimpleInfoMsg(notice.c_str(), true);
}

}  // namespace tavi
