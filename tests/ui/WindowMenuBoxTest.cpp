#include "ui/UiTestSupport.h"

namespace {

struct Recorder : INotifyUI {
    std::vector<std::pair<int, std::u16string>> seen;
    bool take = true;
    bool ProcessNotify(TNotifyUI& m) override {
        seen.emplace_back(m.nType, m.pSender ? m.pSender->GetId() : u"");
        return take;
    }
};

}  // namespace

TEST_F(UiTest, ClicksReachThePanelBeforeTheWindow) {
    struct Panel : CCompositeUI {
        std::vector<std::u16string> clicks;
        bool ProcessNotify(TNotifyUI& m) override {
            if (m.nType != UINOTIFY_CLICK || m.pSender->GetId() != u"sendmsg") return false;
            clicks.push_back(m.pSender->GetId());
            return true;
        }
    };
    auto window = sim::CreateHostWindow();
    auto* panel = new Panel;
    ASSERT_TRUE(panel->Create(u"tavi", window->GetRoot()));
    Recorder recorder;
    recorder.take = false;
    window->AddNotifier(&recorder);
    EXPECT_TRUE(sim::Click(sim::FindControl(panel, "input.msg_button.sendmsg")));
    EXPECT_FALSE(sim::Click(sim::FindControl(panel, "input.msg_button.close")));
    EXPECT_EQ(panel->clicks, std::vector<std::u16string>{u"sendmsg"});
    EXPECT_EQ(recorder.seen, (std::vector<std::pair<int, std::u16string>>{{UINOTIFY_CLICK, u"close"}}));
    sim::FindControl(panel, "input.left.font")->SetEnabled(false);
    EXPECT_FALSE(sim::Click(sim::FindControl(panel, "input.left.font")));
    EXPECT_FALSE(sim::Click(sim::FindControl(panel, "history.view.loginout")));  // hidden
    EXPECT_FALSE(sim::Click(nullptr));
    window->RemoveNotifier(&recorder);
}

TEST_F(UiTest, MessageBoxesAnswerFromTheQueueThenTheDefaultAtTheirScaledSize) {
    sim::QueueBoxAnswer(IDBUTTON_SECOND);
    EXPECT_EQ(UIMessageBox(nullptr, u"Exit?", u"Send", u"#NO_YES", 1, nullptr, CDPI::Scale(340), CDPI::Scale(150)),
              IDBUTTON_SECOND);
    EXPECT_EQ(UIMessageBox(nullptr, nullptr, nullptr, nullptr, 1), IDBUTTON_FIRST);
    sim::SetDefaultBoxAnswer(0);
    sim::SetDpiScale(150);
    EXPECT_EQ(UIMessageBox(nullptr, u"t", u"c", u"#OK", 1, nullptr, CDPI::Scale(340), CDPI::Scale(150)), 0);
    ASSERT_EQ(sim::ShownBoxes().size(), 3u);
    EXPECT_EQ(sim::ShownBoxes()[0].text, u"Exit?");
    EXPECT_EQ(sim::ShownBoxes()[0].width, 340);
    EXPECT_EQ(sim::ShownBoxes()[2].height, 225);
}

TEST_F(UiTest, TheHostWindowManagerFindsRegistersAndForgetsControls) {
    pfx::IWndMgr* manager = sim::GetHost()->GetWndMgr();
    ASSERT_EQ(manager, sim::HostWndMgr());
    auto window = sim::CreateHostWindow();
    const HWND hwnd = window->GetHWND();
    auto* panel = new CCompositeUI;
    ASSERT_TRUE(panel->Create(u"IDD_SHAKE_MSG_PANEL", window->GetRoot()));
    EXPECT_EQ(manager->FindCtrl(hwnd, u"plugin"), nullptr);
    EXPECT_TRUE(manager->AddCtrl(hwnd, u"plugin", panel));
    EXPECT_EQ(manager->FindCtrl(hwnd, u"plugin"), panel);
    EXPECT_EQ(manager->FindCtrl(hwnd, u"shake"), sim::FindControl(panel, "shake"));  // by name in the window
    EXPECT_EQ(manager->FindCtrl(nullptr, u"plugin"), nullptr);
    EXPECT_EQ(manager->FindCtrl(hwnd, nullptr), nullptr);
    panel->SetVisible(false);
    EXPECT_TRUE(manager->ActivateCtrl(hwnd, u"plugin"));
    EXPECT_TRUE(panel->IsVisible());
    manager->RefreshWnd(hwnd);
    EXPECT_TRUE(manager->RemoveCtrl(hwnd, u"plugin"));
    EXPECT_EQ(window->GetRoot()->GetCount(), 0);
    EXPECT_FALSE(manager->RemoveCtrl(hwnd, u"plugin"));
    std::vector<std::string> ops;
    for (const auto& call : sim::WndMgrCalls()) ops.push_back(call.op);
    EXPECT_EQ(ops, (std::vector<std::string>{"add", "activate", "refresh", "remove", "remove"}));

    // A control registered again as null, or gone from its window, is forgotten.
    auto* a = new CControlUI;
    window->GetRoot()->Add(a);
    EXPECT_TRUE(manager->AddCtrl(hwnd, u"k", a));
    EXPECT_TRUE(manager->AddCtrl(hwnd, u"k", nullptr));
    EXPECT_EQ(manager->FindCtrl(hwnd, u"k"), nullptr);
    EXPECT_TRUE(manager->AddCtrl(hwnd, u"k", a));
    window->GetRoot()->Remove(a);
    EXPECT_EQ(manager->FindCtrl(hwnd, u"k"), nullptr);
    EXPECT_FALSE(manager->AddCtrl(hwnd, u"", a));
    EXPECT_FALSE(manager->ActivateCtrl(hwnd, u"k"));
    EXPECT_FALSE(manager->SetCtrlParam(hwnd, u"k", 1));
}

