// What the user sees when the SDK refuses a send, fails it later, or
// answers after the window closed.
#include <tinyxml.h>

#include "SendFixture.h"

#include "sim/host/DisplayInternal.h"

#include <algorithm>

namespace {

TEST_F(SendTest, RefusedRequestShowsItsErrorLineAndNoBubble) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::SetSdkErrorText(-5, u"no way");
    const std::vector<std::pair<int, std::u16string>> cases{
        {-998, u"#SEND_FAIL_FAST"}, {-9979, u"#SEND_FAIL_NOSPACE"}, {-5, u"no way"}};
    for (const auto& [code, text] : cases) {
        Input(window)->SetText(u"hi");
        View(window)->SetFocus();
        sim::RefuseNext(sim::SdkCall::Send, code);
        ClickSend(window);
        EXPECT_EQ(Notices(window).back(), text);
        EXPECT_EQ(Input(window)->GetText(), u"hi");
        EXPECT_TRUE(Input(window)->IsFocused());
    }
    EXPECT_TRUE(Items(window, "msg").empty());
    EXPECT_TRUE(sim::FailMarks().empty());
}

size_t CountMarks(const std::string& kind, const std::string& reason) {
    size_t count = 0;
    for (const auto& mark : sim::SdkMarks()) count += mark.kind == kind && mark.reason == reason;
    return count;
}

TEST_F(SendTest, SentMessageMarksReadRecordsItsIdsAndFocusesTheInput) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const int64_t shown = tavi::PeekProvisionalMsgId();
    const size_t readRequests = CountMarks("request_readed", "");
    Send(window, u"hi");
    EXPECT_EQ(CountMarks("readed_and_acked_ex", "CMsgHandle::SendMsg"), 1u);
    sim::RunUntilIdle();
    EXPECT_EQ(CountMarks("readed_and_acked_ex", "CMsgHandle::OnSendMessageCallback"), 1u);
    EXPECT_EQ(CountMarks("request_readed", ""), readRequests + 2);

    const std::optional<uint64_t> sdkId = tavi::FindSdkMsgId(shown);
    ASSERT_TRUE(sdkId.has_value());
    EXPECT_NE(*sdkId, 0u);
    EXPECT_EQ(tavi::FindProvisionalMsgId(*sdkId), shown);
    const auto& told = Input(window)->GetTxMessages();
    EXPECT_EQ(std::count(told.begin(), told.end(), 7u), 1);
}

TEST_F(SendTest, FailedCompletionMarksTheBubble) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const int64_t shown = tavi::PeekProvisionalMsgId();
    sim::FailNext(sim::SdkCall::Send, -7, true);
    Send(window, u"one");
    sim::FailNext(sim::SdkCall::Send, -7, false);
    SendAndSettle(window, u"two");
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
    // A failure records its ids too.
    EXPECT_TRUE(tavi::FindSdkMsgId(shown).has_value());
    EXPECT_TRUE(tavi::FindSdkMsgId(shown + 1).has_value());
}

TEST_F(SendTest, FailedOrRefusedUploadsMarkTheirMessageOnceWithoutSending) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    // Every message so far has its bubble, the newest marked failed.
    const auto failedSoFar = [&](size_t count) {
        EXPECT_EQ(Items(window, "msg").size(), count);
        ASSERT_EQ(sim::FailMarks().size(), count);
        EXPECT_EQ(sim::FailMarks().back().shownId, Items(window, "msg").back().id);
    };
    // A picture whose upload fails later, and one refused at once.
    sim::FailNext(sim::SdkCall::Upload, -5);
    AddPicture(window, WritePng("f.png", 2, 2));
    ClickSend(window);
    sim::RunUntilIdle();
    failedSoFar(1);
    sim::RefuseNext(sim::SdkCall::Upload, -1);
    AddPicture(window, WritePng("g.png", 2, 2, 'g'));
    ClickSend(window);
    failedSoFar(2);

    // A text whose second picture is refused at once.
    Type(window, u"two");
    AddPicture(window, WritePng("r1.png", 2, 2, '1'));
    sim::RefuseNext(sim::SdkCall::Upload, -1);
    AddPicture(window, WritePng("r2.png", 2, 2, '2'));
    ClickSend(window);
    sim::RunUntilIdle();
    failedSoFar(3);

    // The first picture fails after the second was refused: failed once.
    Type(window, u"three");
    AddPicture(window, WritePng("r3.png", 2, 2, '3'));
    AddPicture(window, WritePng("r4.png", 2, 2, '4'));
    sim::FailNext(sim::SdkCall::Upload, -5);
    sim::RefuseNext(sim::SdkCall::Upload, -1, 1);
    const size_t uploads = sim::SdkRequestsOf("upload").size();
    ClickSend(window);
    failedSoFar(4);
    sim::RunUntilIdle();
    failedSoFar(4);
    EXPECT_EQ(sim::SdkRequestsOf("upload").size(), uploads + 2);

    // Nothing was sent, and no error line written.
    EXPECT_TRUE(Sends().empty());
    for (const auto& notice : Notices(window)) EXPECT_EQ(notice.find(u"error"), std::u16string::npos);
    EXPECT_EQ(tavi::GetSendingMsgCount(), 0);
}

