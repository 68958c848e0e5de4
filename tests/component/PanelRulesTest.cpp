// Rules of the panel that the user, the partner or the host sees: when the
// partner hears typing, the shape of the read line, the fast replies of an
// emptied list, and what a window moving to another conversation leaves.
#include <functional>

#include "../tools/InputToolsFixture.h"
#include "SendFixture.h"

#include "module/StdContainer.h"
#include "panel/TaviSearchWindow.h"
#include "sdk/ctrlbinder.h"
#include "sdk/ui/MenuUI.h"
#include "util/Guid.h"

namespace {

class PanelBehaviourTest : public SendTest {
protected:
    static tavi::STaviPanelInfo PersonInfo(const char16_t* peer, sim::ChatKind kind = sim::ChatKind::Person) {
        tavi::STaviPanelInfo info;
        info.windowKey = sim::ChatWindowKey(kind);
        info.sessionId = peer;
        info.instanceName = u"qel_inst";
        return info;
    }
    static CControlUI* BoundView(const char16_t* peer, sim::ChatKind kind = sim::ChatKind::Person) {
        const std::u16string key = util::FormatGuid(sim::ChatWindowKey(kind)) + u"_" + peer;
        return SCtrlValidBinder::GetCtrlPtr(key.c_str());
    }
};

TEST_F(PanelBehaviourTest, PartnerHearsTypingOnlyFromAUserWhoMaySendAndShares) {
    struct Row {
        const char* what;
        int noSendLimit;
        int inputState;
        bool heard;
    };
    const Row rows[] = {
        {"allowed", 0, 1, true},
        {"barred from sending", 1, 1, false},
        {"typing kept private", 0, 0, false},
    };
    for (const Row& row : rows) {
        sim::SetRBACLimit("im.pc.not.send.message.function", row.noSendLimit);
        sim::SetPrefInt("SystemInfo.InstantShare.InputState", row.inputState);
        HWND window = Open(sim::ChatKind::Person, "bob");
        sim::TypeText(Input(window), u"a");
        sim::Advance(1000);
        const size_t before = sim::SdkRequestsOf("reminder").size();
        sim::TypeText(Input(window), u"b");
        EXPECT_EQ(sim::SdkRequestsOf("reminder").size() > before, row.heard) << row.what;
        support::ChatWorld::CloseWindows();
    }
}

// The read line is two short rules around its text; an unread tag is a
// narrow label at the left.
TEST_F(PanelBehaviourTest, ReadLineAndUnreadTagShapes) {
    qel_handle bob = sim::OpenConversation("bob");
    sim::StoredMsg mine;
    mine.sent = true;
    mine.content = "x";
    qel_handle own = sim::AddStoredMsg(bob, mine);
    mine.flags = QEL_MSG_FLAG_RECEIPT;
    qel_handle receipt = sim::AddStoredMsg(bob, mine);
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::ServerSetPartnerReadCursor(bob, int64_t(qel_msg_get_conv_msg_id(own)), 0);
    sim::RunUntilIdle();

    CControlUI* label = View(window)->FindSubControl(u"readCursorLabel");
    ASSERT_NE(label, nullptr);
    auto* line = dynamic_cast<CContainerUI*>(label->GetParent());
    ASSERT_TRUE(line && line->GetCount() == 3);
    EXPECT_EQ(line->GetWidth(), 350);
    EXPECT_EQ(line->GetHeight(), 20);
    const int32_t left = line->GetPos().left;
    const int32_t text = label->GetTextWidth();
    const auto span = [&](CControlUI* c) {
        return std::vector<int32_t>{c->GetPos().left - left, c->GetWidth(), c->GetHeight()};
    };
    EXPECT_EQ(span(line->GetItemAt(0)), (std::vector<int32_t>{0, 68, 1}));
    EXPECT_EQ(span(label), (std::vector<int32_t>{68, text, 20}));
    EXPECT_EQ(span(line->GetItemAt(2)), (std::vector<int32_t>{text + 88, 68, 1}));

    auto* tag = dynamic_cast<CContainerUI*>(View(window)->FindSubControl(sim::ToWide(std::to_string(qel_msg_get_id(receipt)))));
    ASSERT_TRUE(tag && tag->GetCount() == 1);
    CControlUI* unread = tag->GetItemAt(0);
    EXPECT_EQ((std::vector<int32_t>{unread->GetPos().left - tag->GetPos().left, unread->GetWidth(), unread->GetHeight()}),
              (std::vector<int32_t>{10, 40, 20}));
}

TEST_F(PanelBehaviourTest, FastReplyMenuOffersTheStoredRepliesOrElseTheBuiltInOnes) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const auto menuFor = [&](const std::vector<std::u16string>& stored) {
        sim::SetPrefArray("SystemInfo.AutoReply.FastReply", stored);
        ClickSend(window);
        std::vector<std::u16string> texts;
        for (const auto& item : sim::ShownMenus().back().items) texts.push_back(item.separator ? u"-" : item.text);
        sim::DismissMenu();
        return texts;
    };
    EXPECT_EQ(menuFor({u"later"}), (std::vector<std::u16string>{u"later", u"-", u"#FAST_REPLY_MENU_SETTING"}));
    EXPECT_EQ(menuFor({}), (std::vector<std::u16string>{u"#OH", u"#OK_OK_I_SEE", u"#REALLY_Q", u"#ARE_YOU_SERIOUS_Q",
                                                        u"-", u"#FAST_REPLY_MENU_SETTING"}));
}

