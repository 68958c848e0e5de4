// What the history view says about reading: the partner's read line and
// unread tags in a person chat, receipt buttons in a group chat, and what
// the panel tells the SDK the user has seen.
#include <algorithm>

#include "ReadStateFixture.h"
#include "sdk/qel_attribs.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui/RichEditExUI.h"
#include "sim/core/Text.h"

namespace {

// The view top to bottom: "msg <id>" and "pane <id> <what it shows>".
std::vector<std::string> Lines(const CRichEditExUI* view) {
    std::vector<std::string> lines;
    for (const sim::ViewItem& item : sim::ViewItems(view)) {
        // Panes made of controls; the history marker is text of its own.
        const std::string shown = sim::ToUtf8(sim::ShownControlText(view, item.id));
        if (item.kind == "pane" && !shown.empty()) {
            lines.push_back("pane " + std::to_string(item.id) + " " + shown);
        } else if (item.kind == "msg") {
            lines.push_back("msg " + std::to_string(item.id));
        }
    }
    return lines;
}

std::vector<std::string> Panes(const CRichEditExUI* view) {
    std::vector<std::string> panes;
    for (const std::string& line : Lines(view))
        if (line.rfind("pane", 0) == 0) panes.push_back(line);
    return panes;
}

std::string Msg(uint64_t id) { return "msg " + std::to_string(id); }

bool Logged(const std::string& text) {
    const auto& lines = sim::LogLines();
    return std::any_of(lines.begin(), lines.end(),
                       [&](const sim::LogEntry& e) { return e.text.find(text) != std::string::npos; });
}

}  // namespace

class ReadPanesTest : public ReadStateWindowTest {
protected:
    CRichEditExUI* View(HWND window) { return Panel(window)->GetHistoryView(); }

    // A read message of the conversation; its sequence number follows the last.
    qel_handle Store(qel_handle conv, bool sent, uint32_t flags = 0, const std::string& type = "text/plain",
                     const std::string& extra = "") {
        sim::StoredMsg msg;
        msg.sent = sent;
        msg.flags = flags;
        msg.contentType = type;
        msg.content = "x";
        msg.extraInfo = extra;
        return sim::AddStoredMsg(conv, msg);
    }
    static uint64_t Id(qel_handle msg) { return qel_msg_get_id(msg); }
    static uint64_t Seq(qel_handle msg) { return qel_msg_get_conv_msg_id(msg); }
};

TEST_F(ReadPanesTest, ReadLineStandsUnderTheNewestOwnMessageThePartnerHasRead) {
    sim::SetHisShowNum(20);
    qel_handle mine1 = Store(Bob(), true);
    qel_handle theirs = Store(Bob(), false);
    qel_handle mine2 = Store(Bob(), true);
    qel_handle mine3 = Store(Bob(), true);
    sim::ServerSetPartnerReadCursor(Bob(), int64_t(Seq(theirs)), 7 * 86400 + 3600);
    HWND window = Open(sim::ChatKind::Person, "bob");
    EXPECT_EQ(Lines(View(window)),
              (std::vector<std::string>{Msg(Id(mine1)), "pane -100002 1970-01-08 01:00 Read", Msg(Id(theirs)),
                                        Msg(Id(mine2)), Msg(Id(mine3))}));

    // The partner reads on: the one line moves, none is left behind.
    sim::ServerSetPartnerReadCursor(Bob(), int64_t(Seq(mine2)), 0);
    sim::RunUntilIdle();
    EXPECT_EQ(Lines(View(window)), (std::vector<std::string>{Msg(Id(mine1)), Msg(Id(theirs)), Msg(Id(mine2)),
                                                             "pane -100002 Read", Msg(Id(mine3))}));
    EXPECT_TRUE(Logged("time == 0 IDS_PARTNER_CURSORREAD"));
}