// The key the server gives an uploaded picture is its data: markup in it
// is written escaped and reads back whole; no key at all is a failed upload.
TEST_F(SendTest, KeysTheServerGivesPicturesAreTakenAsTheyAreOrFailTheUpload) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::u16string lone = WritePng("lone.png", 2, 2, 'l');
    const std::u16string inText = WritePng("intext.png", 2, 2, 't');
    // A picture alone, then one in text, each uploaded under its own name.
    const auto sendBoth = [&] {
        AddPicture(window, lone);
        ClickSend(window);
        Type(window, u"see ");
        AddPicture(window, inText);
        ClickSend(window);
        sim::RunUntilIdle();
    };
    sendBoth();
    ASSERT_EQ(sim::SdkRequestsOf("upload").size(), 2u);
    const std::string names[] = {sim::SdkRequestsOf("upload")[0].cacheName, sim::SdkRequestsOf("upload")[1].cacheName};

    const std::string hostile = "a\"b&<c>'d";
    for (const std::string& name : names) sim::SetUploadKey(name, hostile);
    sendBoth();
    ASSERT_EQ(Sends().size(), 4u);
    for (size_t n : {2, 3}) {
        TiXmlDocument document;
        document.Parse(Sends()[n].content.c_str());
        const TiXmlElement* root = document.RootElement();
        ASSERT_NE(root, nullptr) << Sends()[n].content;
        const TiXmlElement* img = root->ValueStr() == "img" ? root : root->FirstChildElement("img");
        ASSERT_NE(img, nullptr) << Sends()[n].content;
        EXPECT_EQ(img->Attribute("src") ? std::string(img->Attribute("src")) : "", hostile);
    }

    for (const std::string& name : names) sim::SetUploadKey(name, "");
    sendBoth();
    EXPECT_EQ(Sends().size(), 4u);
    EXPECT_EQ(sim::FailMarks().size(), 2u);
    EXPECT_EQ(tavi::GetSendingMsgCount(), 0);
}

TEST_F(SendTest, QueueGoesOnAfterAFailedUpload) {
    // Also when the SDK stored the pending message without an id.
    for (bool withoutId : {false, true}) {
        SCOPED_TRACE(withoutId ? "pending message without id" : "pending message with id");
        HWND window = Open(sim::ChatKind::Person, "bob");
        const int64_t first = tavi::PeekProvisionalMsgId();
        // Two pieces: the picture with 872 letters, then 228 letters.
        AddPicture(window, WritePng("f.png", 2, 2));
        Type(window, std::u16string(1100, u'a'));
        if (withoutId) sim::StoreNextPendingWithoutId();
        sim::FailNext(sim::SdkCall::Upload, -5);
        const size_t earlier = Sends().size();
        ClickSend(window);
        sim::RunUntilIdle();
        ASSERT_EQ(Sends().size(), earlier + 1);
        EXPECT_EQ(sim::ToWide(Sends().back().content).size(), 228u);
        ASSERT_FALSE(sim::FailMarks().empty());
        EXPECT_EQ(sim::FailMarks().back().shownId, first);
        EXPECT_NE(sim::FailMarks().back().msgIdText, u"0");
        EXPECT_EQ(tavi::GetSendingMsgCount(), 0);
        sim::CloseChatWindow(window);
    }
}

