// What the history view of a chat window shows on open, on announcements,
// when paging into older history and on a full reload.
#include <algorithm>

#include "ChatWindowFixture.h"
#include "HistoryViewItems.h"
#include "msghandle/MsgIds.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui/RichEditExUI.h"

namespace {

using Ids = std::vector<int64_t>;
using history_view::Kinds;
using history_view::ShownMsgs;

Ids Slice(const std::vector<uint64_t>& ids, size_t from, size_t to) {
    return Ids(ids.begin() + long(from), ids.begin() + long(to));
}

bool MarkedReadByLoad() {
    const auto& marks = sim::SdkMarks();
    return std::any_of(marks.begin(), marks.end(), [](const sim::SdkMark& m) {
        return m.kind == "set_readed_ex" && m.reason == "CMsgHandle::ShowGetMsgActually";
    });
}

std::u16string ItemText(const CRichEditExUI* view, uint64_t id) {
    for (const sim::ViewItem& item : sim::ViewItems(view))
        if (item.id == int64_t(id)) return item.text;
    return u"";
}

uint64_t TopMsgId(qel_handle conv) { return qel_ext::GetQELAttribs_msg_id(conv, "top-msg-id"); }

}  // namespace

class HistoryLoadTest : public ChatWindowTest {
protected:
    qel_handle Bob() { return sim::OpenConversation("bob"); }
    qel_handle Group() { return sim::OpenConversation("g1", true); }
    CRichEditExUI* View(HWND window) { return Panel(window)->GetHistoryView(); }
};

TEST_F(HistoryLoadTest, FirstOpenShowsTheNewestUnreadOldestFirstAndRemembersWhereTheyBegan) {
    const auto ids = sim::AddStoredMsgs(Group(), 40, false);
    HWND window = Open(sim::ChatKind::Group, "g1");
    EXPECT_EQ(ShownMsgs(View(window)), Slice(ids, 14, 40));
    EXPECT_EQ(TopMsgId(Group()), ids[14]);
    EXPECT_TRUE(MarkedReadByLoad());
    EXPECT_TRUE(View(window)->IsAtEnd());
    sim::CloseChatWindow(window);

    // A kind of window that does not keep the unread top leaves it at 0.
    sim::SetChatWndKind(sim::ChatWindowKey(sim::ChatKind::Group), 0x01, 2, false, "group");
    sim::AddStoredMsgs(Group(), 30, false);
    window = Open(sim::ChatKind::Group, "g1");
    EXPECT_EQ(ShownMsgs(View(window)).size(), 26u);
    EXPECT_EQ(TopMsgId(Group()), 0u);
}

TEST_F(HistoryLoadTest, PageSizeZeroShowsOnlyUnreadMessagesAndOneTheNewest) {
    sim::SetHisShowNum(0);
    sim::AddStoredMsgs(Bob(), 30, true);
    HWND window = Open(sim::ChatKind::Person, "bob");
    EXPECT_TRUE(sim::ViewItems(View(window)).empty());
    EXPECT_FALSE(Panel(window)->GetMsgHandle()->IsFirstLoad());
    EXPECT_FALSE(MarkedReadByLoad());

    sim::AddStoredMsgs(Group(), 3, true);
    const auto unread = sim::AddStoredMsgs(Group(), 1, false);
    HWND group = Open(sim::ChatKind::Group, "g1");
    EXPECT_EQ(ShownMsgs(View(group)), Ids{int64_t(unread[0])});
    EXPECT_TRUE(sim::IsShown(Panel(group)->FindSubControl(u"showmoremsg")));

    // A page of one is still a page.
    sim::SetHisShowNum(1);
    const auto carol = sim::AddStoredMsgs(sim::OpenConversation("carol"), 3, true);
    HWND third = Open(sim::ChatKind::Person, "carol");
    EXPECT_EQ(ShownMsgs(View(third)), Ids{int64_t(carol[2])});
}

TEST_F(HistoryLoadTest, WithoutUnreadTheLastReadPageShowsAndOlderPagesAppearAboveUntilHistoryEnds) {
    sim::SetHisShowNum(10);
    const auto ids = sim::AddStoredMsgs(Bob(), 50, true);
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CTaviPanel* panel = Panel(window);
    EXPECT_EQ(ShownMsgs(View(window)), Slice(ids, 40, 50));
    const auto kinds = Kinds(View(window));
    ASSERT_EQ(kinds.size(), 12u);
    EXPECT_EQ(kinds.front(), "header");  // the offer of older messages
    EXPECT_EQ(kinds.back(), "pane");     // the history marker
    EXPECT_TRUE(sim::IsShown(panel->FindSubControl(u"showmoremsg")));
    EXPECT_TRUE(MarkedReadByLoad());
    for (size_t page = 1; page <= 4; ++page) {
        panel->OnBtnShowMoreMsg();
        EXPECT_EQ(ShownMsgs(View(window)), Slice(ids, 40 - 10 * page, 50)) << "page " << page;
        EXPECT_TRUE(View(window)->HasHeaderLine()) << "page " << page;
    }
    EXPECT_EQ(panel->GetHistoryMsgHandle().GetMoreCount(), 40);
    // Only the oldest message, already shown, comes back: the offer goes.
    panel->OnBtnShowMoreMsg();
    EXPECT_EQ(ShownMsgs(View(window)).size(), 50u);
    EXPECT_FALSE(View(window)->HasHeaderLine());
    EXPECT_FALSE(sim::IsShown(panel->FindSubControl(u"showmoremsg")));
}