TEST_F(ReadPanesTest, ReadLineSkipsControlMessagesAndLooksNoFurtherThanTwentySixBack) {
    sim::SetHisShowNum(40);
    qel_handle mine = Store(Bob(), true);
    qel_handle control = Store(Bob(), true, 0, "ctl/json");
    sim::ServerSetPartnerReadCursor(Bob(), int64_t(Seq(control)), 100);
    HWND window = Open(sim::ChatKind::Person, "bob");
    EXPECT_EQ(Panes(View(window)).size(), 1u);
    EXPECT_EQ(Lines(View(window))[1].rfind("pane -100002", 0), 0u) << "under the message before the control one";

    // The walk reaches 25 numbers below the cursor and no further.
    for (int i = 0; i < 23; ++i) Store(Bob(), false);
    qel_handle near = Store(Bob(), false);
    qel_handle far = Store(Bob(), false);
    ASSERT_EQ(Seq(near) - Seq(mine), 25u);
    sim::ServerSetPartnerReadCursor(Bob(), int64_t(Seq(near)), 300);
    sim::RunUntilIdle();
    EXPECT_EQ(Panes(View(window)), (std::vector<std::string>{"pane -100002 1970-01-01 00:05 Read"}));
    sim::ServerSetPartnerReadCursor(Bob(), int64_t(Seq(far)), 400);
    sim::RunUntilIdle();
    EXPECT_EQ(Panes(View(window)), (std::vector<std::string>{"pane -100002 1970-01-01 00:05 Read"}));
}

TEST_F(ReadPanesTest, CursorThatNamesNoMessageShowsNothing) {
    qel_handle theirs = Store(Bob(), false);
    HWND window = Open(sim::ChatKind::Person, "bob");
    EXPECT_TRUE(Logged("error Invalid Cursortime =:0,0"));
    sim::ServerSetPartnerReadCursor(Bob(), int64_t(Seq(theirs)), 5);
    sim::ServerSetPartnerReadCursor(Bob(), 900000, 5);
    sim::RunUntilIdle();
    sim::ServerSetPartnerReadCursor(Bob(), -7, 5);
    sim::RunUntilIdle();
    EXPECT_TRUE(Panes(View(window)).empty());
    EXPECT_TRUE(Logged("Invalid partner-read-cursor Not Find conv_msg_id =:900000"));
}

TEST_F(ReadPanesTest, OwnReceiptMessagesAboveTheCursorAreTaggedUntilRead) {
    qel_handle read = Store(Bob(), true, QEL_MSG_FLAG_RECEIPT);
    qel_handle unread = Store(Bob(), true, QEL_MSG_FLAG_RECEIPT);
    qel_handle plain = Store(Bob(), true);
    qel_handle last = Store(Bob(), true, QEL_MSG_FLAG_RECEIPT);
    sim::ServerSetPartnerReadCursor(Bob(), int64_t(Seq(read)) - 1, 100);
    sim::ServerSetPartnerReadCursor(Bob(), int64_t(Seq(read)), 100);
    HWND window = Open(sim::ChatKind::Person, "bob");
    // The cursor's own message counts as not yet read by the tag's rule, until the cursor passes it.
    EXPECT_EQ(Lines(View(window)),
              (std::vector<std::string>{Msg(Id(read)), "pane -100002 1970-01-01 00:01 Read", Msg(Id(unread)),
                                        "pane " + std::to_string(Seq(unread)) + " Unread", Msg(Id(plain)),
                                        Msg(Id(last)), "pane " + std::to_string(Seq(last)) + " Unread"}));
    auto* tag = static_cast<CContainerUI*>(View(window)->FindSubControl(sim::ToWide(std::to_string(Id(unread)))));
    ASSERT_NE(tag, nullptr);
    ASSERT_EQ(tag->GetCount(), 1);
    EXPECT_EQ(tag->GetItemAt(0)->GetAttribute(u"txt.color"), u"999999") << "pane texts are grey";

    // The cursor reaches the last tagged message: every tag up to it goes.
    sim::ServerSetPartnerReadCursor(Bob(), int64_t(Seq(last)), 200);
    sim::RunUntilIdle();
    EXPECT_EQ(Panes(View(window)), (std::vector<std::string>{"pane -100002 1970-01-01 00:03 Read"}));
    EXPECT_EQ(Lines(View(window)).back(), "pane -100002 1970-01-01 00:03 Read");
}