TEST_F(SendTest, RefusedPieceAndTheRestOfItsSendAreMarkedFailedAndKept) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const int64_t first = tavi::PeekProvisionalMsgId();
    Type(window, std::u16string(1024, u'a') + std::u16string(1024, u'b') + std::u16string(952, u'c'));
    View(window)->SetFocus();
    sim::RefuseNext(sim::SdkCall::Send, -998);
    ClickSend(window);
    // Told once; the later pieces never reached the SDK.
    ASSERT_EQ(Sends().size(), 1u);
    EXPECT_EQ(Notices(window).front(), u"#SEND_FAIL_FAST");
    EXPECT_EQ(Items(window, "msg").size(), 3u);
    const auto& marks = sim::FailMarks();
    ASSERT_EQ(marks.size(), 3u);
    for (size_t i = 0; i < marks.size(); ++i) EXPECT_EQ(marks[i].shownId, first + int64_t(i));
    EXPECT_TRUE(Input(window)->IsFocused());

    // The conversation's queue goes on with the next send.
    Send(window, u"next");
    ASSERT_EQ(Sends().size(), 2u);
    EXPECT_EQ(Sends()[1].content, "next");

    // The text is still there after the window was closed and opened again.
    sim::CloseChatWindow(window);
    window = Open(sim::ChatKind::Person, "bob");
    std::u16string history;
    for (const auto& item : Items(window, "msg")) history += item.text;
    for (char16_t letter : {u'a', u'b'}) EXPECT_NE(history.find(std::u16string(1024, letter)), std::u16string::npos);
    EXPECT_NE(history.find(std::u16string(952, u'c')), std::u16string::npos);
}

TEST_F(SendTest, RefusedRequestAfterAnUploadHoldsBackTheRestOfItsSend) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    // Three pieces; the refusal meets the second, sent once its picture is up.
    Type(window, std::u16string(1100, u'a'));
    AddPicture(window, WritePng("mid.png", 20, 20));
    Send(window, std::u16string(1024, u'b'));
    Send(window, u"later");
    sim::RefuseNext(sim::SdkCall::Send, -7);
    sim::RunUntilIdle();
    std::vector<std::string> accepted;
    for (const auto& send : Sends()) {
        if (send.result == 0) accepted.push_back(send.contentType + ":" + send.content.substr(0, 1));
    }
    EXPECT_EQ(accepted, (std::vector<std::string>{"text/plain:a", "text/plain:l"}));
    EXPECT_EQ(sim::FailMarks().size(), 2u);
    EXPECT_EQ(tavi::GetSendingMsgCount(), 0);
}

TEST_F(SendTest, CompletionAfterTheWindowClosedTouchesNothing) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::EnableTraceChannel("send_msg");
    sim::HoldCompletions(true);
    Send(window, u"bye");
    sim::FailNext(sim::SdkCall::Send, -7);
    Send(window, u"again");
    EXPECT_EQ(tavi::GetSendingMsgCount(), 2);
    sim::CloseChatWindow(window);
    ReleaseHeld();
    EXPECT_TRUE(sim::FailMarks().empty());
    // Only the failure is told, in a tip of the application.
    ASSERT_EQ(sim::AppTips().size(), 1u);
    EXPECT_EQ(sim::AppTips()[0].title, u"#TIP");
    size_t traced = 0;
    for (const auto& line : sim::LogLines()) traced += line.channel == "send_msg" && line.text.find("msg_id:") == 0;
    EXPECT_EQ(traced, 2u);
    EXPECT_EQ(tavi::GetSendingMsgCount(), 0);
}



TEST_F(SendTest, TranslationOfASentMessageShowsOnItsBubble) {
    sim::SetModuleConfig("IMCore", "Translation", "1");
    HWND window = Open(sim::ChatKind::Person, "bob");
    SendAndSettle(window, u"hello");
    ASSERT_EQ(Items(window, "msg").size(), 1u);
    const int64_t shown = Items(window, "msg")[0].id;
    Handler(window)->TranslateMsg(shown);
    sim::RunUntilIdle();
    ASSERT_EQ(Items(window, "msg").size(), 1u);
    EXPECT_EQ(Items(window, "msg")[0].id, shown);
    EXPECT_NE(Items(window, "msg")[0].text.find(u"hello => "), std::u16string::npos);
    Handler(window)->HideTranslation(shown);
    EXPECT_EQ(Items(window, "msg")[0].text.find(u" => "), std::u16string::npos);
}

