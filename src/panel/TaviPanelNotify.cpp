// The panel's notification dispatch and the commands of the input area:
// the send button with its fast replies, the hot-key menu, the receive
// type of a group, the message manager and the close button.
#include <iterator>

#include "module/DllObject.h"
#include "msghandle/MsgHandle.h"
#include "msghandle/NoticeText.h"
#include "panel/TaviPanel.h"
#include "sdk/chatwnd.h"
#include "sdk/common.h"
#include "sdk/common_sdk.h"
#include "sdk/host.h"
#include "sdk/qel_account.h"
#include "sdk/qel_conversation.h"
#include "sdk/ui.h"
#include "sdk/ui/MenuUI.h"
#include "sdk/ui/RichEditExUI.h"
#include "sdk/ui/WindowUI.h"
#include "util/Log.h"
#include "util/Localised.h"
#include "util/Strings.h"

namespace tavi {

namespace {

constexpr int32_t kFastReplyMenu = 120201;
constexpr int32_t kHotKeyMenu = 41015;
constexpr int32_t kReceiveTypeMenu = 43800;
constexpr int32_t kHotKeyNone = 40202;
constexpr int32_t kHotKeyEnter = 40203;
constexpr int32_t kHotKeyCtrlEnter = 40204;
constexpr int32_t kCloseAfterSend = 40205;
constexpr int32_t kReceiveAndPrompt = 43801;
constexpr int32_t kReceiveNoPrompt = 43802;
constexpr int32_t kReceiveAutoPop = 43803;
constexpr int32_t kReceiveBlock = 10003;
constexpr uint32_t kViewAddMsgDelayMs = 1000;
constexpr const char16_t* kBuiltInReplies[] = {u"#OH", u"#OK_OK_I_SEE", u"#REALLY_Q", u"#ARE_YOU_SERIOUS_Q"};

using Handler = bool (CTaviPanel::*)(TNotifyUI&);

struct SNotifyEntry {
    int32_t type;
    const char16_t* id;  // null: any sender
    int32_t menuId;      // non-zero: the menu the command comes from
    Handler handler;
    const char* name;
};

const TMenuItemInfo* MenuItemOf(const TNotifyUI& msg) { return reinterpret_cast<const TMenuItemInfo*>(msg.wParam); }

}  // namespace

bool CTaviPanel::ProcessNotify(TNotifyUI& msg) {
    // Entries whose features are not part of the panel yet stay out.
    static const SNotifyEntry kEntries[] = {
        {UINOTIFY_SELCHANGE, u"fontface", 0, &CTaviPanel::OnFontFaceChange, "OnFontFaceChange"},
        {UINOTIFY_SELCHANGE, u"fontsize", 0, &CTaviPanel::OnFontSizeChange, "OnFontSizeChange"},
        {UINOTIFY_CLICK, u"fontbold", 0, &CTaviPanel::OnBtnFontBold, "OnBtnFontBold"},
        {UINOTIFY_CLICK, u"fontitalic", 0, &CTaviPanel::OnBtnFontItalic, "OnBtnFontItalic"},
        {UINOTIFY_CLICK, u"fontunderline", 0, &CTaviPanel::OnBtnFontUnderline, "OnBtnFontUnderline"},
        {UINOTIFY_CLICK, u"fontcolor", 0, &CTaviPanel::OnBtnFontColorNotify, "OnBtnFontColor"},
        {UINOTIFY_CLICK, u"sendmsg", 0, &CTaviPanel::OnBtnSendMsg, "OnBtnSendMsg"},
        {UINOTIFY_CLICK, u"sendmsgmenu", 0, &CTaviPanel::OnBtnSendMsgMenu, "OnBtnSendMsgMenu"},
        {UINOTIFY_TEXTCHANGED, u"chatrichedit", 0, &CTaviPanel::OnEditChangeNotify, "OnEditChange"},
        {UINOTIFY_CLICK, u"close", 0, &CTaviPanel::OnCloseBtnClick, "OnCloseBtnClick"},
        {UINOTIFY_CLICK, u"IconButtoncancel", 0, &CTaviPanel::OnIconButtoncancelClick, "OnIconButtoncancelClick"},
        {UINOTIFY_SETFOCUS, u"chatrichedit", 0, &CTaviPanel::OnEditGetFocus, "OnEditGetFocus"},
        {UINOTIFY_CLICK, u"receivetype", 0, &CTaviPanel::OnBtnReceiveType, "OnBtnReceiveType"},
        {UINOTIFY_CLICK, u"message", 0, &CTaviPanel::OnBtnMessageMrg, "OnBtnMessageMrg"},
        {UINOTIFY_CLICK, u"cancelbirthRemind", 0, &CTaviPanel::OnCancelBirthRemind, "OnCancelBirthRemind"},
        {UINOTIFY_CLICK, u"cancelAtRemind", 0, &CTaviPanel::OnCancelAtRemind, "OnCancelAtRemind"},
        {UINOTIFY_CLICK, u"AtRemind", 0, &CTaviPanel::OnAtMsgRemind, "OnAtMsgRemind"},
        {UINOTIFY_CLICK, u"AtInfoFace", 0, &CTaviPanel::OnAtRemind, "OnAtRemind"},
        {UINOTIFY_CLICK, u"GrpTopRemind", 0, &CTaviPanel::OnGrpTopMsgRemindNotify, "OnGrpTopMsgRemind"},
        {UINOTIFY_CLICK, u"birRemind", 0, &CTaviPanel::OnBirthRemind, "OnBirthRemind"},
        {UINOTIFY_CLICK, u"showmoremsg", 0, &CTaviPanel::OnBtnShowMoreMsgNotify, "OnBtnShowMoreMsg"},
        {UINOTIFY_CLICK, u"bottom_panel_info", 0, &CTaviPanel::OnBtnRichEditInfo, "OnBtnRichEditInfo"},
        {UINOTIFY_CLICK, nullptr, kReceiveTypeMenu, &CTaviPanel::OnBtnReceiveTypeMenu, "OnBtnReceiveTypeMenu"},
        {UINOTIFY_CLICK, nullptr, kFastReplyMenu, &CTaviPanel::OnFastReplyMenuClick, "OnFastReplyMenuClick"},
        {UINOTIFY_CLICK, nullptr, kHotKeyMenu, &CTaviPanel::OnMenuItemClick, "OnMenuItemClick"},
        {UINOTIFY_CLICK, u"RecieptUnreadBtn", 0, &CTaviPanel::OnBtnRecieptUnReadBtn, "OnBtnRecieptUnReadBtn"},
        {UINOTIFY_CLICK, u"cancelGrpRemind", 0, &CTaviPanel::OnCancelGrpTopRemindNotify, "OnCancelGrpTopRemind"},
        {UINOTIFY_CLICK, u"pic", 0, &CTaviPanel::OnBtnPic, "OnBtnPic"},
        {UINOTIFY_CLICK, u"takephoto", 0, &CTaviPanel::OnBtnTakePhoto, "OnTakePhoto"},
        {UINOTIFY_DROPFILES, nullptr, 0, &CTaviPanel::OnDropFilesNotify, "OnDropFiles"},
        {UINOTIFY_DBLCLICK, u"viewrichedit", 0, &CTaviPanel::OnDbClickREImage, "OnDbClickREImage"},
        {UINOTIFY_DBLCLICK, u"chatrichedit", 0, &CTaviPanel::OnDbClickREImage, "OnDbClickREImage"},
        {UINOTIFY_DBLCLICK_IMAGE, u"viewrichedit", 0, &CTaviPanel::OnDbClickREImage, "OnDbClickREImage"},
        {UINOTIFY_CLICK, nullptr, kPictureMenu, &CTaviPanel::OnBtnPicMenu, "OnBtnPicMenu"},
        {UINOTIFY_LINK, u"viewrichedit", 0, &CTaviPanel::OnLinkClick, "OnLinkClick"},
        {UINOTIFY_RCLICK, u"viewrichedit", 0, &CTaviPanel::OnRClickViewEdit, "OnRClickViewEdit"},
        {UINOTIFY_RCLICK, u"chatrichedit", 0, &CTaviPanel::OnRClickChatEdit, "OnRClickChatEdit"},
        {UINOTIFY_CLICK, u"add_collect_tag", 0, &CTaviPanel::OnBtnAddCollectTag, "OnBtnAddCollectTag"},
        {UINOTIFY_CLICK, nullptr, 50000, &CTaviPanel::OnViewREMenuItemClick, "OnViewREMenuItemClick"},
        {UINOTIFY_CLICK, nullptr, 50010, &CTaviPanel::OnChatREMenuItemClick, "OnChatREMenuItemClick"},
        {UINOTIFY_CLICK, nullptr, 39000, &CTaviPanel::OnMenuFrdItemClick, "OnMenuFrdItemClick"},
        {UINOTIFY_CLICK, u"resendmsg", 0, &CTaviPanel::OnBtnResend, "OnBtnResend"},
        {UINOTIFY_RE_ZOOM, nullptr, 0, &CTaviPanel::OnZoom, "OnZoom"},
        {UINOTIFY_RE_ADDMSG, nullptr, 0, &CTaviPanel::OnViewRichEditAddMsg, "OnViewRichEditAddMsg"},
    };
    for (const SNotifyEntry& entry : kEntries) {
        if (msg.nType != entry.type) continue;
        if (entry.id && (!msg.pSender || !util::EqualsNoCase(msg.pSender->GetId(), entry.id))) continue;
        if (entry.menuId && msg.lParam != entry.menuId) continue;
        std::unique_ptr<CUITrace> trace;
        if (IsTraceUIMsgType(msg.nType)) trace = std::make_unique<CUITrace>(msg.nType, entry.name);
        if ((this->*entry.handler)(msg)) return true;
    }
    return false;
}

void CTaviPanel::ShowMenuAtButton(CMenuUI* menu, CControlUI* button) {
    CWindowUI* window = GetWindow();
    if (!window) {
        delete menu;
        return;
    }
    RECT bounds = button ? button->GetPos() : RECT{};
    const RECT frame = window->GetWindowRect();
    IUIEngine* engine = GetUIEngine();
    const int32_t x = frame.left + (engine && engine->IsRTLLayout() ? bounds.right : bounds.left);
    menu->Show(window->GetHWND(), x, frame.top + bounds.bottom + 2, this);
}

bool CTaviPanel::OnBtnSendMsg(TNotifyUI& msg) {
    if (!m_pInputEdit || m_pInputEdit->GetText().empty()) {
        ShowFastReplyMenu(msg.pSender);
        return true;
    }
    SendMsg();
    return true;
}

void CTaviPanel::ShowFastReplyMenu(CControlUI* button) {
    qel_handle account = m_account.get();
    auto* menu = new CMenuUI(kFastReplyMenu);
    int count = 0;
    qel_handle pref = qel_account_preference(account);
    const char16_t* const* replies =
        pref ? qel_preference_get_wstr_array(pref, "SystemInfo.AutoReply.FastReply", &count) : nullptr;
    if (replies && count > 0) {
        std::vector<std::u16string> texts(replies, replies + count);
        const int checked = GetPrefInt("SystemInfo.AutoReply.SetFastReply", 0);
        for (int i = 0; i < count; ++i) menu->AddItem(2 + i, texts[size_t(i)], i == checked);
        menu->AddSeparator();
        bool builtIn = count == int(std::size(kBuiltInReplies));
        for (int i = 0; builtIn && i < count; ++i) builtIn = texts[size_t(i)] == util::Localised(kBuiltInReplies[i]);
        // A stored copy of the built-in replies is dropped so that later
        // translations of them show.
        if (builtIn) {
            qel_preference_remove(pref, "SystemInfo.AutoReply.FastReply");
            SetPrefInt("SystemInfo.AutoReply.FirstLoad", 1);
        }
    } else if (GetPrefInt("SystemInfo.AutoReply.FirstLoad", 1) != 0) {
        for (int i = 0; i < int(std::size(kBuiltInReplies)); ++i)
            menu->AddItem(2 + i, util::Localised(kBuiltInReplies[i]), i == 0);
        menu->AddSeparator();
    }
    menu->AddItem(kFastReplyMenu, util::Localised(u"#FAST_REPLY_MENU_SETTING"));
    ShowMenuAtButton(menu, button);
}

bool CTaviPanel::OnFastReplyMenuClick(TNotifyUI& msg) {
    const TMenuItemInfo* item = MenuItemOf(msg);
    if (!item || item->nId == 0) return true;
    if (item->nId == kFastReplyMenu) {
        if (IAppMain* app = GetAppMain()) app->OpenFastReplySetting(m_handleId.c_str(), 1, 0);
        return true;
    }
    if (m_pInputEdit) m_pInputEdit->SetText(item->sText);
    SendMsg();
    return true;
}

bool CTaviPanel::OnBtnSendMsgMenu(TNotifyUI& msg) {
    m_closeAfterSend = GetPrefInt("SystemInfo.HotKey.CloseAfterSendMsg", 0) != 0;
    auto* menu = new CMenuUI();
    if (!menu->Load(kHotKeyMenu)) {
        delete menu;
        return true;
    }
    for (int i = 0; i < 3; ++i) menu->CheckItemAt(i, false);
    switch (GetPrefInt("SystemInfo.HotKey.Enter", 0)) {
        case -1: menu->CheckItemAt(0, true); break;
        case 0: menu->CheckItemAt(2, true); break;
        case 1: menu->CheckItemAt(1, true); break;
        default: break;
    }
    if (m_closeAfterSend) menu->CheckItemAt(3, true);
    if (common::GetEXEConfig(u"normal", u"remove_send_msg_no_hotkey", 0) == 1) menu->RemoveItemAt(0);
    ShowMenuAtButton(menu, msg.pSender);
    return true;
}

bool CTaviPanel::OnMenuItemClick(TNotifyUI& msg) {
    const TMenuItemInfo* item = MenuItemOf(msg);
    if (!item) return true;
    const auto storeHotKey = [&](int value) {
        if (m_pInputEdit) m_pInputEdit->SetFocus();
        SetPrefInt("SystemInfo.HotKey.Enter", value);
    };
    switch (item->nId) {
        case kHotKeyNone: storeHotKey(-1); break;
        case kHotKeyEnter: storeHotKey(1); break;
        case kHotKeyCtrlEnter: storeHotKey(0); break;
        case kCloseAfterSend:
            m_closeAfterSend = !m_closeAfterSend;
            SetPrefInt("SystemInfo.HotKey.CloseAfterSendMsg", m_closeAfterSend ? 1 : 0);
            if (m_closeAfterSend && m_pHostSink && m_pHostSink->MustStayOpen() && m_pHistoryView) {
                const std::u16string text = MakeNoticeText(util::Localised(u"#SETTING_MSG_CLOSE_FAIL"), 2, 8);
                ShowNotifyMsgInRE(qel_get_adjusted_time(), false, text.c_str(), m_pHistoryView, false, nullptr, false,
                                  0, -1, false);
            }
            break;
        default: break;
    }
    return true;
}

qel_handle CTaviPanel::GetSessionCategory() const {
    IAppMain* app = GetAppMain();
    IChatWndType* type = app ? app->GetChatWndType(m_windowKey) : nullptr;
    qel_handle buddies = qel_account_buddies(m_account.get());
    return type && buddies ? qel_buddies_find_cate(buddies, type->GetCateType()) : nullptr;
}

qel_handle CTaviPanel::GetSessionGroup() const {
    qel_handle cate = GetSessionCategory();
    return cate ? qel_buddies_cate_find_buddy_group(cate, util::WideToUtf8(m_sessionId).c_str()) : nullptr;
}

void CTaviPanel::GetRecTypeTip(std::u16string& text, int value) {
    switch (value) {
        case 0: text = util::Localised(u"#RECEIVE_AND_PROMPT_MESSAGES"); break;
        case 1: text = util::Localised(u"#RECEIVE_BUT_NOT_PROMPT_MESSAGES"); break;
        case 2: text = util::Localised(u"#AUTOMATICALLY_POP_OUT_MESSAGES"); break;
        default: text.clear(); break;
    }
}

bool CTaviPanel::OnBtnReceiveType(TNotifyUI& msg) {
    const int value = common::GetQELAttribs_int(GetSessionGroup(), "refusemsg", 0);
    auto* menu = new CMenuUI(kReceiveTypeMenu);
    menu->AddItem(kReceiveAndPrompt, util::Localised(u"#RECEIVE_AND_PROMPT_MESSAGES"), value == 0);
    menu->AddItem(kReceiveNoPrompt, util::Localised(u"#RECEIVE_BUT_NOT_PROMPT_MESSAGES"), value == 1);
    ShowMenuAtButton(menu, msg.pSender);
    return true;
}

bool CTaviPanel::OnBtnReceiveTypeMenu(TNotifyUI& msg) {
    const TMenuItemInfo* item = MenuItemOf(msg);
    int value = -1;
    switch (item ? item->nId : 0) {
        case kReceiveAndPrompt: value = 0; break;
        case kReceiveNoPrompt: value = 1; break;
        case kReceiveAutoPop: value = 2; break;
        case kReceiveBlock: value = 3; break;
        default: return true;
    }
    common::SetQELAttribs_int(GetSessionGroup(), "refusemsg", value, 1);
    return true;
}

bool CTaviPanel::OnBtnMessageMrg(TNotifyUI&) {
    IAppMain* app = GetAppMain();
    IChatWndType* type = app ? app->GetChatWndType(m_windowKey) : nullptr;
    if (app) app->OpenMsgManager(-7169, util::WideToUtf8(m_sessionId).c_str(), "", type ? type->GetCateType() : 0);
    return true;
}

bool CTaviPanel::OnCloseBtnClick(TNotifyUI&) {
    CWindowUI* window = GetWindow();
    if (!window) return true;
    auto* chat = dynamic_cast<CChatWindowUI*>(window);
    IChatWndMgr* manager = GetChatWndMgr();
    if (chat && chat->IsShowCombineList() && manager) manager->CloseCombinedChatWnd(window->GetHWND());
    else window->CloseWindow(1);
    return true;
}

bool CTaviPanel::OnIconButtoncancelClick(TNotifyUI&) {
    HideCaptionBar();
    return true;
}

bool CTaviPanel::OnBtnRichEditInfo(TNotifyUI&) {
    if (m_pHistoryView) m_pHistoryView->EndDown();
    if (m_pMsgHandle && m_pMsgHandle->GetConversation())
        qel_conversation_set_readed_ex(m_pMsgHandle->GetConversation(), 0, "CTaviPanel::OnBtnRichEditInfo");
    return true;
}

bool CTaviPanel::OnZoom(TNotifyUI&) {
    TAVI_LOG("CTaviPanel::OnZoom");
    return false;
}

bool CTaviPanel::OnViewRichEditAddMsg(TNotifyUI&) {
    if (m_pHistoryView) m_pHistoryView->SetTimer(kViewReadTimer, kViewAddMsgDelayMs);
    return true;
}

bool CTaviPanel::OnEditChangeNotify(TNotifyUI& msg) {
    OnEditChange(msg.wParam != 0 ? 1 : 0);
    return true;
}

}  // namespace tavi