TEST_F(UiTest, MessageFiltersSeeWindowMessagesFirst) {
    struct Popup : CNoActiveWindowUI, IMessageFilterUI {
        std::vector<uint32_t> seen;
        intptr_t MessageFilter(uint32_t message, uintptr_t, intptr_t, bool& handled) override {
            seen.push_back(message);
            handled = message == 0x201;
            return handled ? 1 : 0;
        }
    } popup;
    struct Main : CWindowUI {
        std::vector<uint32_t> got;
        intptr_t WindowProc(uint32_t m, uintptr_t, intptr_t) override { return got.push_back(m), 7; }
    } main;
    main.Create(nullptr, u"main");
    popup.Create(main.GetHWND(), u"listbox");
    ASSERT_NE(popup.FindControl(u"list"), nullptr);
    main.AddMessageFilter(&popup);
    EXPECT_EQ(sim::SendWindowMessage(main.GetHWND(), 0x201), 1);
    EXPECT_EQ(sim::SendWindowMessage(main.GetHWND(), 0x0F), 7);
    EXPECT_EQ(popup.seen, (std::vector<uint32_t>{0x201, 0x0F}));
    EXPECT_EQ(main.got, std::vector<uint32_t>{0x0F});
    main.RemoveMessageFilter(&popup);
    EXPECT_EQ(sim::SendWindowMessage(nullptr, 0x0F), 0);
}

TEST_F(UiTest, OleEventsReachTheObjectUnderThePointer) {
    struct Edit : CRichEditExUI {
        std::vector<std::pair<int, COleObject*>> events;
        bool OnOleEvent(TEventUI& e, COleObject* o) override { return events.emplace_back(e.Type, o), true; }
    };
    auto window = sim::CreateHostWindow("host", 400, 300);
    auto* edit = new Edit;
    window->GetRoot()->Add(edit);
    edit->SetCoordinate(10, 10, 0, 0, UIANCHOR_FILL);
    edit->InsertText(u"ab");
    auto* image = new COleImageObj;
    image->SetKey(u"face");
    ASSERT_TRUE(edit->InsertObject(image));
    RECT bound;
    ASSERT_TRUE(image->GetBound(bound));
    EXPECT_EQ(bound.left, 26);  // two characters of 8 after the edit's left of 10
    EXPECT_EQ(bound.top, 10);
    EXPECT_EQ(edit->GetCaretPos().x, 46);
    EXPECT_TRUE(sim::SendOleEvent(edit, 4, TPointUI{30, 15}));
    EXPECT_TRUE(sim::SendOleEvent(edit, 3, TPointUI{100, 100}));
    EXPECT_EQ(edit->events, (std::vector<std::pair<int, COleObject*>>{{4, image}, {3, nullptr}}));
    EXPECT_EQ(edit->FindImage(u"face"), image);
    EXPECT_EQ(sim::DescribeRange(edit, 0, -1), u"ab[img:face]");
}

TEST_F(UiTest, ToolTipsAreRecordedAndHideAfterTheirTimeUnlessLocked) {
    CToolTipUI tip(u"Press Enter to send");
    tip.ShowTip(10, 20, u"BR", 180, 3000, 4);
    ASSERT_EQ(sim::ShownTips().size(), 1u);
    EXPECT_EQ(sim::ShownTips()[0].align, u"BR");
    sim::Advance(2999);
    EXPECT_TRUE(tip.IsVisible());
    tip.LockTimer(true);
    sim::Advance(5000);
    EXPECT_TRUE(tip.IsVisible());
    tip.LockTimer(false);
    sim::Advance(3000);
    EXPECT_FALSE(tip.IsVisible());
}