TEST_F(ReadPanesTest, NoTagsForSpecialProxiesOrGroupWindows) {
    sim::SetSpecialProxyUser("bob");
    Store(Bob(), true, QEL_MSG_FLAG_RECEIPT);
    HWND window = Open(sim::ChatKind::Person, "bob");
    EXPECT_TRUE(Panes(View(window)).empty());
}

TEST_F(ReadPanesTest, CheckPartnerUnreadTagsAnOwnReceiptMessageTheCursorHasNotReached) {
    qel_handle passed = Store(Bob(), true, QEL_MSG_FLAG_RECEIPT);
    qel_handle reached = Store(Bob(), true, QEL_MSG_FLAG_RECEIPT);
    qel_handle mine = Store(Bob(), true, QEL_MSG_FLAG_RECEIPT);
    qel_handle theirs = Store(Bob(), false, QEL_MSG_FLAG_RECEIPT);
    qel_handle plain = Store(Bob(), true);  // sent without asking for a receipt
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::ServerSetPartnerReadCursor(Bob(), int64_t(Seq(reached)), 100);
    sim::RunUntilIdle();
    ASSERT_TRUE(View(window)->DeleteMsg(int64_t(Seq(mine))));
    const std::vector<std::string> before = Panes(View(window));
    Component(window)->InsertInfoMsg(0, false, u"note", false, Id(mine), true, false);
    for (qel_handle other : {passed, reached, theirs, plain}) Component(window)->CheckPartnerUnread(Id(other));
    Component(window)->CheckPartnerUnread(424242);
    std::vector<std::string> expected = before;
    expected.push_back("pane " + std::to_string(Seq(mine)) + " Unread");
    EXPECT_EQ(Panes(View(window)), expected);

    // A group chat keeps to its receipt buttons, even where a message has none.
    qel_handle group = Store(Group(), true, QEL_MSG_FLAG_RECEIPT, "text/plain", "{no count");
    HWND groupWindow = Open(sim::ChatKind::Group, "g1");
    Component(groupWindow)->InsertInfoMsg(0, false, u"note", false, Id(group), true, false);
    EXPECT_TRUE(Panes(View(groupWindow)).empty());
}

TEST_F(ReadPanesTest, PartnerWritingMovesTheCursorButFilesDoNot) {
    qel_handle mine = Store(Bob(), true);
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::DeliverIncomingMsg(Bob(), "<file/>", "file/xml");
    Component(window)->GetAndShowMsg(0, 0);
    EXPECT_EQ(qel_attribs_get_int64(Bob(), "partner-read-cursor", 0), 0);

    qel_handle text = sim::DeliverIncomingMsg(Bob(), "hi");
    ShowAnnounced(window);
    EXPECT_EQ(qel_attribs_get_int64(Bob(), "partner-read-cursor", 0), int64_t(Seq(text)));
    EXPECT_EQ(qel_attribs_get_int64(Bob(), "partner-read-cursor_time", 0), qel_msg_get_data(text)->time);
    const std::vector<std::string> lines = Lines(View(window));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], Msg(Id(mine)));
    EXPECT_EQ(lines[1].rfind("pane -100002 20", 0), 0u);
}

