// The panel's construction, start, close and timers.
#include "panel/TaviPanel.h"
#include "panel/TaviSearchWindow.h"

#include "controls/RichEditWithToolUI.h"
#include "module/DllObject.h"
#include "module/ModuleDll.h"
#include "msghandle/GroupKind.h"
#include "msghandle/MsgHandle.h"
#include "panel/HostService.h"
#include "sdk/chatwnd.h"
#include "sdk/common.h"
#include "sdk/ctrlbinder.h"
#include "sdk/common_sdk.h"
#include "sdk/host.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui.h"
#include "sdk/ui/RichEditExUI.h"
#include "sdk/ui/WindowUI.h"
#include "util/Guid.h"
#include "util/Log.h"
#include "util/Localised.h"
#include "util/Strings.h"

namespace tavi {

namespace {
inline constexpr pfx::GUID kContextMenuProviderId = pfx::MakeGuid("{1E2478F9-824B-4685-85B5-B6A220E54F04}");

std::string Utf8(const std::u16string& text) { return util::WideToUtf8(text); }
}  // namespace

CTaviPanel::CTaviPanel() {
    m_marqueeTimer.Bind([this] { OnMarqueChangedTimer(); });
    m_relayoutTimer.Bind([this] { OnTimer(); });
    m_friendFeedEnabled = common::GetModuleConfig(u"IMCore", u"FriendFeed", 1) != 0;
}

CTaviPanel::~CTaviPanel() {
    unsubscribe_all();
    unsubscribe_all_timer_signals();
    m_pMsgHandle.reset();
    if (m_pContextMenuProvider) m_pContextMenuProvider->Release();
}

void CTaviPanel::SetInfo(const pfx::GUID& windowKey, const char16_t* sessionId, const char16_t* instanceName,
                         bool hasHistory, qel_handle account) {
    m_windowKey = windowKey;
    SetSessionId(sessionId);
    m_instanceName = util::SafeWide(instanceName);
    m_hasHistory = hasHistory;
    m_account = account;
}

void CTaviPanel::SetSessionId(const char16_t* sessionId) {
    m_sessionId = util::SafeWide(sessionId);
    // The handler is registered under the conversation it serves.
    m_handleId = m_sessionId;
}

int CTaviPanel::GetPrefInt(const char* key, int defaultValue) const {
    qel_handle pref = qel_account_preference(m_account.get());
    return pref ? qel_preference_get_int(pref, key, defaultValue) : defaultValue;
}

void CTaviPanel::SetPrefInt(const char* key, int value) {
    qel_handle pref = qel_account_preference(m_account.get());
    if (!pref) return;
    qel_preference_set_int(pref, key, value);
    qel_preference_save(pref, 0);
}

std::u16string CTaviPanel::GetPrefStr(const char* key, const char16_t* defaultValue) const {
    qel_handle pref = qel_account_preference(m_account.get());
    const char16_t* value = pref ? qel_preference_get_wstr(pref, key, defaultValue) : defaultValue;
    return util::SafeWide(value);
}

void CTaviPanel::OnCreate() {
    TAVI_SCOPE("CTaviPanel::OnCreate");
    TAVI_LOG("CTaviPanel::OnCreate id: %s", Utf8(m_sessionId).c_str());
    util::TraceLine("chat_open", " begin: %s", Utf8(m_sessionId).c_str());

    m_pHistoryView = dynamic_cast<CRichEditExUI*>(FindSubControl(u"history.view.viewrichedit"));
    if (m_pHistoryView) {
        m_pHistoryView->SetReadOnly(true);
        m_pHistoryView->EnableImageThumbnail(true);
        m_pHistoryView->SetUndoLimit(0);
        m_pHistoryView->EnableZoom(true);
        if (auto* tool = dynamic_cast<CRichEditWithToolUI*>(m_pHistoryView)) tool->SetNotify(this);
        m_pHistoryView->OnEvent += [this](TEventUI& event) { return OnChatViewEditEvent(event); };
        SCtrlValidBinder::SetCtrlPtr(ViewBinderKey().c_str(), m_pHistoryView);
    }
    if (!m_hasHistory) ApplyInputOnlyLayout();

    m_pInputEdit = dynamic_cast<CRichEditUI*>(FindSubControl(u"input.chatrichedit"));
    if (m_pInputEdit) {
        if (auto* tool = dynamic_cast<CRichEditWithToolUI*>(m_pInputEdit)) tool->SetNotify(this);
        m_pInputEdit->SetAutoURLDetect(false);
        m_pInputEdit->OnEvent += [this](TEventUI& event) { return OnChatEditEvent(event); };
        m_pInputEdit->SetLimitImageSize(150, 150);
        CDllObject* state = GetDllObject();
        if (state && state->m_bStarted) {
            LoadChatFont();
        } else {
            IUIRes* res = GetUIRes();
            m_pInputEdit->SetFont(res ? res->GetDefaultFontName() : u"", 12, false, false, false);
        }
    }
    ApplyShowScale();
    SetCaptureToolTip();
    if (m_pInputEdit) m_pInputEdit->SetFocus();
    HideCaptionBar();
    ShowFrdEvent(0, 0);
    InitBirthdayRemind();

    BindToolBarButtons();
    CDllObject* state = GetDllObject();
    SetItemVisible(this, u"input.left.font", state && state->m_bStarted);
    ApplyWindowKindButtons();
    ApplyPhotoButton();

    if (!m_pMsgHandle) {
        util::TraceLine("chat_open", " new CMsgHandle: %s", Utf8(m_sessionId).c_str());
        CreateMsgHandle();
    }
    if (m_pHistoryView) m_pHistoryView->SetTimer(kViewClearResourceTimer, 1800000);
    util::TraceLine("chat_open", " end: %s", Utf8(m_sessionId).c_str());
}

std::u16string CTaviPanel::ViewBinderKey() const { return util::FormatGuid(m_windowKey) + u"_" + m_sessionId; }

namespace {
// The same place seen in a right-to-left layout: left and right trade.
void MirrorCoordinates(CControlUI* control) {
    if (!control) return;
    int32_t left, top, right, bottom, anchor;
    control->GetCoordinate(left, top, right, bottom, anchor);
    switch (anchor) {
        case UIANCHOR_TOPLEFT: anchor = UIANCHOR_TOPRIGHT; break;
        case UIANCHOR_TOPRIGHT: anchor = UIANCHOR_TOPLEFT; break;
        case UIANCHOR_BOTTOMLEFT: anchor = UIANCHOR_BOTTOMRIGHT; break;
        case UIANCHOR_BOTTOMRIGHT: anchor = UIANCHOR_BOTTOMLEFT; break;
        case UIANCHOR_LEFT: anchor = UIANCHOR_RIGHT; break;
        case UIANCHOR_RIGHT: anchor = UIANCHOR_LEFT; break;
        default: break;
    }
    control->SetCoordinate(right, top, left, bottom, anchor);
}
}  // namespace

void CTaviPanel::ApplyInputOnlyLayout() {
    SetItemVisible(this, u"history.bk", false);
    SetItemVisible(this, u"history.view", false);
    if (CControlUI* history = FindSubControl(u"history")) history->Resize();
    if (CControlUI* splitter = FindSubControl(u"splitter")) {
        splitter->SetVisible(false);
        splitter->Resize();
    }
    if (CControlUI* input = FindSubControl(u"input")) input->SetCoordinate(0, 33, 0, 0, 8);
    SetItemVisible(this, u"input.left.imageediter", false);
    SetItemVisible(this, u"input.left.shake", false);
    SetItemVisible(this, u"input.left.font", false);
    if (CControlUI* left = FindSubControl(u"input.left")) left->Resize();
    if (CControlUI* input = FindSubControl(u"input")) input->Resize();
    Resize();
    Invalidate();
}

void CTaviPanel::ApplyShowScale() {
    const int scale = util::WToI(GetPrefStr("SystemInfo.Richedit.ShowScale", u"100%"));
    if (scale != 100 && m_pHistoryView) m_pHistoryView->SetZoom(scale, 100);
}

void CTaviPanel::SetCaptureToolTip() {
    const std::u16string hotKey = GetPrefStr("SystemInfo.HotKey.ScreenCapture", u"Ctrl + Alt + A");
    if (CControlUI* capture = FindSubControl(u"input.left.capture"))
        capture->SetToolTip(util::Localised(u"#SCREENSHOT") + u"   " + hotKey);
}

void CTaviPanel::HideCaptionBar() {
    if (!FindSubControl(u"history.view.loginout")) return;
    m_captionBarShown = false;
    ShowViewTipContainer(u"loginout", false);
}

void CTaviPanel::ApplyWindowKindButtons() {
    if (m_windowKey == kEmailKey) {
        SetItemVisible(this, u"input.left.emoticon", false);
        SetItemVisible(this, u"input.left.syspic", false);
    } else if (m_windowKey == kAdhocChatKey) {
        SetItemVisible(this, u"input.left.font", false);
        SetItemVisible(this, u"input.left.emoticon", false);
    }
}

void CTaviPanel::ApplyPhotoButton() {
    // The photo service is the host's; without it, or without a camera,
    // there is no photo button.
    CHostService<audio_video::ITakePhoto> camera(kPhotoServiceId);
    SetItemVisible(this, u"input.left.takephoto", camera && camera->CanTakePhoto());
}

void CTaviPanel::CreateMsgHandle() {
    m_pMsgHandle = std::make_unique<CMsgHandle>();
    m_pMsgHandle->SetParam(this, m_handleId.c_str(), m_sessionId.c_str(), m_account.get(), m_windowKey);
    m_lastReadMsgId = qel_ext::GetQELAttribs_msg_id(m_pMsgHandle->GetConversation(), "last-read-msgid");
    if (!m_hasHistory) m_pMsgHandle->SetShowHistory(false);
}

void CTaviPanel::OnMsgHandleDestroyed(CMsgHandle* handler) {
    if (m_pMsgHandle.get() == handler) (void)m_pMsgHandle.release();
}

void CTaviPanel::UpdateInfo() {
    if (!m_pMsgHandle) CreateMsgHandle();
    if (m_hasHistory) m_pMsgHandle->ShowGetMsg(0, false, false);
}

void CTaviPanel::InitMsgHandle() {
    TAVI_SCOPE("CTaviPanel::InitMsgHandle");
    TAVI_LOG("CTaviPanel::InitMsgHandle id: %s", Utf8(m_sessionId).c_str());
    UpdateInfo();
    IUIEngine* engine = GetUIEngine();
    if (engine && engine->IsRTLLayout()) {
        MirrorCoordinates(m_pInputEdit);
        MirrorCoordinates(m_pHistoryView);
    }
    subscribe_timer_signal(600, 86400, 2147483647, nullptr);
    SetMarqueeInfo();
    SetupBottomPanel();
    CreateContextMenuProvider();
    if (m_windowKey != kEmailKey) RegisterUnreadCounter();
    m_relayoutTimer.Start();
    if (m_pMsgHandle && m_pMsgHandle->GetConversation()) subscribe_attrib_changed(m_pMsgHandle->GetConversation());
    if (m_windowKey == kPersonChatKey) RequestPartnerReadCursor();
    if (m_pInputEdit) m_pInputEdit->SetTimer(kInputTypingTimer, 1000);
    SetMiniMode(false);
    ReportConversationType();
}

void CTaviPanel::SetupBottomPanel() {
    IAppMain* app = GetAppMain();
    IChatWndType* type = app ? app->GetChatWndType(m_windowKey) : nullptr;
    if (!type) return;
    const uint32_t flags = type->GetFlags();
    if ((flags & 1) && m_pHistoryView) m_pHistoryView->SetBottomPanel(FindSubControl(u"history.view.bottompanel"));
    if (flags & 2) OfferRecentPhotoPanel();
}

// The host's recent-photo panel shows once per buddy, through the service
// that fits the friend feed; a host without the service shows nothing.
void CTaviPanel::OfferRecentPhotoPanel() {
    qel_handle buddy = m_pMsgHandle ? qel_conversation_get_buddy(m_pMsgHandle->GetConversation()) : nullptr;
    if (!buddy || qel_attribs_get_int(buddy, "recentphotopanelflag", 0) != 0) return;
    CHostService<main::IRecentPhotoPanel> panel(m_friendFeedEnabled ? kRecentPhotoFeedServiceId
                                                                    : kRecentPhotoServiceId);
    if (!panel) return;
    panel->ShowRecentPhotoPanel(qel_buddy_get_id(buddy), GetHWND());
    qel_attribs_set_int(buddy, "recentphotopanelflag", 1, 3);
}

void CTaviPanel::CreateContextMenuProvider() {
    if (m_pContextMenuProvider) return;
    if (pfx::IHost* host = GetModuleHost()) host->CreateObject(&m_pContextMenuProvider, kContextMenuProviderId);
}

void CTaviPanel::RegisterUnreadCounter() {
    CControlUI* counter = FindSubControl(u"history.view.unread_msg");
    IAppMain* app = GetAppMain();
    if (!counter || !app) return;
    app->RegisterUnreadCounter(counter, m_sessionId.c_str(), u"TaviPanel", 999, u"%d", u"%d+", [this] {
        CWindowUI* window = GetWindow();
        IChatWndMgr* manager = GetChatWndMgr();
        return window && manager && manager->GetCurrentChatWnd() == window->GetHWND() && m_pHistoryView &&
               m_pHistoryView->IsNeedShowBottomPanel();
    });
}

void CTaviPanel::RequestPartnerReadCursor() {
    qel_handle buddies = qel_account_buddies(m_account.get());
    qel_handle buddy = buddies ? qel_buddies_find_buddy_base(buddies, Utf8(m_sessionId).c_str()) : nullptr;
    qel_handle conversation = buddy ? qel_buddy_get_conversation(buddy, "im", 0) : nullptr;
    if (conversation) qel_conversation_request_partner_read_cursor(conversation);
}

namespace {
void ReportNoMentionGroup(CTaviPanel* panel, qel_handle group) {
    IHostMsgSink* sink = panel->GetHostMsgSink();
    if (sink && GroupConvType(group) == kConvTypeNoMentions) sink->OnHostEvent(40, 0, kConvTypeNoMentions);
}

// The conversation's information arrived: the window may have gone meanwhile.
void OnConvInfo(int, void* context) {
    CTaviPanel* panel = nullptr;
    const HWND window = static_cast<HWND>(context);
    // A panel has its message handler from its start to its end.
    if (!IsWindow(window) || !GetTAVIPanel(&panel, window)) return;
    ReportNoMentionGroup(panel, qel_conversation_get_buddy_group(panel->GetMsgHandle()->GetConversation()));
}
}  // namespace

// Groups of type 6 are the host's to present; an unknown type is asked for.
void CTaviPanel::ReportConversationType() {
    if (!m_pMsgHandle) return;
    qel_handle conversation = m_pMsgHandle->GetConversation();
    qel_handle group = qel_conversation_get_buddy_group(conversation);
    const std::optional<int> type = GroupConvType(group);
    if (type == kConvTypeNoMentions) {
        ReportNoMentionGroup(this, group);
    } else if (type == kConvTypeUnknown) {
        CWindowUI* window = GetWindow();
        const std::string svrConvId = qel_ext::QelConvGetSvrConvId(conversation);
        qel_conversation_request_conv_info(conversation, svrConvId.c_str(), &OnConvInfo,
                                           window ? window->GetHWND() : nullptr);
    }
}

void CTaviPanel::OnDestroy() {
    TAVI_SCOPE("CTaviPanel::OnDestroy");
    m_pSearchWindow.reset();
    qel_handle current = qel_ext::QelGetCurAccount();
    if (current && qel_account_get_login_state(current) == 1) MarkLastReadOnClose();
    if (m_pHistoryView) {
        if (m_markReadOnDestroy) SetCurrentPosMsgRead();
        m_pHistoryView->KillTimer(kViewReadTimer);
    }
    // The tool bars must not reach a panel that is going.
    if (auto* tool = dynamic_cast<CRichEditWithToolUI*>(m_pHistoryView)) tool->SetNotify(nullptr);
    if (auto* tool = dynamic_cast<CRichEditWithToolUI*>(m_pInputEdit)) tool->SetNotify(nullptr);
    if (m_pHistoryView && SCtrlValidBinder::GetCtrlPtr(ViewBinderKey().c_str()) == m_pHistoryView)
        SCtrlValidBinder::SetCtrlPtr(ViewBinderKey().c_str(), nullptr);
    // The counter asks the panel whether it may show; it must not ask a gone one.
    CControlUI* counter = FindSubControl(u"history.view.unread_msg");
    if (IAppMain* app = GetAppMain(); app && counter) app->UnregisterUnreadCounter(counter);
    ReleaseToolPopups();
    CCompositeUI::OnDestroy();
}

void CTaviPanel::MarkLastReadOnClose() {
    if (!m_pMsgHandle) {
        TAVI_LOG("CTaviPanel::OnDestroy error! m_pMsgHandle == NULL id: %s", Utf8(m_sessionId).c_str());
        return;
    }
    qel_handle conversation = m_pMsgHandle->GetConversation();
    qel_handle message = conversation ? qel_conversation_find_msg(conversation, m_lastReadMsgId) : nullptr;
    if (message) qel_ext::QelConvRequestSetMsgReaded(conversation, message);
}


void CTaviPanel::OnTimer() {
    m_relayoutTimer.Stop();
    if (m_pHistoryView) m_pHistoryView->Resize();
}

bool CTaviPanel::OnChatViewEditEvent(TEventUI& event) {
    if (event.Type == UIEVENT_TIMER && event.wParam == kViewClearResourceTimer) {
        m_pHistoryView->ClearResource();
        return false;
    }
    if (event.Type == UIEVENT_TIMER && event.wParam == kViewReadTimer) {
        OnViewReadTimer();
        return false;
    }
    const bool scrolledOrResized =
        event.Type == UIEVENT_SCROLLWHEEL || event.Type == UIEVENT_VSCROLL || event.Type == UIEVENT_WINDOWSIZE;
    if (scrolledOrResized && m_pHistoryView->GetMsgCount() > 0) {
        if (event.Type == UIEVENT_WINDOWSIZE) {
            // A size event that leaves the view where it was changes nothing.
            const RECT rect = m_pHistoryView->GetPos();
            if (rect.left == m_savedHistoryRect.left && rect.top == m_savedHistoryRect.top &&
                rect.right == m_savedHistoryRect.right && rect.bottom == m_savedHistoryRect.bottom)
                return true;
            m_savedHistoryRect = rect;
        }
        RestartViewReadTimer(50);
    }
    return true;
}

void CTaviPanel::RestartViewReadTimer(uint32_t ms) {
    if (!m_pHistoryView) return;
    m_pHistoryView->KillTimer(kViewReadTimer);
    m_pHistoryView->SetTimer(kViewReadTimer, ms);
}

void CTaviPanel::OnViewReadTimer() {
    m_pHistoryView->KillTimer(kViewReadTimer);
    // In a window of the chat window manager, only the window the user
    // looks at marks what it shows as read.
    IChatWndMgr* manager = GetChatWndMgr();
    CWindowUI* window = GetWindow();
    if (manager && window && manager->IsManagedWnd(window->GetHWND()) &&
        manager->GetCurrentChatWnd() != window->GetHWND())
        return;
    SetCurrentPosMsgRead();
}

bool CTaviPanel::OnChatEditEvent(TEventUI& event) {
    // While the member popup shows, it has the first say on keys and focus.
    if (!OnAtPopupEditEvent(event)) return false;
    if (event.Type == UIEVENT_CHAR && event.chKey == 13) return OnEnterKey(event);
    if (event.Type == UIEVENT_TIMER && event.wParam == kInputTypingTimer) {
        m_pInputEdit->KillTimer(kInputTypingTimer);
        m_typingArmed = true;
        return false;
    }
    return true;
}

void CTaviPanel::SetChatParticipants(pfx::IStrVector* list, int value) {
    m_participants.Clear();
    if (list) {
        list->ForEach([](const char16_t* text, void* user) { static_cast<pfx::CStrVector*>(user)->Add(text); },
                      &m_participants);
    }
    m_participantsValue = value;
}


void CTaviPanel::on_sig_timeout(void*) { InitBirthdayRemind(); }

void CTaviPanel::on_sig_attrib_changed(qel_handle, const char** names, int count) {
    if (!names) return;
    for (int i = 0; i < count; ++i) {
        const std::string name = names[i] ? names[i] : "";
        if (name == "recent-msg-loaded") OnRecentMsgLoaded();
        else if (name == "partner-read-cursor") OnPartnerReadCursorChanged();
        else if (name.find("receipt-unread-msgid") != std::string::npos) OnReceiptUnreadChanged(name);
    }
}

void CTaviPanel::OnPartnerReadCursorChanged() {
    if (!m_pMsgHandle) return;
    qel_handle conversation = m_pMsgHandle->GetConversation();
    if (!conversation) return;
    IChatWndMgr* manager = GetChatWndMgr();
    const HWND window = GetWindow() ? GetWindow()->GetHWND() : nullptr;
    if (manager) manager->BeginPartnerCursorUpdate(window);
    const int64_t cursor = qel_attribs_get_int64(conversation, "partner-read-cursor", 0);
    qel_handle message = qel_conversation_find_msg_from_conv_msg_id(conversation, uint64_t(cursor));
    if (message) m_pMsgHandle->AddParternUnReadBtn(conversation, &message, 1);
    m_pMsgHandle->AddPartnerReadCursor(conversation);
    if (manager) manager->EndPartnerCursorUpdate(window);
}

void CTaviPanel::OnReceiptUnreadChanged(const std::string& name) {
    if (!m_pMsgHandle) return;
    qel_handle conversation = m_pMsgHandle->GetConversation();
    if (!conversation) return;
    // "<sequence number>-<unread count>" of the last receipt message sent.
    const char* value = qel_attribs_get_str(conversation, name.c_str(), "");
    const std::string text = value ? value : "";
    const uint64_t sequence = qel_ext::Str2MsgId(text.substr(0, text.find('-')));
    qel_handle message = qel_conversation_find_msg_from_conv_msg_id(conversation, sequence);
    if (message) m_pMsgHandle->RequestReceiptSummary(conversation, &message, 1);
}

void CTaviPanel::on_sig_buddy_group_attrib_changed(qel_handle group) {
    const char* id = qel_buddy_group_get_id(group);
    if (!id || util::Utf8ToWide(id) != m_sessionId) return;
    CControlUI* button = FindSubControl(u"input.left.receivetype");
    if (!button) return;
    std::u16string tip;
    GetRecTypeTip(tip, common::GetQELAttribs_int(group, "refusemsg", 0));
    button->SetToolTip(tip);
}

}  // namespace tavi
