#include "ui/UiTestSupport.h"

namespace {

struct Recorder : INotifyUI {
    std::vector<std::pair<int, std::u16string>> seen;
    bool take = true;
    bool ProcessNotify(TNotifyUI& m) override {
        std::u16string what = m.pSender ? m.pSender->GetId() : u"";
        if (m.nType == UINOTIFY_CLICK && !m.pSender) {
            auto* item = reinterpret_cast<TMenuItemInfo*>(m.wParam);
            what = sim::ToWide(std::to_string(m.lParam) + "/" + std::to_string(item->nId)) + u"/" + item->sText;
        }
        seen.emplace_back(m.nType, what);
        return take;
    }
};

class ClosingWindow : public CWindowUI {
public:
    bool refuse = false;
    int finals = 0;

protected:
    bool OnClose(int) override { return !refuse; }
    void OnFinalMessage(HWND) override { ++finals; }
};

}  // namespace

TEST_F(UiTest, WindowsHaveUniqueHandlesUntilTheyClose) {
    ClosingWindow a, b;
    const HWND ha = a.Create(nullptr, u"recent_font_wnd", 0, 0x10080, 10, 20, 200, 100);
    const HWND hb = b.Create(ha, u"no_layout");
    ASSERT_NE(ha, nullptr);
    EXPECT_NE(ha, hb);
    EXPECT_EQ(a.Create(nullptr, u"again"), nullptr);
    EXPECT_TRUE(IsWindow(ha));
    EXPECT_EQ(CWindowUI::FromHandle(hb), &b);
    EXPECT_NE(a.FindControl(u"font"), nullptr);  // from the window's layout
    EXPECT_EQ(a.GetRoot()->GetWidth(), 200);
    EXPECT_EQ(a.ClientToScreen(TPointUI{1, 2}).x, 11);
    EXPECT_EQ(a.ScreenToClient(TPointUI{11, 22}).y, 2);
    a.SetWindowPos(50, 60, 0, 0, 0x15);  // move only
    EXPECT_EQ(a.ClientToScreen(RECT{0, 0, 5, 5}).right, 55);
    EXPECT_EQ(a.GetWindowRect().bottom, 160);

    a.ShowWindow(SW_SHOW);
    EXPECT_TRUE(a.IsWindowVisible());
    a.refuse = true;
    a.CloseWindow(1);
    sim::RunUntilIdle();
    EXPECT_TRUE(IsWindow(ha));
    a.refuse = false;
    a.CloseWindow(1);
    EXPECT_FALSE(a.IsWindowVisible());
    EXPECT_TRUE(IsWindow(ha));  // closing is posted
    sim::RunUntilIdle();
    EXPECT_FALSE(IsWindow(ha));
    EXPECT_EQ(a.GetRoot(), nullptr);
    EXPECT_EQ(a.finals, 1);
    EXPECT_EQ(a.GetCloseCode(), 1);
    EXPECT_EQ(CWindowUI::FromHandle(ha), nullptr);
    EXPECT_FALSE(IsWindow(nullptr));
}

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

TEST_F(UiTest, MenusLoadShowAndDeliverTheClickedItem) {
    sim::SetLanguage(sim::Language::Keys);
    auto window = sim::CreateHostWindow();
    Recorder target;
    auto* menu = new CMenuUI;
    ASSERT_TRUE(menu->Load(41015));
    ASSERT_EQ(menu->GetItemCount(), 4);
    EXPECT_EQ(menu->GetItemAt(1)->text, u"#SEND_HOTKEY_ENTER");
    menu->CheckItemAt(2, true);
    menu->RemoveItemAt(0);
    menu->CheckItem(40205, true);
    menu->EnableItem(40203, false);
    int param = 7;
    menu->SetParam(&param);
    menu->Show(window->GetHWND(), 30, 40, &target);

    ASSERT_EQ(sim::ShownMenus().size(), 1u);
    const sim::ShownMenu& shown = sim::ShownMenus()[0];
    EXPECT_EQ(shown.menuId, 41015);
    EXPECT_EQ(shown.x, 30);
    ASSERT_EQ(shown.items.size(), 3u);
    EXPECT_TRUE(shown.items[1].checked);
    EXPECT_FALSE(sim::ClickMenuItem(40203));  // disabled
    EXPECT_FALSE(sim::ClickMenuItem(40202));  // removed
    EXPECT_TRUE(sim::ClickMenuItem(40204));
    EXPECT_EQ(target.seen, (std::vector<std::pair<int, std::u16string>>{{1, u"41015/40204/#SEND_HOTKEY_CTRL_ENTER"}}));
    EXPECT_EQ(sim::OpenMenu(), nullptr);
    EXPECT_FALSE(sim::ClickMenuItem(40204));

    CMenuUI missing;
    EXPECT_FALSE(missing.Load(99999));
    AddScratchResources();
    Write("menu/500.xml", "<Menu><Item id=\"1\"></Menu>");
    EXPECT_FALSE(missing.Load(500));
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