TEST_F(ReadPanesTest, GroupReceiptButtonCountsDownInPlaceAndOpensTheDetails) {
    qel_handle msg = Store(Group(), true, QEL_MSG_FLAG_RECEIPT, "text/plain", R"({"unreadnum":3})");
    HWND window = Open(sim::ChatKind::Group, "g1");
    const std::string pane = "pane " + std::to_string(Seq(msg)) + " ";
    EXPECT_EQ(Panes(View(window)), (std::vector<std::string>{pane + "3 unread"}));
    ASSERT_FALSE(sim::SdkRequestsOf("receipt_summary").empty());
    EXPECT_EQ(sim::SdkRequestsOf("receipt_summary").back().value, std::to_string(Id(msg)));

    sim::ServerSetReceiptUnread(msg, 0);
    sim::RunUntilIdle();
    EXPECT_EQ(Panes(View(window)), (std::vector<std::string>{pane + "All read"}));

    CControlUI* button = View(window)->FindSubControl(u"RecieptUnreadBtn");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetAttribute(u"txt.color"), u"999999") << "pane texts are grey";
    EXPECT_EQ(button->GetWidth(), button->GetTextWidth() + 20);
    EXPECT_TRUE(sim::Click(button));
    ASSERT_FALSE(sim::AppCalls().empty());
    EXPECT_EQ(sim::AppCalls().back(),
              "receipt-details:" + std::to_string(Id(msg)) + ":g1:conv=" + qel_conversation_get_id(Group()));
}

TEST_F(ReadPanesTest, ReceiptCountsThatCannotBeShowNothing) {
    qel_handle unknown = Store(Group(), true, QEL_MSG_FLAG_RECEIPT, "text/plain", R"({"unreadnum":-4})");
    qel_handle broken = Store(Group(), true, QEL_MSG_FLAG_RECEIPT, "text/plain", "{not json");
    qel_handle huge = Store(Group(), true, QEL_MSG_FLAG_RECEIPT, "text/plain", R"({"unreadnum":99999999999})");
    qel_handle theirs = Store(Group(), false, QEL_MSG_FLAG_RECEIPT, "text/plain", R"({"unreadnum":2})");
    HWND window = Open(sim::ChatKind::Group, "g1");
    EXPECT_TRUE(Panes(View(window)).empty());
    (void)unknown, (void)broken, (void)huge, (void)theirs;

    // A count for a message the view does not hold changes nothing.
    Panel(window)->CreatRecipetUnReadPane(777777, 999, 5);
    EXPECT_TRUE(Panes(View(window)).empty());
}

TEST_F(ReadPanesTest, OnlyAGroupMessageWithAReceiptToAllCountsTheOthers) {
    sim::ServerSetAttrib(sim::AddGroup("g1"), "total-members-count", 10);
    HWND window = Open(sim::ChatKind::Group, "g1");
    const auto newestOfGroup = [] {
        qel_handle* newest = nullptr;
        int count = 0;
        qel_conversation_get_page_record(Group(), 0, UINT64_MAX, 0, 1, 1, &newest, &count, 0);
        qel_handle msg = count == 1 ? newest[0] : nullptr;
        qel_release_handle_array(newest);
        return msg;
    };
    Component(window)->QelSendMsg(u"hello", u"{\"receiptto\":\"all\"}", "text/plain", true);
    sim::RunUntilIdle();
    qel_handle sent = newestOfGroup();
    ASSERT_NE(sent, nullptr);
    EXPECT_EQ(Panes(View(window)), (std::vector<std::string>{"pane " + std::to_string(Seq(sent)) + " 9 unread"}));
    EXPECT_EQ(std::string(qel_attribs_get_str(Group(), "receipt-unread-msgid", "")), std::to_string(Seq(sent)) + "-9");

    sim::ServerSetReceiptUnread(sent, 0);
    sim::RunUntilIdle();
    EXPECT_EQ(Panes(View(window)), (std::vector<std::string>{"pane " + std::to_string(Seq(sent)) + " All read"}));

    // A receipt to some members, or in a person chat, shows no button.
    Component(window)->QelSendMsg(u"hi", u"{\"receiptto\":\"bob\"}", "text/plain", true);
    sim::RunUntilIdle();
    EXPECT_EQ(Panes(View(window)).size(), 1u);
    HWND person = Open(sim::ChatKind::Person, "bob");
    Component(person)->QelSendMsg(u"hi", u"{\"receiptto\":\"all\"}", "text/plain", true);
    sim::RunUntilIdle();
    EXPECT_TRUE(Panes(View(person)).empty());

    // A request nested deeper than any reader takes is no request: the
    // message still goes, as a plain one.
    const std::u16string deep =
        u"{\"receiptto\":\"all\",\"a\":" + std::u16string(2000, u'[') + std::u16string(2000, u']') + u"}";
    Component(window)->QelSendMsg(u"deep", deep.c_str(), "text/plain", true);
    sim::RunUntilIdle();
    qel_handle plain = newestOfGroup();
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(std::string(qel_msg_get_data(plain)->content), "deep");
    EXPECT_EQ(qel_msg_get_flag(plain) & QEL_MSG_FLAG_RECEIPT, 0u);
    EXPECT_EQ(Panes(View(window)).size(), 1u);
}