TEST_F(HistoryLoadTest, AnnouncedMessagesAppearAtTheBottomOnceAndOwnOnesNotAgain) {
    sim::AddStoredMsgs(Bob(), 3, true);
    HWND window = Open(sim::ChatKind::Person, "bob");
    const uint64_t incoming = qel_msg_get_id(sim::DeliverIncomingMsg(Bob(), "hello"));
    Component(window)->GetAndShowMsg(0, 0);
    Component(window)->GetAndShowMsg(int32_t(incoming), 0);
    Ids shown = ShownMsgs(View(window));
    EXPECT_EQ(std::count(shown.begin(), shown.end(), int64_t(incoming)), 1);
    EXPECT_EQ(sim::ViewItems(View(window)).back().text, u"bob: hello\r");

    // The host asks its picture viewer to stand back.
    ASSERT_FALSE(sim::HostEvents().empty());
    EXPECT_EQ(sim::HostEvents().back().kind, "event");
    EXPECT_EQ(sim::HostEvents().back().code, 0);
    EXPECT_EQ(sim::HostEvents().back().a, 0);

    sim::StoredMsg mine;
    mine.sent = true;
    mine.content = "sent elsewhere";
    mine.id = (uint64_t(3) << 32) + 7;  // the host announces ids in two halves
    const uint64_t own = qel_msg_get_id(sim::AddStoredMsg(Bob(), mine));
    Component(window)->GetAndShowMsg(0, 0);
    shown = ShownMsgs(View(window));
    EXPECT_EQ(std::count(shown.begin(), shown.end(), int64_t(own)), 0);

    // Announcing the never shown own message again loads from there: the
    // newer message that came meanwhile stays shown once.
    sim::StoredMsg newer;
    newer.read = false;
    newer.content = "later";
    newer.id = own + 1;
    const uint64_t later = qel_msg_get_id(sim::AddStoredMsg(Bob(), newer));
    Component(window)->GetAndShowMsg(0, 0);
    Component(window)->GetAndShowMsg(int32_t(uint32_t(own)), int32_t(own >> 32));
    shown = ShownMsgs(View(window));
    EXPECT_EQ(std::count(shown.begin(), shown.end(), int64_t(later)), 1);
    EXPECT_EQ(ItemText(View(window), later), u"bob: later\r");
    EXPECT_EQ(shown.back(), int64_t(later));

    // A message stored behind the newest shown one appears when announced.
    sim::StoredMsg behind;
    behind.read = false;
    behind.content = "behind";
    behind.id = own - 1;
    const uint64_t late = qel_msg_get_id(sim::AddStoredMsg(Bob(), behind));
    Component(window)->GetAndShowMsg(0, 0);
    EXPECT_EQ(ItemText(View(window), late), u"");
    Component(window)->GetAndShowMsg(int32_t(uint32_t(late)), int32_t(late >> 32));
    EXPECT_EQ(ItemText(View(window), late), u"bob: behind\r");
}

TEST_F(HistoryLoadTest, PersonChatStopsAtTheFirstUnreadMessageWithoutMarkingRead) {
    const auto read = sim::AddStoredMsgs(Bob(), 20, true);
    const auto unread = sim::AddStoredMsgs(Bob(), 10, false);
    // The host remembers that the unread part began further up.
    qel_ext::SetQELAttribs_msg_id(Bob(), "unread-top-msg-id", read[10], 3);
    HWND window = Open(sim::ChatKind::Person, "bob");
    CRichEditExUI* view = View(window);
    ASSERT_EQ(ShownMsgs(view).size(), 20u);
    CHARRANGE range;
    ASSERT_TRUE(view->GetMsgRange(int64_t(unread[0]), range));
    EXPECT_EQ(view->GetScrollPos(), std::min(view->GetCharTop(range.cpMin), view->GetScrollRange()));
    EXPECT_FALSE(MarkedReadByLoad());
    const auto& logs = sim::LogLines();
    EXPECT_TRUE(std::any_of(logs.begin(), logs.end(), [&](const sim::LogEntry& e) {
        return e.text.find("MsgIdUnReadFirstOpen: " + std::to_string(unread[0])) != std::string::npos;
    }));
}

