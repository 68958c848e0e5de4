// The input area's commands: Enter and the send hot keys, fast replies,
// the receive type of a group and the message manager.
#include "SendFixture.h"

#include "sdk/ui/MenuUI.h"

namespace {

const sim::ShownMenu& LastMenu() { return sim::ShownMenus().back(); }

TEST_F(SendTest, EnterSendsAsTheHotKeyPreferenceSays) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    CRichEditUI* input = Input(window);
    const auto sendsAfter = [&](int hotKey, bool ctrl) {
        sim::SetPrefInt("SystemInfo.HotKey.Enter", hotKey);
        input->SetText(u"hi");
        const size_t before = Sends().size();
        const int32_t type = sim::PressEnter(input, ctrl);
        const bool sent = Sends().size() > before;
        EXPECT_EQ(type == UIEVENT_HANDLED, sent);
        return sent;
    };
    EXPECT_TRUE(sendsAfter(0, true));
    EXPECT_FALSE(sendsAfter(0, false));
    EXPECT_EQ(input->GetText(), u"hi\r");  // the key made a line break instead
    EXPECT_TRUE(sendsAfter(1, false));
    EXPECT_FALSE(sendsAfter(1, true));
    EXPECT_FALSE(sendsAfter(-1, false));
    EXPECT_FALSE(sendsAfter(-1, true));

    // Nor for a user barred from speaking in a group.
    sim::SetPrefInt("SystemInfo.HotKey.Enter", 0);
    HWND group = Open(sim::ChatKind::Group, "g1");
    sim::ServerSetAttrib(qel_conversation_get_buddy_group(Handler(group)->GetConversation()), "me-forbid-word", 1);
    Type(group, u"hi");
    const size_t sent = Sends().size();
    sim::PressEnter(Input(group), true);
    EXPECT_EQ(Sends().size(), sent);
}

TEST_F(SendTest, EmptyInputOpensTheFastReplyMenu) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    ClickSend(window);
    EXPECT_TRUE(Sends().empty());
    ASSERT_FALSE(sim::ShownMenus().empty());
    const auto& items = LastMenu().items;
    EXPECT_EQ(LastMenu().menuId, 120201);
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[0].id, 2);
    EXPECT_TRUE(items[0].checked);
    EXPECT_EQ(items[3].text, u"#ARE_YOU_SERIOUS_Q");
    EXPECT_TRUE(items[4].separator);
    EXPECT_EQ(items.back().id, 120201);

    ASSERT_TRUE(sim::ClickMenuItem(3));
    ASSERT_EQ(Sends().size(), 1u);
    EXPECT_EQ(Sends()[0].content, "#OK_OK_I_SEE");

    ClickSend(window);
    ASSERT_TRUE(sim::ClickMenuItem(120201));
    ASSERT_FALSE(sim::AppCalls().empty());
    EXPECT_EQ(sim::AppCalls().back(), "fastreply:bob:1:0");
}

TEST_F(SendTest, OwnFastRepliesAndAStoredCopyOfTheBuiltInOnes) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::SetPrefArray("SystemInfo.AutoReply.FastReply", {u"later", u"busy"});
    sim::SetPrefInt("SystemInfo.AutoReply.SetFastReply", 1);
    ClickSend(window);
    ASSERT_EQ(LastMenu().items.size(), 4u);
    EXPECT_EQ(LastMenu().items[1].text, u"busy");
    EXPECT_TRUE(LastMenu().items[1].checked);
    sim::DismissMenu();

    sim::SetPrefArray("SystemInfo.AutoReply.FastReply", {u"#OH", u"#OK_OK_I_SEE", u"#REALLY_Q", u"#ARE_YOU_SERIOUS_Q"});
    ClickSend(window);
    sim::DismissMenu();
    EXPECT_EQ(sim::LastSavedPrefs().count("SystemInfo.AutoReply.FastReply"), 0u);
    EXPECT_EQ(sim::LastSavedPrefs().at("SystemInfo.AutoReply.FirstLoad"), "1");
}

TEST_F(SendTest, HotKeyMenuShowsAndStoresTheChoice) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    CControlUI* arrow = sim::FindControl(Panel(window), "input.msg_button.sendmsgmenu");
    sim::Click(arrow);
    EXPECT_EQ(LastMenu().menuId, 41015);
    EXPECT_TRUE(LastMenu().items[2].checked);
    EXPECT_FALSE(LastMenu().items[3].checked);
    ASSERT_TRUE(sim::ClickMenuItem(40203));
    EXPECT_EQ(sim::LastSavedPrefs().at("SystemInfo.HotKey.Enter"), "1");

    sim::SetMustStayOpen(true);
    sim::Click(arrow);
    EXPECT_TRUE(LastMenu().items[1].checked);
    ASSERT_TRUE(sim::ClickMenuItem(40205));
    EXPECT_EQ(sim::LastSavedPrefs().at("SystemInfo.HotKey.CloseAfterSendMsg"), "1");
    EXPECT_EQ(Notices(window).back(), u"#SETTING_MSG_CLOSE_FAIL");

    // Where the window may close, a send closes it.
    sim::SetMustStayOpen(false);
    SendAndSettle(window, u"bye");
    EXPECT_TRUE(sim::OpenChatWindows().empty());
}

