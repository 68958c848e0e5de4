// The panel's start and close: input-only panels, handle ids shared by two
// windows, closing while logged out, the read timer and the module's
// lookups by window.
#include "ChatWindowFixture.h"
#include "sdk/ctrlbinder.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui/RichEditExUI.h"

namespace {

bool LogHas(const std::string& text) {
    for (const auto& line : sim::LogLines()) {
        if (line.text.find(text) != std::string::npos) return true;
    }
    return false;
}

}  // namespace

TEST_F(ChatWindowTest, InputOnlyPanelHidesHistoryMovesInputAndAltCClosesItsWindow) {
    auto host = sim::CreateHostWindow();
    pfx::IObject* object = nullptr;
    ASSERT_TRUE(m_module->CreateObject(&object, tavi::kTaviImplId));
    auto* component = dynamic_cast<tavi::CTaviImpl*>(object);
    tavi::STaviPanelInfo info;
    info.windowKey = sim::ChatWindowKey(sim::ChatKind::Person);
    info.sessionId = u"bob";
    info.instanceName = u"qel_inst";
    info.historyShown = false;
    ASSERT_TRUE(component->CreatePanel(host->GetRoot(), &info));
    component->InitMsgHandle();
    tavi::CTaviPanel* panel = component->GetPanel();
    EXPECT_FALSE(panel->FindSubControl(u"history.view")->IsVisible());
    EXPECT_FALSE(panel->FindSubControl(u"splitter")->IsVisible());
    int32_t l, t, r, b, anchor;
    panel->FindSubControl(u"input")->GetCoordinate(l, t, r, b, anchor);
    EXPECT_EQ((std::vector<int32_t>{l, t, r, b, anchor}), (std::vector<int32_t>{0, 33, 0, 0, 8}));
    ASSERT_NE(panel->GetMsgHandle(), nullptr);
    EXPECT_FALSE(panel->GetMsgHandle()->IsShowHistory());

    // Alt+C closes a window that is no chat window by itself.
    sim::SetKeyDown(VK_MENU, true);
    component->ProcHostWndMsg(tavi::kWmSysChar, 'c', 0);
    EXPECT_EQ(host->GetCloseCode(), 1);
    EXPECT_TRUE(sim::ChatWndMgrCalls().empty());
    object->Release();
}

TEST_F(ChatWindowTest, EachSessionIdIsRegisteredOnceEvenWithoutAConversation) {
    HWND first = Open(sim::ChatKind::Person, "bob");
    EXPECT_FALSE(LogHas("same id"));
    HWND second = Open(sim::ChatKind::Person, "bob");
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(LogHas("same id = bob"));
    EXPECT_EQ(tavi::FindMsgHandle(u"bob"), Panel(first)->GetMsgHandle());
    // Closing the second removes the first's entry: the id is all the registry knows.
    sim::CloseChatWindow(second);
    EXPECT_EQ(tavi::FindMsgHandle(u"bob"), nullptr);
    EXPECT_FALSE(LogHas("can note find"));
    sim::CloseChatWindow(first);
    EXPECT_TRUE(LogHas("can note find iter! id =bob"));

    // A session without a conversation is registered all the same.
    HWND window = Open(sim::ChatKind::Person, "nobody");
    ASSERT_NE(window, nullptr);
    ASSERT_NE(Panel(window)->GetMsgHandle(), nullptr);
    EXPECT_EQ(Panel(window)->GetMsgHandle()->GetConversation(), nullptr);
    EXPECT_NE(tavi::FindMsgHandle(u"nobody"), nullptr);
    EXPECT_TRUE(LogHas("SetParam fail! convsersation == NULL lpszSessionId=nobody"));
    EXPECT_TRUE(sim::ViewItems(Panel(window)->GetHistoryView()).empty());
}

TEST_F(ChatWindowTest, ClosingMarksLastReadOnlyWhileLoggedIn) {
    qel_handle conversation = sim::OpenConversation("bob");
    const auto ids = sim::AddStoredMsgs(conversation, 3, true);
    qel_ext::SetQELAttribs_msg_id(conversation, "last-read-msgid", ids.back(), 3);
    HWND online = Open(sim::ChatKind::Person, "bob");
    sim::CloseChatWindow(online);
    auto marks = [] {
        int n = 0;
        for (const auto& m : sim::SdkMarks()) n += m.kind == "request_msg_readed";
        return n;
    };
    EXPECT_EQ(marks(), 1);

    HWND offline = Open(sim::ChatKind::Person, "bob");
    Panel(offline)->RestartViewReadTimer(50);
    sim::SetLoggedIn(sim::CurrentAccount(), false);
    sim::CloseChatWindow(offline);
    EXPECT_EQ(marks(), 1);
}