TEST_F(HistoryLoadTest, PersonChatWhoseUnreadStartAtTheOldestLoadedScrollsToTop) {
    sim::AddStoredMsgs(Bob(), 5, true);
    sim::AddStoredMsgs(Bob(), 20, false);
    HWND window = Open(sim::ChatKind::Person, "bob");
    EXPECT_EQ(ShownMsgs(View(window)).size(), 20u);
    EXPECT_EQ(View(window)->GetScrollPos(), 0);
    EXPECT_FALSE(MarkedReadByLoad());
}

TEST_F(HistoryLoadTest, LoadWaitsForTheRecentMessagesOfTheSdk) {
    sim::SetDbMultithread(sim::CurrentAccount(), true);
    sim::SetRecentMsgReady(Bob(), false);
    const auto ids = sim::AddStoredMsgs(Bob(), 3, false);
    HWND window = sim::OpenChatWindow(sim::ChatKind::Person, "bob");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(ShownMsgs(View(window)).empty());
    EXPECT_TRUE(Panel(window)->GetMsgHandle()->HasPendingShowGetMsg());
    const auto loads = sim::SdkRequestsOf("load_recent");
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0].flags, 2);
    sim::RunUntilIdle();
    EXPECT_EQ(ShownMsgs(View(window)), Slice(ids, 0, 3));
    EXPECT_FALSE(Panel(window)->GetMsgHandle()->HasPendingShowGetMsg());
}

TEST_F(HistoryLoadTest, FullReloadShowsTheConversationAgain) {
    sim::SetHisShowNum(10);
    const auto ids = sim::AddStoredMsgs(Bob(), 15, true);
    HWND window = Open(sim::ChatKind::Person, "bob");
    Component(window)->ReflashAfterMakeUp(0);
    EXPECT_EQ(ShownMsgs(View(window)), Slice(ids, 5, 15));
    EXPECT_EQ(Kinds(View(window)).back(), "pane");
    ASSERT_EQ(sim::ConversationReloads().size(), 1u);
    EXPECT_EQ(sim::ConversationReloads()[0], u"bob");
}

TEST_F(HistoryLoadTest, TranslationShowsBesideTheMessageAndHidesAgain) {
    sim::SetModuleConfig("IMCore", "Translation", "1");
    const auto ids = sim::AddStoredMsgs(Bob(), 1, true);
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CMsgHandle* handler = Panel(window)->GetMsgHandle();
    ASSERT_TRUE(tavi::CMsgHandle::CanTranslateMsg(handler->GetQelHMessage(int64_t(ids[0]))));
    handler->TranslateMsg(int64_t(ids[0]));
    EXPECT_FALSE(handler->IsTranslationShown(ids[0]));  // the result comes later
    sim::RunUntilIdle();
    EXPECT_TRUE(handler->IsTranslationShown(ids[0]));
    EXPECT_EQ(ItemText(View(window), ids[0]), u"bob: m1 => M1\r");
    handler->HideTranslation(int64_t(ids[0]));
    EXPECT_EQ(ItemText(View(window), ids[0]), u"bob: m1\r");

    // Automatic translation asks as messages are shown.
    sim::ServerSetAttrib(sim::CurrentAccount(), "AutoTranslation", 1);
    sim::DeliverIncomingMsg(Bob(), "hi");
    Component(window)->GetAndShowMsg(0, 0);
    ASSERT_FALSE(sim::TranslationRequests().empty());
    EXPECT_TRUE(sim::TranslationRequests().back().automatic);
    sim::CloseChatWindow(window);  // the pending result finds no handler
}

TEST_F(HistoryLoadTest, ShownIdsFindTheirSdkMessage) {
    const auto ids = sim::AddStoredMsgs(Bob(), 1, true);
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CMsgHandle* handler = Panel(window)->GetMsgHandle();
    tavi::RecordSentMsgId(-700001, ids[0], handler);
    tavi::RecordSentMsgId(-700002, 0, handler);
    EXPECT_EQ(qel_msg_get_id(handler->GetQelHMessage(-700001)), ids[0]);
    EXPECT_EQ(handler->GetQelHMessage(-700002), nullptr);
    EXPECT_EQ(handler->GetQelHMessage(int64_t(ids[0]) + 99), nullptr);
    EXPECT_EQ(tavi::FindProvisionalMsgId(ids[0]), -700001);

    // The pairs go with their window: a reused SDK id finds nothing stale.
    HWND other = Open(sim::ChatKind::Group, "g1");
    tavi::RecordSentMsgId(-700003, ids[0] + 7, Panel(other)->GetMsgHandle());
    sim::CloseChatWindow(window);
    EXPECT_EQ(tavi::FindProvisionalMsgId(ids[0]), std::nullopt);
    EXPECT_EQ(tavi::FindSdkMsgId(-700001), std::nullopt);
    EXPECT_EQ(tavi::FindSdkMsgId(-700002), std::nullopt);
    EXPECT_EQ(tavi::FindSdkMsgId(-700003), ids[0] + 7);
}