// The host sends dropped files to the chat's participants as it last named them.
TEST_F(PanelBehaviourTest, DroppedFilesGoToTheParticipantsTheHostNamed) {
    HWND window = Open(sim::ChatKind::Group, "g1");
    pfx::CStrVector named;
    named.Add(u"bob");
    named.Add(u"carol");
    Component(window)->SetChatParticipants(&named, 1);
    std::ofstream(m_dir / "notes.txt") << "text";
    TEventUI event;
    event.Type = UIEVENT_DROPFILES;
    event.wParam = reinterpret_cast<uintptr_t>(sim::MakeDrop({sim::ToWide((m_dir / "notes.txt").string())}));
    Component(window)->ProcHostDuiMsg(&event);
    sim::RunUntilIdle();

    ASSERT_FALSE(sim::HostEvents().empty());
    const sim::HostEvent& dropped = sim::HostEvents().back();
    ASSERT_EQ(dropped.code, 3);
    std::vector<std::u16string> heard;
    reinterpret_cast<pfx::IStrVector*>(dropped.a)
        ->ForEach([](const char16_t* text, void* out) { static_cast<std::vector<std::u16string>*>(out)->push_back(text); },
                  &heard);
    EXPECT_EQ(heard, (std::vector<std::u16string>{u"bob", u"carol"}));
}

// The members of the group left behind are no one to mention.
TEST_F(PanelBehaviourTest, MentionListClosesWhenTheWindowMoves) {
    sim::AddBuddy("ann", "Ann", false);
    sim::AddGroupMember("g1", "ann");
    HWND window = Open(sim::ChatKind::Group, "g1");
    sim::TypeText(Input(window), u"@");
    sim::RunUntilIdle();
    tavi::CTaviSearchWindow* popup = Panel(window)->GetSearchWindow();
    ASSERT_TRUE(popup && popup->IsWindowVisible());
    const tavi::STaviPanelInfo bob = PersonInfo(u"bob");
    ASSERT_TRUE(Component(window)->UpdatePanelInfo(&bob));
    popup = Panel(window)->GetSearchWindow();
    EXPECT_FALSE(popup && popup->IsWindowVisible());
}

// A window that moved to another chat hears the read cursor of the new
// conversation only.
TEST_F(PanelBehaviourTest, WindowMovedAwayNoLongerHearsTheOldConversation) {
    sim::AddBuddy("carol", "Carol");
    HWND window = Open(sim::ChatKind::Person, "bob");
    const tavi::STaviPanelInfo carol = PersonInfo(u"carol");
    ASSERT_TRUE(Component(window)->UpdatePanelInfo(&carol));
    const auto heard = [](const std::string& peer) {
        const size_t before = sim::ChatWndMgrCalls().size();
        sim::ServerSetPartnerReadCursor(sim::OpenConversation(peer), 5, 100);
        sim::RunUntilIdle();
        return std::vector<std::string>(sim::ChatWndMgrCalls().begin() + long(before), sim::ChatWndMgrCalls().end());
    };
    EXPECT_TRUE(heard("bob").empty());
    EXPECT_EQ(heard("carol"), (std::vector<std::string>{"begin_cursor", "end_cursor"}));
}