TEST_F(SendTest, SendFailedAfterItsWindowClosedIsBackInTheHistory) {
    for (bool stored : {false, true}) {
        SCOPED_TRACE(stored ? "stored as failed by the SDK" : "not stored by the SDK");
        HWND window = Open(sim::ChatKind::Person, "bob");
        sim::HoldCompletions(true);
        sim::FailNext(sim::SdkCall::Send, -7, stored);
        const std::u16string text = stored ? u"kept by the SDK" : u"kept here";
        Send(window, text);
        sim::CloseChatWindow(window);
        ReleaseHeld();
        window = Open(sim::ChatKind::Person, "bob");
        size_t shown = 0;
        for (const auto& item : Items(window, "msg")) shown += item.text == u"me: " + text;
        EXPECT_EQ(shown, 1u);
        sim::CloseChatWindow(window);
    }
}

TEST_F(SendTest, QueuedSendRefusedAfterItsWindowClosedIsBackInTheHistory) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    // A picture whose upload fails lets the queued text go, which the SDK
    // refuses; by then the window that sent it has closed.
    sim::HoldCompletions(true);
    sim::FailNext(sim::SdkCall::Upload, -5);
    AddPicture(window, WritePng("q.png", 3, 3));
    ClickSend(window);
    Send(window, u"queued");
    EXPECT_TRUE(Sends().empty());
    sim::CloseChatWindow(window);
    sim::RefuseNext(sim::SdkCall::Send, -7);
    ReleaseHeld();
    ASSERT_EQ(Sends().size(), 1u);
    EXPECT_EQ(Sends()[0].result, -7);
    EXPECT_EQ(sim::AppTips().size(), 2u);

    window = Open(sim::ChatKind::Person, "bob");
    std::vector<std::u16string> history;
    for (const auto& item : Items(window, "msg")) history.push_back(item.text);
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0].rfind(u"me: [img", 0), 0u);
    EXPECT_EQ(history[1], u"me: queued");
    EXPECT_EQ(tavi::GetSendingMsgCount(), 0);
}

TEST_F(SendTest, ProvisionalIdsNeverRunIntoTheIdsOfRealMessages) {
    // A client that has shown a hundred thousand messages: the counter is at
    // the end of its first range (once per process; later it stays far below).
    if (tavi::PeekProvisionalMsgId() >= tavi::kFirstProvisionalMsgId) {
        while (tavi::PeekProvisionalMsgId() < tavi::kLastProvisionalMsgIdBeforeWrap - 1) tavi::TakeProvisionalMsgId();
    }
    // A history longer than a page: the view holds the history marker and
    // the offer of older messages, lines of its own under ids of their own.
    sim::AddStoredMsgs(sim::OpenConversation("bob"), 30, true);
    HWND window = Open(sim::ChatKind::Person, "bob");
    const size_t history = Items(window, "msg").size();
    ASSERT_FALSE(Items(window, "pane").empty());
    ASSERT_TRUE(View(window)->HasHeaderLine());
    sim::HoldCompletions(true);
    Send(window, std::u16string(3000, u'x'));
    std::vector<int64_t> own;
    for (const sim::ViewItem& item : Items(window, "msg")) {
        if (item.id < 0) own.push_back(item.id);
    }
    ReleaseHeld();
    sim::DeliverIncomingMsg(sim::OpenConversation("bob"), "hello");
    Component(window)->GetAndShowMsg(0, 0);

    ASSERT_EQ(own.size(), 3u);
    for (int64_t id : own) EXPECT_LT(id, -2) << "a draft's or a real message's id";
    EXPECT_TRUE(View(window)->HasHeaderLine());
    EXPECT_FALSE(Items(window, "pane").empty());
    const auto shown = Items(window, "msg");
    ASSERT_EQ(shown.size(), history + 4);
    EXPECT_EQ(shown.back().text, u"bob: hello");
    std::vector<int64_t> ids;
    for (const sim::ViewItem& item : shown) ids.push_back(item.id);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end()) << "two bubbles under one id";
    ASSERT_EQ(Sends().size(), 3u);
    EXPECT_EQ(sim::ToWide(Sends()[2].content).size(), 952u);
    EXPECT_EQ(tavi::GetSendingMsgCount(), 0);
}

}  // namespace
