// A long e-mail goes out in parts of 1024 characters. Whatever the order
// and outcome of their answers, the input ends up holding exactly the
// parts that did not go, so that sending again sends only those.
#include <algorithm>

#include "SendFixture.h"

namespace {

const std::u16string kA(1024, u'a');
const std::u16string kB(1024, u'b');
const std::u16string kC(52, u'c');

class EmailPartsTest : public SendTest {
protected:
    HWND OpenConversation() {
        HWND window = Open(sim::ChatKind::Email, "bob");
        Component(window)->SetEmailDlgType(2);
        Panel(window)->SetEmailSubject(u"Plans");
        return window;
    }
    // Sends what the input holds with the answers held back.
    static void SendHeld(HWND window) {
        sim::HoldCompletions(true);
        ClickSend(window);
        sim::HoldCompletions(false);
    }
    static void ReleaseAll(bool reversed) {
        while (sim::HeldCompletions() > 0) sim::ReleaseCompletion(reversed ? sim::HeldCompletions() - 1 : 0);
        sim::RunUntilIdle();
    }
    // The bodies of the e-mails the service keeps as sent.
    static std::vector<std::u16string> Delivered() {
        std::vector<std::u16string> bodies;
        for (const sim::StoredEmail& email : sim::EmailsWith("bob")) {
            const size_t body = email.raw.find("\r\n\r\n");
            bodies.push_back(sim::ToWide(email.raw.substr(body + 4)));
        }
        return bodies;
    }
    static size_t FailureLines(HWND window) { return Items(window, "notice").size(); }
};

struct Outcome {
    const char* name;
    std::vector<int> codes;  // per part, in the order sent
    bool reversed;           // answers come back last part first
    std::u16string kept;     // what the input holds afterwards
};

class EmailPartOutcomesTest : public EmailPartsTest, public testing::WithParamInterface<Outcome> {};

TEST_P(EmailPartOutcomesTest, TheInputKeepsExactlyThePartsThatFailed) {
    const Outcome& outcome = GetParam();
    HWND window = OpenConversation();
    Type(window, kA + kB + kC);
    sim::PlanOutcomes(sim::SdkCall::EmailSend, outcome.codes);
    SendHeld(window);
    ASSERT_EQ(sim::HeldCompletions(), 3u);
    ReleaseAll(outcome.reversed);

    EXPECT_EQ(Input(window)->GetText(), outcome.kept);
    const size_t failed = size_t(std::count(outcome.codes.begin(), outcome.codes.end(), 7));
    EXPECT_EQ(FailureLines(window), failed);
    EXPECT_EQ(Delivered().size(), 3 - failed);

    // Sending again sends only what did not go: every part once in all.
    ClickSend(window);
    sim::RunUntilIdle();
    EXPECT_TRUE(Input(window)->GetText().empty());
    std::u16string all;
    for (const std::u16string& body : Delivered()) all += body;
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, kA + kB + kC);
    EXPECT_EQ(sim::SdkRequestsOf("email_send").size(), 3 + failed);
}

INSTANTIATE_TEST_SUITE_P(Orders, EmailPartOutcomesTest,
                         testing::Values(Outcome{"AllGo", {0, 0, 0}, false, u""},
                                         Outcome{"AllGoReversed", {0, 0, 0}, true, u""},
                                         Outcome{"FirstFails", {7, 0, 0}, false, kA},
                                         Outcome{"FirstFailsReversed", {7, 0, 0}, true, kA},
                                         Outcome{"LastFails", {0, 0, 7}, false, kC},
                                         Outcome{"LastFailsReversed", {0, 0, 7}, true, kC},
                                         Outcome{"AllFail", {7, 7, 7}, false, kA + kB + kC},
                                         Outcome{"AllFailReversed", {7, 7, 7}, true, kA + kB + kC},
                                         Outcome{"MiddleFails", {0, 7, 0}, false, kB}),
                         [](const testing::TestParamInfo<Outcome>& info) { return std::string(info.param.name); });