class MarkReadTest : public ReadPanesTest {
protected:
    std::vector<sim::SdkMark> MarksOf(const std::string& kind) {
        std::vector<sim::SdkMark> marks;
        for (const sim::SdkMark& m : sim::SdkMarks())
            if (m.kind == kind && m.reason == "CTaviPanel::SetCurrentPosMsgRead") marks.push_back(m);
        return marks;
    }
    void FireReadTimer(HWND window) {
        Panel(window)->RestartViewReadTimer(50);
        sim::Advance(60);
    }
};

TEST_F(MarkReadTest, ScrolledUpMarksOnlyUpToWhatShowsAndNeverGoesBack) {
    sim::SetHisShowNum(60);
    const auto ids = sim::AddStoredMsgs(Bob(), 60, true);
    HWND window = Open(sim::ChatKind::Person, "bob");
    CRichEditExUI* view = View(window);
    ASSERT_TRUE(view->IsVScrollBarVisible());
    view->SetScrollPos(view->GetScrollRange() / 2);
    int64_t first = 0, last = 0;
    ASSERT_TRUE(view->GetVisibleMsg(first, last));
    FireReadTimer(window);
    ASSERT_EQ(MarksOf("msg_readed_and_acked_ex").size(), 1u);
    EXPECT_EQ(MarksOf("msg_readed_and_acked_ex")[0].msgId, uint64_t(last));
    EXPECT_EQ(Panel(window)->GetLastReadMsgId(), uint64_t(last));

    view->SetScrollPos(0);
    FireReadTimer(window);
    EXPECT_EQ(MarksOf("msg_readed_and_acked_ex").size(), 1u) << "an older position marks nothing";
    EXPECT_EQ(Panel(window)->GetLastReadMsgId(), uint64_t(last));
    EXPECT_TRUE(MarksOf("readed_and_acked_ex").empty());

    // Within 50 pixels of the end counts as the end: the whole conversation.
    view->SetScrollPos(view->GetScrollRange() - 49);
    FireReadTimer(window);
    EXPECT_EQ(MarksOf("readed_and_acked_ex").size(), 1u);
    EXPECT_EQ(ids.size(), 60u);
}

TEST_F(MarkReadTest, ClosingMarksWhatShowsUnlessTheHostSaysNot) {
    Store(Bob(), false);
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::CloseChatWindow(window);
    EXPECT_EQ(MarksOf("readed_and_acked_ex").size(), 1u);

    HWND again = Open(sim::ChatKind::Person, "bob");
    Component(again)->SetMarkReadOnClose(false);
    sim::CloseChatWindow(again);
    EXPECT_EQ(MarksOf("readed_and_acked_ex").size(), 1u);
}

TEST_F(MarkReadTest, RestartHistoryTimerMarksAfterFiftyMilliseconds) {
    Store(Bob(), false);
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::Advance(2000);
    const size_t before = MarksOf("readed_and_acked_ex").size();
    Component(window)->RestartHistoryTimer();
    sim::Advance(49);
    EXPECT_EQ(MarksOf("readed_and_acked_ex").size(), before);
    sim::Advance(1);
    EXPECT_EQ(MarksOf("readed_and_acked_ex").size(), before + 1);
}

