// Sending at the edges: a failure that must stay in sight while later
// messages go, a picture sent from a hidden window, a module that is not
// running, and a compose window that lacks one of its fields.
#include "SendFixture.h"

#include "sdk/qel_cxx_helper.h"
#include "sdk/ui/WindowUI.h"
#include "sim/host/DisplayInternal.h"

namespace {

TEST_F(SendTest, AFailedMessageKeepsItsResendButtonWhileLaterMessagesGo) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::FailNext(sim::SdkCall::Send, -7, true);
    Type(window, u"lost");
    ClickSend(window);
    sim::RunUntilIdle();
    const int64_t failed = Items(window, "msg").at(0).id;
    ASSERT_NE(View(window)->FindSubControl(u"resendmsg"), nullptr);
    ASSERT_EQ(sim::FailMarks().size(), 1u);
    // The failure notice in the form the history view renders.
    EXPECT_EQ(sim::FailMarks()[0].notice, u"&<txt>*1:8:IDS_SEND_MSG_FAIL_DETAIL<txt>&");

    Type(window, u"went");
    ClickSend(window);
    sim::RunUntilIdle();
    EXPECT_EQ(Sends().size(), 2u);
    EXPECT_TRUE(sim::IsMarkedFailed(View(window), failed));
    EXPECT_NE(View(window)->FindSubControl(u"resendmsg"), nullptr);
}

TEST_F(SendTest, APictureMessageIsKeptAsPendingOnlyWhileItsWindowShows) {
    const auto storedCount = [] {
        qel_cxx_helper::HandleArray stored;
        qel_conversation_get_page_record(sim::OpenConversation("bob"), 0, UINT64_MAX, 0, 100, 1, stored.out_list(),
                                         stored.out_count(), 0);
        return stored.count();
    };
    const std::u16string picture = WritePng("pending.png", 4, 4);
    for (const bool shown : {true, false}) {
        HWND window = Open(sim::ChatKind::Person, "bob");
        const int before = storedCount();
        sim::HoldCompletions(true);
        sim::FindChatWindow(window)->ShowWindow(shown);
        AddPicture(window, picture);
        ClickSend(window);
        EXPECT_EQ(storedCount() - before, shown ? 1 : 0) << "window shown: " << shown;
        sim::HoldCompletions(false);
        sim::ReleaseCompletions();
        sim::CloseChatWindow(window);
        sim::RunUntilIdle();
    }
}

TEST_F(SendTest, WithoutTheModuleRunningTextAndPicturesGoAsSeparatePlainMessages) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::u16string picture = WritePng("p.png", 4, 4);
    m_module->Uninit();
    Type(window, u"before ");
    AddPicture(window, picture);
    Type(window, u" after");
    ClickSend(window);
    sim::RunUntilIdle();

    std::vector<std::string> types;
    for (const sim::SdkRequest& send : Sends()) types.push_back(send.contentType);
    EXPECT_EQ(types, (std::vector<std::string>{"text/plain", "img/xml", "text/plain"}));
    ASSERT_EQ(Sends().size(), 3u);
    EXPECT_EQ(Sends()[0].content, "before ");
    EXPECT_EQ(Sends()[2].content, " after");
    EXPECT_EQ(sim::SdkRequestsOf("upload").size(), 1u);
}

TEST_F(SendTest, AComposeWindowWithoutAReceiverFieldTakesTheTitleAndAsksForTheReceiver) {
    HWND window = Open(sim::ChatKind::Email, "bob");
    Component(window)->SetEmailDlgType(1);
    for (const auto& [name, text] : {std::pair<const char16_t*, const char16_t*>{u"subject_edit", u"Plans"},
                                     {u"title", u"Window title"}}) {
        auto* field = new CControlUI;
        field->SetName(name);
        field->SetText(text);
        sim::FindChatWindow(window)->GetRoot()->Add(field);
    }
    Type(window, u"hello");
    ClickSend(window);
    ASSERT_EQ(sim::ShownBoxes().size(), 1u);
    EXPECT_EQ(sim::ShownBoxes()[0].text, u"#SEND_EMAIL_CONTENT_RECIVER_EMPTY");
    EXPECT_TRUE(sim::SdkRequestsOf("email_send").empty());
    EXPECT_EQ(Input(window)->GetText(), u"hello");
}

}  // namespace