TEST_F(EmailPartsTest, WhatTheUserTypesMeanwhileStaysBehindTheFailedText) {
    HWND window = OpenConversation();
    Type(window, kA + kB);
    sim::PlanOutcomes(sim::SdkCall::EmailSend, {0, 7});
    SendHeld(window);
    Type(window, u" and more");
    ReleaseAll(true);
    EXPECT_EQ(Input(window)->GetText(), kB + u" and more");

    // A user who replaced the text meanwhile finds the failed part back in
    // front of what they wrote.
    sim::PlanOutcomes(sim::SdkCall::EmailSend, {7, 0});
    Input(window)->SetText(kA + kB);
    SendHeld(window);
    Input(window)->SetText(u"something else");
    ReleaseAll(false);
    EXPECT_EQ(Input(window)->GetText(), kA + u"something else");
}

TEST_F(EmailPartsTest, AFailedPartKeepsItsPicture) {
    HWND window = OpenConversation();
    Type(window, kA + u"x");
    AddPicture(window, WritePng("kept.png", 4, 4));
    Type(window, u"tail");
    sim::PlanOutcomes(sim::SdkCall::EmailSend, {0, 7});
    ClickSend(window);
    sim::RunUntilIdle();
    EXPECT_EQ(Input(window)->GetText(), u"x\uFFFCtail");
}

// A surrogate pair across the first cut moves the second window's start
// back one unit; a picture right after that window's 1024th character then
// opens the third window, and it is the third part that keeps it.
TEST_F(EmailPartsTest, APictureStaysWithThePartThatCarriedIt) {
    const std::u16string twoParts = std::u16string(1023, u'a') + u"\U0001F600" + std::u16string(1023, u'b');
    HWND window = OpenConversation();
    Type(window, twoParts);
    AddPicture(window, WritePng("third.png", 4, 4));
    Type(window, u"tail");
    sim::PlanOutcomes(sim::SdkCall::EmailSend, {0, 0, 7});
    ClickSend(window);
    sim::RunUntilIdle();
    ASSERT_EQ(sim::SdkRequestsOf("email_send").size(), 3u);
    EXPECT_EQ(Input(window)->GetText(), u"\uFFFCtail");

    sim::PlanOutcomes(sim::SdkCall::EmailSend, {7, 7, 0});
    Input(window)->Clear();
    Type(window, twoParts);
    AddPicture(window, WritePng("second.png", 4, 4));
    Type(window, u"tail");
    ClickSend(window);
    sim::RunUntilIdle();
    // The picture went: only the two text parts stay.
    EXPECT_TRUE(Input(window)->GetText() == twoParts);
}

TEST_F(EmailPartsTest, ARefusedPartAndAllAfterItStay) {
    HWND window = OpenConversation();
    Type(window, kA + kB + kC);
    sim::RefuseNext(sim::SdkCall::EmailSend, 5, 1);
    ClickSend(window);
    sim::RunUntilIdle();
    EXPECT_EQ(sim::SdkRequestsOf("email_send").size(), 2u);
    EXPECT_EQ(Input(window)->GetText(), kB + kC);
    EXPECT_EQ(FailureLines(window), 1u);
}

TEST_F(EmailPartsTest, ComposingKeepsTheWholeInputWhateverTheAnswers) {
    HWND window = Open(sim::ChatKind::Email, "bob");
    Component(window)->SetEmailDlgType(1);
    auto* receiver = new CControlUI;
    receiver->SetName(u"reciever_edit");
    receiver->SetText(u"bob@example.com");
    auto* subject = new CControlUI;
    subject->SetName(u"subject_edit");
    subject->SetText(u"Plans");
    sim::FindChatWindow(window)->GetRoot()->Add(receiver);
    sim::FindChatWindow(window)->GetRoot()->Add(subject);
    Type(window, kA + kB);
    sim::PlanOutcomes(sim::SdkCall::EmailSend, {0, 7});
    ClickSend(window);
    sim::RunUntilIdle();
    EXPECT_EQ(Input(window)->GetText(), kA + kB);
}

// Answers that come after the window closed can only show boxes; the
// draft saved at the close holds the whole send, so the failed part is
// there when the window opens again (with the parts that went).
TEST_F(EmailPartsTest, AWindowClosedBeforeTheAnswersKeepsTheSendInItsDraft) {
    HWND window = OpenConversation();
    Type(window, kA + kB + kC);
    sim::PlanOutcomes(sim::SdkCall::EmailSend, {0, 7, 0});
    SendHeld(window);
    sim::CloseChatWindow(window);
    ReleaseAll(false);
    EXPECT_EQ(sim::ShownBoxes().size(), 3u);
    window = OpenConversation();
    EXPECT_EQ(Input(window)->GetText(), kA + kB + kC);
}

}  // namespace