TEST_F(ReadPanesTest, OlderPagesGetTheirReadLineAndTagsToo) {
    sim::SetHisShowNum(5);
    qel_handle mine = Store(Bob(), true, QEL_MSG_FLAG_RECEIPT);
    for (int i = 0; i < 12; ++i) Store(Bob(), false);
    sim::ServerSetPartnerReadCursor(Bob(), int64_t(Seq(mine)), 60);
    HWND window = Open(sim::ChatKind::Person, "bob");
    EXPECT_TRUE(Panes(View(window)).empty()) << "the message is not shown yet";
    Panel(window)->OnBtnShowMoreMsg();
    const std::vector<std::string> lines = Lines(View(window));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], Msg(Id(mine)));
    EXPECT_EQ(lines[1], "pane -100002 1970-01-01 00:01 Read");
    EXPECT_TRUE(sim::SdkRequestsOf("receipt_summary").empty()) << "counts are for groups";

    // In a group the older page's receipt messages get their counts.
    qel_handle asked = Store(Group(), true, QEL_MSG_FLAG_RECEIPT, "text/plain", R"({"unreadnum":2})");
    for (int i = 0; i < 12; ++i) Store(Group(), false);
    HWND group = Open(sim::ChatKind::Group, "g1");
    EXPECT_TRUE(Panes(View(group)).empty());
    Panel(group)->OnBtnShowMoreMsg();
    sim::RunUntilIdle();
    EXPECT_EQ(Panes(View(group)), (std::vector<std::string>{"pane " + std::to_string(Seq(asked)) + " 2 unread"}));
    ASSERT_FALSE(sim::SdkRequestsOf("receipt_summary").empty());
    const std::string asks = "," + sim::SdkRequestsOf("receipt_summary").back().value + ",";
    EXPECT_NE(asks.find("," + std::to_string(Id(asked)) + ","), std::string::npos) << asks;
}

TEST_F(ReadPanesTest, ReadLineGoesBelowTheStatusOfAnImportantMessage) {
    qel_handle mine = Store(Bob(), true, QEL_MSG_FLAG_IMPORTANT);
    qel_handle theirs = Store(Bob(), false);
    HWND window = Open(sim::ChatKind::Person, "bob");
    Panel(window)->CreateImportantMsgStatus(mine);
    sim::ServerSetPartnerReadCursor(Bob(), int64_t(Seq(mine)), 60);
    sim::RunUntilIdle();
    const std::vector<std::string> lines = Lines(View(window));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], Msg(Id(mine)));
    EXPECT_EQ(lines[1].substr(lines[1].rfind(' ') + 1), "confirmation") << lines[1];
    EXPECT_EQ(lines[2], "pane -100002 1970-01-01 00:01 Read");
    EXPECT_EQ(lines[3], Msg(Id(theirs)));
}

TEST_F(ReadPanesTest, ReadLineKeepsTheViewAtItsEndWhenItWasThere) {
    sim::SetHisShowNum(60);
    for (int i = 0; i < 50; ++i) Store(Bob(), false);
    qel_handle mine = Store(Bob(), true);
    HWND window = Open(sim::ChatKind::Person, "bob");
    ASSERT_TRUE(View(window)->IsVScrollBarVisible());
    ASSERT_TRUE(View(window)->IsAtEnd());
    sim::ServerSetPartnerReadCursor(Bob(), int64_t(Seq(mine)), 60);
    sim::RunUntilIdle();
    EXPECT_EQ(Panes(View(window)).size(), 1u);
    EXPECT_TRUE(View(window)->IsAtEnd());

    View(window)->SetScrollPos(0);
    sim::ServerSetPartnerReadCursor(Bob(), int64_t(Seq(mine)), 120);
    sim::RunUntilIdle();
    EXPECT_EQ(View(window)->GetScrollPos(), 0);
}
