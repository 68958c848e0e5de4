// What the user sees when the SDK refuses a send, fails it later, or
// answers after the window closed.
#include "SendFixture.h"

#include "sim/host/DisplayInternal.h"

namespace {

TEST_F(SendTest, RefusedRequestShowsItsErrorLineAndNoBubble) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::SetSdkErrorText(-5, u"no way");
    const std::vector<std::pair<int, std::u16string>> cases{
        {-998, u"#SEND_FAIL_FAST"}, {-9979, u"#SEND_FAIL_NOSPACE"}, {-5, u"no way"}};
    for (const auto& [code, text] : cases) {
        Input(window)->SetText(u"hi");
        sim::RefuseNext(sim::SdkCall::Send, code);
        ClickSend(window);
        EXPECT_EQ(Notices(window).back(), text);
        EXPECT_EQ(Input(window)->GetText(), u"hi");
    }
    EXPECT_TRUE(Items(window, "msg").empty());
    EXPECT_TRUE(sim::FailMarks().empty());
}

TEST_F(SendTest, FailedCompletionMarksTheBubble) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const int64_t shown = tavi::PeekProvisionalMsgId();
    sim::FailNext(sim::SdkCall::Send, -7, true);
    Type(window, u"one");
    ClickSend(window);
    sim::FailNext(sim::SdkCall::Send, -7, false);
    Type(window, u"two");
    ClickSend(window);
    sim::RunUntilIdle();
    const auto& marks = sim::FailMarks();
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].shownId, shown);
    EXPECT_EQ(marks[1].shownId, shown + 1);
    // The SDK's id of the stored failed message, and a local failed record.
    EXPECT_NE(marks[0].msgIdText, u"0");
    EXPECT_NE(marks[1].msgIdText, u"0");
    EXPECT_NE(marks[0].msgIdText, marks[1].msgIdText);
    EXPECT_EQ(sim::NoticeText(marks[0].notice), u"IDS_SEND_MSG_FAIL_DETAIL");
    EXPECT_EQ(tavi::GetSendingMsgCount(), 0);
}

TEST_F(SendTest, FailedUploadMarksTheMessageWithoutSending) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::FailNext(sim::SdkCall::Upload, -5);
    AddPicture(window, WritePng("f.png", 2, 2));
    ClickSend(window);
    sim::RunUntilIdle();
    EXPECT_TRUE(Sends().empty());
    ASSERT_EQ(sim::FailMarks().size(), 1u);
    EXPECT_EQ(sim::FailMarks()[0].shownId, Items(window, "msg").at(0).id);

    // An upload refused at once ends in the error line; nothing is shown.
    sim::RefuseNext(sim::SdkCall::Upload, -1);
    AddPicture(window, WritePng("g.png", 2, 2, 'g'));
    ClickSend(window);
    EXPECT_EQ(Items(window, "msg").size(), 1u);
    EXPECT_EQ(Notices(window).back(), u"error -1");
    EXPECT_EQ(tavi::GetSendingMsgCount(), 0);
}

TEST_F(SendTest, CompletionAfterTheWindowClosedTouchesNothing) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::EnableTraceChannel("send_msg");
    sim::HoldCompletions(true);
    Type(window, u"bye");
    ClickSend(window);
    sim::FailNext(sim::SdkCall::Send, -7);
    Type(window, u"again");
    ClickSend(window);
    EXPECT_EQ(tavi::GetSendingMsgCount(), 2);
    sim::CloseChatWindow(window);
    sim::HoldCompletions(false);
    sim::ReleaseCompletions();
    sim::RunUntilIdle();
    EXPECT_TRUE(sim::FailMarks().empty());
    // Only the failure is told, in a tip of the application.
    ASSERT_EQ(sim::AppTips().size(), 1u);
    EXPECT_EQ(sim::AppTips()[0].title, u"#TIP");
    size_t traced = 0;
    for (const auto& line : sim::LogLines()) traced += line.channel == "send_msg" && line.text.find("msg_id:") == 0;
    EXPECT_EQ(traced, 2u);
    EXPECT_EQ(tavi::GetSendingMsgCount(), 0);
}

}  // namespace

namespace {

TEST_F(SendTest, RefusedUploadOfARichMessageFailsItAtOnce) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    Type(window, u"two");
    AddPicture(window, WritePng("r1.png", 2, 2, '1'));
    sim::RefuseNext(sim::SdkCall::Upload, -1);
    AddPicture(window, WritePng("r2.png", 2, 2, '2'));
    ClickSend(window);
    sim::RunUntilIdle();
    EXPECT_TRUE(Sends().empty());
    EXPECT_TRUE(Items(window, "msg").empty());
    EXPECT_EQ(Notices(window).back(), u"error -1");
    EXPECT_EQ(Input(window)->GetText().size(), 5u);
    EXPECT_EQ(tavi::GetSendingMsgCount(), 0);
}

}  // namespace