TEST_F(PanelBehaviourTest, WindowMovingAwayLeavesTheViewThatTookItsConversationBound) {
    sim::AddBuddy("carol", "Carol");
    HWND first = Open(sim::ChatKind::Person, "bob");
    HWND second = Open(sim::ChatKind::Person, "carol");
    const tavi::STaviPanelInfo bob = PersonInfo(u"bob");
    ASSERT_TRUE(Component(second)->UpdatePanelInfo(&bob));
    ASSERT_EQ(BoundView(u"bob"), View(second));

    const tavi::STaviPanelInfo carol = PersonInfo(u"carol");
    ASSERT_TRUE(Component(first)->UpdatePanelInfo(&carol));
    EXPECT_EQ(BoundView(u"bob"), View(second));
    EXPECT_EQ(BoundView(u"carol"), View(first));

    // The same peer in another kind of window is a move too.
    const tavi::STaviPanelInfo adhoc = PersonInfo(u"carol", sim::ChatKind::Adhoc);
    ASSERT_TRUE(Component(first)->UpdatePanelInfo(&adhoc));
    EXPECT_EQ(BoundView(u"carol"), nullptr);
    EXPECT_EQ(BoundView(u"carol", sim::ChatKind::Adhoc), View(first));
}

}  // namespace

namespace {

class PanelToolButtonsTest : public InputToolsTest {};

// The font, picture library and emoticon buttons act on the press but leave
// the release to the button, whose click the window still hears.
TEST_F(PanelToolButtonsTest, ReleasedToolButtonStillClicks) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    for (const char* name : {"input.left.font", "input.left.syspic", "input.left.emoticon"}) {
        CControlUI* button = sim::FindControl(Panel(window), name);
        ASSERT_NE(button, nullptr) << name;
        const size_t before = sim::WindowNotifications().size();
        sim::SendEvent(button, UIEVENT_BUTTONUP);
        ASSERT_EQ(sim::WindowNotifications().size(), before + 1) << name;
        EXPECT_EQ(sim::WindowNotifications().back().type, UINOTIFY_CLICK) << name;
        EXPECT_EQ(sim::WindowNotifications().back().sender, button->GetName()) << name;
    }
}

// What the panel answers itself stops there: the window would act on it a
// second time.
TEST_F(PanelToolButtonsTest, NotificationsThePanelTakesDoNotReachTheWindow) {
    HWND window = Open(sim::ChatKind::Group, "g1");
    const auto heard = [&](const std::function<void()>& act) {
        const size_t before = sim::WindowNotifications().size();
        act();
        return sim::WindowNotifications().size() > before;
    };
    EXPECT_FALSE(heard([&] { sim::Notify(Input(window), UINOTIFY_SETFOCUS); }));
    EXPECT_FALSE(heard([&] {
        Input(window)->SetText(u"hi");
        sim::Click(Control(window, "input.msg_button.sendmsg"));
    }));
}

// A popup that a closing window left showing would offer the user a chat
// that is gone.
TEST_F(PanelToolButtonsTest, RecentEmoticonsShowingGoWithTheirWindow) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    Panel(window)->OnSelEmoticon(u":)", u"");
    sim::Click(FontButton(window));
    sim::Click(FontButton(window));
    sim::SendEvent(EmoticonButton(window), UIEVENT_MOUSEENTER);
    sim::Advance(200);
    ASSERT_TRUE(Shown(RecentEmoticons()));
    sim::CloseChatWindow(window);
    sim::RunUntilIdle();
    EXPECT_FALSE(Shown(RecentEmoticons()));
}

}  // namespace

namespace {

class PanelCloseButtonTest : public InputToolsTest {};

// The close button closes its window, or all the conversations combined in
// it while the window shows their list; the window does not hear it again.
TEST_F(PanelCloseButtonTest, ClosesTheWindowOrItsCombinedConversations) {
    HWND combined = Open(sim::ChatKind::Person, "bob");
    sim::ShowCombineList(combined, true);
    const size_t calls = sim::ChatWndMgrCalls().size();
    sim::Notify(Control(combined, "input.msg_button.close"), UINOTIFY_CLICK);
    EXPECT_EQ(std::vector<std::string>(sim::ChatWndMgrCalls().begin() + long(calls), sim::ChatWndMgrCalls().end()),
              (std::vector<std::string>{"close_combined", "close"}));

    HWND single = Open(sim::ChatKind::Group, "g1");
    const size_t heard = sim::WindowNotifications().size(), before = sim::ChatWndMgrCalls().size();
    sim::Notify(Control(single, "input.msg_button.close"), UINOTIFY_CLICK);
    EXPECT_EQ(sim::FindChatWindow(single)->GetCloseCode(), 1);
    EXPECT_EQ(sim::ChatWndMgrCalls().size(), before);
    EXPECT_EQ(sim::WindowNotifications().size(), heard);
}

}  // namespace