TEST_F(SendTest, RoleLimitShowsABoxAndKeepsTheInput) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::SetRBACLimit("im.pc.not.send.message.function", 1);
    Send(window, u"hi");
    EXPECT_TRUE(Sends().empty());
    ASSERT_EQ(sim::ShownBoxes().size(), 1u);
    EXPECT_EQ(sim::ShownBoxes()[0].text, u"#IDS_RBAC_NOT_SEND_MESSAGE_PERMISSION");
    EXPECT_EQ(Input(window)->GetText(), u"hi");

    // A window of a kind the host no longer knows sends nothing either.
    sim::SetRBACLimit("im.pc.not.send.message.function", 0);
    sim::RemoveChatWndKind(sim::ChatWindowKey(sim::ChatKind::Person));
    ClickSend(window);
    EXPECT_TRUE(Sends().empty());
    EXPECT_EQ(Input(window)->GetText(), u"hi");
}

TEST_F(SendTest, ReceiveTypeCommandsStoreTheirValueTheMenuChecksItAndTheManagerOpens) {
    HWND window = Open(sim::ChatKind::Group, "g1");
    qel_handle group = qel_conversation_get_buddy_group(Handler(window)->GetConversation());
    // Commands of the receive type menu, also when the host sends them
    // without the menu showing them; an unknown one changes nothing.
    const std::pair<int32_t, int> cases[] = {{43802, 1}, {43803, 2}, {10003, 3}, {43801, 0}, {12345, 0}};
    for (const auto& [command, value] : cases) {
        TMenuItemInfo item{command, u"", nullptr};
        TNotifyUI msg;
        msg.nType = UINOTIFY_CLICK;
        msg.wParam = reinterpret_cast<uintptr_t>(&item);
        msg.lParam = 43800;
        Panel(window)->ProcessNotify(msg);
        EXPECT_EQ(common::GetQELAttribs_int(group, "refusemsg", -1), value) << command;
    }
    // The button's menu sets it as well.
    sim::Click(sim::FindControl(Panel(window), "input.left.receivetype"));
    EXPECT_EQ(LastMenu().menuId, 43800);
    ASSERT_TRUE(sim::ClickMenuItem(43802));
    EXPECT_EQ(common::GetQELAttribs_int(group, "refusemsg", 0), 1);
    // The button is hidden in this layout; its command still works.
    sim::Notify(sim::FindControl(Panel(window), "input.left.message"), UINOTIFY_CLICK);
    ASSERT_FALSE(sim::AppCalls().empty());
    EXPECT_EQ(sim::AppCalls().back(), "msgmgr:-7169:g1::2");
    std::u16string tip;
    tavi::CTaviPanel::GetRecTypeTip(tip, 2);
    EXPECT_EQ(tip, u"#AUTOMATICALLY_POP_OUT_MESSAGES");
    for (const int value : {0, 1, 2}) {
        common::SetQELAttribs_int(group, "refusemsg", value, 1);
        sim::Click(sim::FindControl(Panel(window), "input.left.receivetype"));
        ASSERT_EQ(LastMenu().items.size(), 2u);
        EXPECT_EQ(LastMenu().items[0].checked, value == 0) << value;
        EXPECT_EQ(LastMenu().items[1].checked, value == 1) << value;
        sim::DismissMenu();
    }
}

TEST_F(SendTest, TypingTellsThePartnerOnceArmed) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::TypeText(Input(window), u"a");
    EXPECT_TRUE(sim::SdkRequestsOf("reminder").empty());
    sim::Advance(1000);
    sim::TypeText(Input(window), u"b");
    EXPECT_EQ(sim::SdkRequestsOf("reminder").size(), 1u);
}

}  // namespace

namespace {

TEST_F(SendTest, SendButtonTipPointsAtTheButton) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    Panel(window)->ShowSendBtnToolTip(u"wait a moment");
    ASSERT_FALSE(sim::ShownTips().empty());
    const sim::ShownTip& tip = sim::ShownTips().back();
    EXPECT_EQ(tip.text, u"wait a moment");
    EXPECT_EQ(tip.align, u"BR");
    EXPECT_EQ(tip.width, 180);
    EXPECT_EQ(tip.displayMs, 3000u);
    EXPECT_EQ(tip.showMode, 4);
    Panel(window)->ShowSendBtnToolTip(u"again");
    EXPECT_EQ(sim::ShownTips().back().text, u"again");
}

}  // namespace
