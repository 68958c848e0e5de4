// Where a load of the history view starts (the remembered top, the unread
// top, the oldest unread message), what it remembers for the next load,
// and how far the offer of older messages reaches.
#include <algorithm>

#include "ChatWindowFixture.h"
#include "HistoryViewItems.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui/RichEditExUI.h"

namespace {

using Ids = std::vector<int64_t>;
using history_view::Kinds;
using history_view::ShownMsgs;

Ids From(const std::vector<uint64_t>& ids, size_t from) { return Ids(ids.begin() + long(from), ids.end()); }

uint64_t Attrib(qel_handle conv, const char* key) { return qel_ext::GetQELAttribs_msg_id(conv, key); }

constexpr size_t kNone = SIZE_MAX;

}  // namespace

class HistoryStartTest : public ChatWindowTest {
protected:
    qel_handle Group() { return sim::OpenConversation("g1", true); }
    qel_handle Bob() { return sim::OpenConversation("bob"); }
    CRichEditExUI* View(HWND window) { return Panel(window)->GetHistoryView(); }
};

TEST_F(HistoryStartTest, ReloadStartsAtTheRememberedTopOrAnEarlierUnreadTop) {
    sim::SetHisShowNum(10);
    const auto r = sim::AddStoredMsgs(Group(), 30, true);
    HWND window = Open(sim::ChatKind::Group, "g1");
    struct Case {
        size_t top, unreadTop;
        bool withUnreadTop;
        size_t firstShown;  // the view shows r[firstShown] .. r[29]
        size_t topAfter;    // what "top-msg-id" names after the load
    };
    const Case cases[] = {
        {10, kNone, false, 10, 10},
        {10, 4, true, 4, 10},
        {10, 4, false, 10, 10},
        {10, 15, true, 10, 10},
        {kNone, 15, true, 15, 15},
        // Neither remembered: the last read page, with its marker.
        {kNone, 15, false, 20, kNone},
        // More than a load shows: the newest 26 and the top moves to the
        // oldest of them, at 27 as at 30 found messages.
        {3, kNone, false, 4, 4},
        {0, kNone, false, 4, 4},
    };
    for (const Case& c : cases) {
        qel_ext::SetQELAttribs_msg_id(Group(), "top-msg-id", c.top == kNone ? 0 : r[c.top], 3);
        qel_ext::SetQELAttribs_msg_id(Group(), "unread-top-msg-id", c.unreadTop == kNone ? 0 : r[c.unreadTop], 3);
        Component(window)->ReflashAfterMakeUp(c.withUnreadTop ? 1 : 0);
        const std::string name = "top " + std::to_string(c.top) + " unread top " + std::to_string(c.unreadTop) +
                                 (c.withUnreadTop ? " with" : " without");
        EXPECT_EQ(ShownMsgs(View(window)), From(r, c.firstShown)) << name;
        EXPECT_EQ(Attrib(Group(), "top-msg-id"), c.topAfter == kNone ? 0 : r[c.topAfter]) << name;
    }
}

TEST_F(HistoryStartTest, OpeningIgnoresTheRememberedTopAndCountsTheNewestShown) {
    const auto r = sim::AddStoredMsgs(Group(), 20, true);
    const auto u = sim::AddStoredMsgs(Group(), 3, false);
    qel_ext::SetQELAttribs_msg_id(Group(), "top-msg-id", r[5], 3);
    HWND window = Open(sim::ChatKind::Group, "g1");
    EXPECT_EQ(ShownMsgs(View(window)), From(u, 0));
    EXPECT_EQ(Attrib(Group(), "top-msg-id"), u[0]);
    // The message box counts up to the newest shown message.
    EXPECT_EQ(Attrib(Group(), "msg-box-item-unread-number"), u[2] + 1);
    const auto& writes = sim::AttribWrites();
    const auto counter = std::find_if(writes.rbegin(), writes.rend(), [](const sim::AttribWrite& w) {
        return w.key == "msg-box-item-unread-number";
    });
    ASSERT_NE(counter, writes.rend());
    EXPECT_EQ(counter->mode, 3);
}

TEST_F(HistoryStartTest, UnreadTopNewerThanTheOldestUnreadStartsAtTheUnread) {
    // Unread messages a minute apart; the unread top points into them or past them.
    // index 10: beyond the newest message.
    const std::pair<const char*, size_t> cases[] = {{"ga", 5}, {"gb", 10}};
    for (const auto& [groupId, unreadTop] : cases) {
        sim::AddGroup(groupId);
        qel_handle conv = sim::OpenConversation(groupId, true);
        std::vector<uint64_t> u;
        for (int i = 0; i < 10; ++i) {
            sim::StoredMsg msg;
            msg.read = false;
            msg.content = "u" + std::to_string(i);
            msg.time = 1700000000 + i * 60;
            u.push_back(qel_msg_get_id(sim::AddStoredMsg(conv, msg)));
        }
        const uint64_t top = unreadTop < u.size() ? u[unreadTop] : u.back() + 1000;
        qel_ext::SetQELAttribs_msg_id(conv, "unread-top-msg-id", top, 3);
        HWND window = Open(sim::ChatKind::Group, groupId);
        EXPECT_EQ(ShownMsgs(View(window)), From(u, 0)) << unreadTop;
        EXPECT_EQ(Attrib(conv, "top-msg-id"), u[0]) << unreadTop;
    }
}