TEST_F(ChatWindowTest, UnchangedSizeDoesNotRestartTheReadTimer) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    CRichEditExUI* view = Panel(window)->GetHistoryView();
    CREidtInsertHelper helper(view);
    helper.BeginInsert(1);
    helper.InsertText(u"bob: hi\r");
    helper.EndInsert();
    view->KillTimer(tavi::kViewReadTimer);
    sim::SendEvent(view, UIEVENT_WINDOWSIZE);
    EXPECT_TRUE(view->HasTimer(tavi::kViewReadTimer));
    view->KillTimer(tavi::kViewReadTimer);
    sim::SendEvent(view, UIEVENT_WINDOWSIZE);
    EXPECT_FALSE(view->HasTimer(tavi::kViewReadTimer));
    sim::SendEvent(view, UIEVENT_SCROLLWHEEL);
    EXPECT_TRUE(view->HasTimer(tavi::kViewReadTimer));
}

TEST_F(ChatWindowTest, ModuleFindsComponentAndPanelByWindow) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CTaviImpl* component = nullptr;
    tavi::CTaviPanel* panel = nullptr;
    ASSERT_TRUE(tavi::GetTAVIImpl(&component, window));
    EXPECT_EQ(component, Component(window));
    ASSERT_TRUE(tavi::GetTAVIPanel(&panel, window));
    EXPECT_EQ(panel, Panel(window));
    EXPECT_FALSE(tavi::GetTAVIImpl(nullptr, window));
    EXPECT_FALSE(tavi::GetTAVIPanel(&panel, reinterpret_cast<HWND>(uintptr_t(0xdead))));
    // The lookup hands back no reference of its own.
    EXPECT_EQ(component->AddRef(), 2);
    component->Release();

    qel::IQelInst* inst = nullptr;
    ASSERT_TRUE(tavi::GetQelInst(u"qel_inst", &inst));
    EXPECT_EQ(inst, tavi::GetQelInst(u"qel_inst"));
    EXPECT_NE(inst, nullptr);
    EXPECT_FALSE(tavi::GetQelInst(u"nobody", &inst));
    EXPECT_FALSE(tavi::GetQelInst(u"qel_inst", nullptr));
}

TEST_F(ChatWindowTest, RecentPopupsAreMadeOnceAndForgottenWhenClosed) {
    m_module->Init(sim::GetHost());
    CWindowUI* first = nullptr;
    CWindowUI* again = nullptr;
    ASSERT_TRUE(tavi::GetRecentFontWnd(&first));
    ASSERT_TRUE(tavi::GetRecentFontWnd(&again));
    EXPECT_EQ(first, again);
    EXPECT_FALSE(first->IsWindowVisible());
    first->CloseWindow(0);
    sim::RunUntilIdle();
    EXPECT_EQ(tavi::GetDllObject()->m_pRecentFontWnd, nullptr);
    CWindowUI* emoticons = nullptr;
    ASSERT_TRUE(tavi::GetRecentEmoticonWnd(&emoticons));
    EXPECT_NE(emoticons, nullptr);
    emoticons->CloseWindow(0);
    sim::RunUntilIdle();
    EXPECT_FALSE(tavi::GetRecentFontWnd(nullptr));
}

TEST_F(ChatWindowTest, GroupOfTypeSixIsReportedToTheHost) {
    auto eventsOf40 = [] {
        int n = 0;
        for (const auto& e : sim::HostEvents()) n += e.kind == "event" && e.code == 40 && e.b == 6;
        return n;
    };
    // Known type 6 at start: reported at once.
    sim::ServerSetAttrib(sim::AddGroup("g1"), "conv-type", int64_t(6), "ext");
    Open(sim::ChatKind::Group, "g1");
    EXPECT_EQ(eventsOf40(), 1);

    // Unknown type: the information is asked for and the answer reported.
    sim::AddGroup("g2");
    sim::OpenConversation("g2", true);
    const size_t asked = sim::SdkRequestsOf("conv_info").size();
    Open(sim::ChatKind::Group, "g2");
    EXPECT_EQ(sim::SdkRequestsOf("conv_info").size(), asked + 1);
    EXPECT_EQ(eventsOf40(), 1);

    // The answer reports the type the server has by then, unless the window
    // closed meanwhile: then nothing is reported and nothing breaks.
    qel_handle g3 = sim::AddGroup("g3");
    qel_handle g4 = sim::AddGroup("g4");
    sim::OpenConversation("g3", true);
    sim::OpenConversation("g4", true);
    sim::HoldCompletions(true);
    Open(sim::ChatKind::Group, "g3");
    HWND closing = Open(sim::ChatKind::Group, "g4");
    for (qel_handle group : {g3, g4}) sim::ServerSetAttrib(group, "conv-type", int64_t(6), "ext");
    sim::CloseChatWindow(closing);
    ReleaseHeld();
    EXPECT_EQ(eventsOf40(), 2);
}

TEST_F(ChatWindowTest, SignalsReachThePanel) {
    sim::SetLanguage(sim::Language::Keys);
    qel_handle group = sim::AddGroup("g1");
    HWND window = Open(sim::ChatKind::Group, "g1");
    CControlUI* receiveType = Panel(window)->FindSubControl(u"input.left.receivetype");
    sim::ServerSetAttrib(group, "refusemsg", int64_t(1));
    sim::RunUntilIdle();
    EXPECT_EQ(receiveType->GetToolTip(), u"#RECEIVE_BUT_NOT_PROMPT_MESSAGES");

    HWND person = Open(sim::ChatKind::Person, "bob");
    sim::ServerSetAttrib(Panel(person)->GetMsgHandle()->GetConversation(), "partner-read-cursor", int64_t(3));
    sim::RunUntilIdle();
    const auto& calls = sim::ChatWndMgrCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], "begin_cursor");
    EXPECT_EQ(calls.back(), "end_cursor");
}

TEST_F(ChatWindowTest, HistoryViewIsBoundUnderWindowKindAndSession) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    EXPECT_EQ(SCtrlValidBinder::GetCtrlPtr(u"{7CADFB98-F2B4-4bd7-9C4F-A06B1D69C556}_bob"), Panel(window)->GetHistoryView());
    sim::CloseChatWindow(window);
    EXPECT_EQ(SCtrlValidBinder::GetCtrlPtr(u"{7CADFB98-F2B4-4bd7-9C4F-A06B1D69C556}_bob"), nullptr);
}

TEST_F(ChatWindowTest, InputTakesTheChatFontOfThePreferences) {
    HWND plain = Open(sim::ChatKind::Person, "bob");
    tagTextFormat defaults;
    Panel(plain)->GetInputEdit()->GetDefaultCharFormat(defaults);
    EXPECT_EQ(defaults.dwEffects, 0u);
    EXPECT_EQ(defaults.nSize, 12);
    EXPECT_EQ(defaults.crColor, 0u);
    sim::CloseChatWindow(plain);

    sim::SetPrefStr("SystemInfo.ChatFont.FontName", u"Tavi Serif");
    sim::SetPrefInt("SystemInfo.ChatFont.FontSize", 15);
    sim::SetPrefInt("SystemInfo.ChatFont.Bold", 1);
    sim::SetPrefInt("SystemInfo.ChatFont.Italic", 1);
    sim::SetPrefInt("SystemInfo.ChatFont.Underline", 1);
    sim::SetPrefInt("SystemInfo.ChatFont.Color", 0x0000FF);
    HWND window = Open(sim::ChatKind::Person, "bob");
    tagTextFormat format;
    Panel(window)->GetInputEdit()->GetDefaultCharFormat(format);
    EXPECT_EQ(std::u16string(format.szFaceName), u"Tavi Serif");
    EXPECT_EQ(format.nSize, 15);
    EXPECT_EQ(format.dwEffects, uint32_t(TF_BOLD | TF_ITALIC | TF_UNDERLINE));
    EXPECT_EQ(format.crColor, 0x0000FFu);
}

TEST_F(ChatWindowTest, CancelButtonOfTheCaptionBarHidesIt) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    CControlUI* bar = Panel(window)->FindSubControl(u"history.view.loginout");
    ASSERT_NE(bar, nullptr);
    bar->SetVisible(true);
    ASSERT_TRUE(sim::Click(sim::FindControl(Panel(window), "IconButtoncancel")));
    EXPECT_FALSE(bar->IsVisible());
}