TEST_F(HistoryStartTest, OlderPagesStopAfterTwoHundredTwentyMessages) {
    sim::SetHisShowNum(10);
    sim::AddStoredMsgs(Bob(), 260, true);
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CTaviPanel* panel = Panel(window);
    for (int page = 1; page <= 21; ++page) panel->OnBtnShowMoreMsg();
    EXPECT_EQ(ShownMsgs(View(window)).size(), 220u);
    EXPECT_TRUE(View(window)->HasHeaderLine());
    panel->OnBtnShowMoreMsg();
    EXPECT_EQ(ShownMsgs(View(window)).size(), 230u);
    EXPECT_FALSE(View(window)->HasHeaderLine());
    EXPECT_FALSE(sim::IsShown(panel->FindSubControl(u"showmoremsg")));
}

TEST_F(HistoryStartTest, OnlyAGroupThatRefusesMessagesShowsReadHistoryOnLaterLoads) {
    sim::SetHisShowNum(5);
    // refusemsg -1: not set.
    const std::pair<int64_t, bool> cases[] = {{-1, false}, {0, false}, {1, true}, {2, false}};
    for (const auto& [refuse, shows] : cases) {
        const std::string groupId = "gr" + std::to_string(refuse + 1);
        qel_handle group = sim::AddGroup(groupId);
        qel_handle conv = sim::OpenConversation(groupId, true);
        const auto r = sim::AddStoredMsgs(conv, 20, true);
        sim::AddStoredMsgs(conv, 3, false);
        if (refuse >= 0) sim::ServerSetAttrib(group, "refusemsg", refuse);
        HWND window = Open(sim::ChatKind::Group, groupId);
        ASSERT_EQ(ShownMsgs(View(window)).size(), 3u);
        Component(window)->GetAndShowMsg(0, 0);  // nothing newer
        const Ids shown = ShownMsgs(View(window));
        EXPECT_EQ(std::count(shown.begin(), shown.end(), int64_t(r[19])), shows ? 1 : 0) << "refusemsg " << refuse;
    }
}

TEST_F(HistoryStartTest, LoadsRefreshTheFocusOfAFocusedInputOnly) {
    sim::SetHisShowNum(5);
    sim::AddStoredMsgs(Bob(), 20, true);
    HWND window = Open(sim::ChatKind::Person, "bob");
    CRichEditUI* input = Panel(window)->GetInputEdit();
    const auto focusRefreshes = [&] {
        const auto& told = input->GetTxMessages();
        return std::count(told.begin(), told.end(), 7u);  // WM_SETFOCUS
    };
    // The partner's read line refreshes the input after every load; the
    // load itself does so once more, only while the input has the focus.
    input->SetFocus();
    auto before = focusRefreshes();
    sim::DeliverIncomingMsg(Bob(), "new");
    Component(window)->GetAndShowMsg(0, 0);
    EXPECT_EQ(focusRefreshes(), before + 2);
    Panel(window)->OnBtnShowMoreMsg();
    EXPECT_EQ(focusRefreshes(), before + 4);

    View(window)->SetFocus();
    before = focusRefreshes();
    sim::DeliverIncomingMsg(Bob(), "newer");
    Component(window)->GetAndShowMsg(0, 0);
    Panel(window)->OnBtnShowMoreMsg();
    EXPECT_EQ(focusRefreshes(), before + 2);
}

TEST_F(HistoryStartTest, WindowMovedToAnotherPeerShowsThatPeersHistoryWithMarkerAndOffer) {
    sim::SetHisShowNum(10);
    sim::AddStoredMsgs(Bob(), 30, true);
    sim::AddBuddy("carol", "Carol");
    const auto carol = sim::AddStoredMsgs(sim::OpenConversation("carol"), 30, true);
    HWND window = Open(sim::ChatKind::Person, "bob");
    Panel(window)->OnBtnShowMoreMsg();

    tavi::STaviPanelInfo info;
    info.windowKey = sim::ChatWindowKey(sim::ChatKind::Person);
    info.sessionId = u"carol";
    info.instanceName = u"qel_inst";
    ASSERT_TRUE(Component(window)->UpdatePanelInfo(&info));
    sim::RunUntilIdle();
    EXPECT_EQ(ShownMsgs(View(window)), From(carol, 20));
    const auto kinds = Kinds(View(window));
    ASSERT_FALSE(kinds.empty());
    EXPECT_EQ(kinds.front(), "header");  // the offer of older messages
    EXPECT_EQ(kinds.back(), "pane");     // the history marker
    Panel(window)->OnBtnShowMoreMsg();
    EXPECT_EQ(ShownMsgs(View(window)), From(carol, 10));
}
