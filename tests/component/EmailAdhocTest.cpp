// E-mail and ad-hoc windows: what they send goes through the e-mail
// service resp. the host's ad-hoc sender and never through the
// conversation; e-mails exchanged with the peer are shown as messages.
#include "SendFixture.h"

#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/ui/ContainerUI.h"
#include "sdk/ui/WindowUI.h"

namespace {

std::vector<size_t> Sizes(const std::vector<sim::SdkRequest>& requests) {
    std::vector<size_t> sizes;
    for (const auto& r : requests) sizes.push_back(sim::ToWide(r.content).size());
    return sizes;
}

class EmailTest : public SendTest {
protected:
    HWND OpenEmail(int layout) {
        HWND window = Open(sim::ChatKind::Email, "bob");
        Component(window)->SetEmailDlgType(layout);
        return window;
    }
    // The compose layout's fields belong to the host's window.
    static void Compose(HWND window, const std::u16string& receiver, const std::u16string& subject) {
        CWindowUI* host = sim::FindChatWindow(window);
        const std::pair<const char16_t*, std::u16string> fields[] = {{u"reciever_edit", receiver},
                                                                      {u"subject_edit", subject}};
        for (const auto& [name, text] : fields) {
            auto* field = new CControlUI;
            field->SetName(name);
            field->SetText(text);
            host->GetRoot()->Add(field);
        }
    }
    static std::vector<sim::SdkRequest> Requests(const std::string& kind) { return sim::SdkRequestsOf(kind); }
    static std::vector<std::u16string> BoxTexts() {
        std::vector<std::u16string> texts;
        for (const sim::ShownBox& box : sim::ShownBoxes()) texts.push_back(box.text);
        return texts;
    }
    static std::vector<std::u16string> Messages(HWND window) {
        std::vector<std::u16string> texts;
        for (const sim::ViewItem& item : Items(window, "msg")) texts.push_back(item.text);
        return texts;
    }
    static void AddEmail(const std::string& folder, const std::string& subject, const std::string& body) {
        sim::StoredEmail email;
        email.folder = folder;
        email.raw = sim::MakeRawEmail(subject, body);
        sim::AddEmail("bob", email);
    }
};

TEST_F(EmailTest, ComposedEmailGoesThroughTheServiceInWindowsOf1024) {
    HWND window = OpenEmail(1);
    Compose(window, u"bob@example.com", u"Plans");
    Send(window, std::u16string(2100, u'e'));

    const auto sent = Requests("email_send");
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(Sizes(sent), (std::vector<size_t>{1024, 1024, 52}));
    for (const auto& r : sent) {
        EXPECT_EQ(r.convId, "bob@example.com");
        EXPECT_EQ(r.value, "Plans");
        EXPECT_EQ(r.contentType, "IM");
    }
    EXPECT_TRUE(Sends().empty());
    sim::RunUntilIdle();
    EXPECT_EQ(BoxTexts(), std::vector<std::u16string>(3, u"#SEND_EMAIL_SUCCESS"));
    EXPECT_EQ(Requests("email_seen").size(), 3u);
    EXPECT_TRUE(Requests("email_get").empty());

    // A window's end never parts a surrogate pair.
    Input(window)->SetText(u"");
    Send(window, std::u16string(1023, u'a') + u"\U0001F600b");
    ASSERT_EQ(Requests("email_send").size(), 5u);
    EXPECT_EQ(Sizes(Requests("email_send")), (std::vector<size_t>{1024, 1024, 52, 1023, 3}));
    EXPECT_EQ(sim::ToWide(Requests("email_send")[4].content), u"\U0001F600b");

    // A picture right at a window's end goes with that window, and only there.
    for (const std::u16string after : {u"q", u""}) {
        Input(window)->SetText(u"");
        Type(window, std::u16string(1024, u'p'));
        AddPicture(window, WritePng("edge.png", 2, 2));
        const size_t before = Requests("email_send").size();
        Send(window, after);
        const auto sent = Requests("email_send");
        ASSERT_EQ(sent.size(), before + (after.empty() ? 1 : 2));
        EXPECT_NE(sent[before].content.find("<localimg"), std::string::npos);
        if (!after.empty()) {
            EXPECT_EQ(sent[before + 1].content, "q");
        }
    }

    // The chosen font goes with the text.
    const std::u16string style = ChooseItalics(window);
    Input(window)->SetText(u"");
    Send(window, u"slanted");
    ASSERT_EQ(Requests("email_send").size(), 9u);
    EXPECT_EQ(Requests("email_send")[8].content,
              "<div style=\"" + sim::ToUtf8(style) + "\"><span>slanted</span></div>");
}

TEST_F(EmailTest, ComposeLayoutFallsBackToTheTitleAndAsksForMissingFields) {
    HWND window = OpenEmail(1);
    Type(window, u"hello");
    ClickSend(window);  // neither fields nor title
    EXPECT_EQ(BoxTexts(), std::vector<std::u16string>{u"#SEND_EMAIL_CONTENT_RECIVER_EMPTY"});
    EXPECT_EQ(sim::ShownBoxes().back().width, 340);

    auto* title = new CControlUI;
    title->SetName(u"title");
    title->SetText(u"Only a title");
    sim::FindChatWindow(window)->GetRoot()->Add(title);
    ClickSend(window);  // a title gives a subject, but still no receiver
    EXPECT_EQ(BoxTexts().size(), 2u);
    EXPECT_TRUE(Requests("email_send").empty());
    EXPECT_EQ(Input(window)->GetText(), u"hello");

    Compose(window, u"", u"Subject");
    ClickSend(window);
    EXPECT_EQ(BoxTexts().size(), 3u);
    EXPECT_TRUE(Requests("email_send").empty());
}

TEST_F(EmailTest, BuiltInSmileysAndGonePicturesAreNotMailed) {
    HWND window = OpenEmail(1);
    Compose(window, u"bob@example.com", u"Hi");
    Type(window, u"look ");
    auto* smiley = new COleImageObj();
    smiley->SetImageType(1);
    smiley->SetKey(u"/smile");
    ASSERT_TRUE(Input(window)->InsertObject(smiley));
    ClickSend(window);
    EXPECT_EQ(Notices(window), std::vector<std::u16string>{u"#SEND_EMAIL_DEFAULT_SMILEYS_ERROR"});
    EXPECT_FALSE(Input(window)->GetText().empty());

    // Nor does a picture that has neither a file nor a key.
    Input(window)->SetText(u"");
    auto* blank = new COleImageObj();
    blank->SetImageType(2);
    ASSERT_TRUE(Input(window)->InsertObject(blank));
    ClickSend(window);
    EXPECT_EQ(Notices(window).size(), 2u);
    EXPECT_EQ(Notices(window).back(), u"#SEND_EMAIL_DEFAULT_SMILEYS_ERROR");

    Input(window)->SetText(u"");
    const std::u16string path = WritePng("gone.png", 4, 4);
    AddPicture(window, path);
    std::filesystem::remove(sim::ToUtf8(path));
    ClickSend(window);
    EXPECT_EQ(Notices(window).back(), u"#IDS_IMAGE_DEL_CAN_NOT_SEND");
    EXPECT_TRUE(Input(window)->GetText().empty());
    EXPECT_TRUE(Requests("email_send").empty());
}

TEST_F(EmailTest, ConversationLayoutRepliesUnderTheSubjectShownAndFetchesTheNewest) {
    AddEmail("INBOX", "Lunch?", "at noon");
    HWND window = OpenEmail(2);
    Component(window)->EmailRequest(0, 10, false);
    sim::RunUntilIdle();
    EXPECT_EQ(Messages(window), std::vector<std::u16string>{u"Bob: at noon"});
    ASSERT_EQ(Requests("email_seen").size(), 1u);
    const auto marks = sim::AttribWrites();
    ASSERT_FALSE(marks.empty());
    EXPECT_EQ(marks.back().owner, "buddy:me");
    EXPECT_EQ(marks.back().key, "im_email_read:bob");

    Send(window, u"fine");
    const auto sent = Requests("email_send");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].convId, "");  // the service knows the window's peer
    EXPECT_EQ(sent[0].value, "Lunch?");
    EXPECT_EQ(sent[0].content, "fine");
    EXPECT_TRUE(Sends().empty());
    sim::RunUntilIdle();
    const auto fetches = Requests("email_get");
    ASSERT_EQ(fetches.size(), 2u);
    EXPECT_EQ(fetches[1].msgId, 0u);
    EXPECT_EQ(fetches[1].flags, 3);
    EXPECT_TRUE(Input(window)->GetText().empty());
    EXPECT_EQ(Requests("email_seen").size(), 2u);
    // The inbox e-mail comes again with the newest three but shows once.
    EXPECT_EQ(Messages(window), (std::vector<std::u16string>{u"Bob: at noon", u"me: fine"}));
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(EmailTest, FailuresShowAsALineInTheConversationAndAsABoxWhenComposing) {
    sim::SetSdkErrorText(7, u"mailbox full");
    AddEmail("inbox", "Topic", "first");
    HWND window = OpenEmail(2);
    Component(window)->EmailRequest(0, 5, false);
    sim::RunUntilIdle();
    Type(window, u"reply");
    sim::FailNext(sim::SdkCall::EmailSend, 7);
    ClickSend(window);
    sim::RunUntilIdle();
    ASSERT_FALSE(Items(window, "notice").empty());
    EXPECT_EQ(Items(window, "notice").back().text, u"SEND_EMAIL_FAILED_MSG");
    EXPECT_EQ(Input(window)->GetText(), u"reply");

    sim::SetLanguage(sim::Language::English);
    sim::RefuseNext(sim::SdkCall::EmailSend, 7);
    ClickSend(window);
    EXPECT_EQ(Items(window, "notice").back().text, u"The e-mail could not be sent: mailbox full");

    Component(window)->SetEmailDlgType(1);
    Compose(window, u"bob@example.com", u"Topic");
    sim::FailNext(sim::SdkCall::EmailSend, 7);
    ClickSend(window);
    sim::RunUntilIdle();
    EXPECT_EQ(BoxTexts(), std::vector<std::u16string>{u"The e-mail could not be sent: mailbox full"});
    EXPECT_TRUE(Requests("email_seen").size() == 1u);
}

TEST_F(EmailTest, ACompletionForAClosedWindowOnlyShowsTheBox) {
    HWND window = OpenEmail(2);
    AddEmail("inbox", "Topic", "first");
    Component(window)->EmailRequest(0, 5, true);
    sim::RunUntilIdle();
    Type(window, u"reply");
    sim::HoldCompletions(true);
    ClickSend(window);
    sim::FailNext(sim::SdkCall::EmailSend, 3);
    ClickSend(window);
    sim::CloseChatWindow(window);
    sim::ReleaseCompletions();
    sim::RunUntilIdle();
    EXPECT_EQ(BoxTexts(), (std::vector<std::u16string>{u"#SEND_EMAIL_SUCCESS", u"SEND_EMAIL_FAILED_MSG"}));
    EXPECT_EQ(sim::ShownBoxes()[0].caption, u"#TIP");
    EXPECT_EQ(Requests("email_get").size(), 1u);
    EXPECT_TRUE(Requests("email_seen").empty());
}

TEST_F(EmailTest, EmailListsShowOnlyTheConversationsReadableMailsInOrder) {
    AddEmail("Inbox", "A", "one");
    AddEmail("sent", "A", "two");
    AddEmail("trash", "A", "thrown away");
    sim::StoredEmail broken;
    broken.raw = "no header end";
    sim::AddEmail("bob", broken);
    sim::StoredEmail unknown;
    unknown.folder = "";  // the service cannot describe it
    unknown.raw = sim::MakeRawEmail("x", "y");
    sim::AddEmail("bob", unknown);
    AddEmail("inbox", std::string(100000, 's'), "ctl\x01\x7f" "chars");
    HWND window = OpenEmail(2);
    Component(window)->EmailRequest(0, 100, false);
    sim::RunUntilIdle();
    EXPECT_EQ(Messages(window), (std::vector<std::u16string>{u"Bob: one", u"me: two", u"Bob: ctl\x01\x7f" u"chars"}));
    EXPECT_EQ(Panel(window)->GetEmailSubject().size(), 100000u);
    bool skippedNull = false, skippedBroken = false;
    for (const sim::LogEntry& line : sim::LogLines()) {
        skippedNull = skippedNull || line.text.find("stEmailItem null") != std::string::npos;
        skippedBroken = skippedBroken || line.text.find("parse email item error src =no header end") != std::string::npos;
    }
    EXPECT_TRUE(skippedNull);
    EXPECT_TRUE(skippedBroken);
    EXPECT_NE(sim::ViewItems(View(window)).front().kind, "header");  // fewer than asked for: no older ones

    // A long subject and control characters go out as they are.
    Send(window, u"a\x02" u"b");
    ASSERT_EQ(Requests("email_send").size(), 1u);
    EXPECT_EQ(Requests("email_send")[0].value.size(), 100000u);
    EXPECT_EQ(Requests("email_send")[0].content, "a\x02" "b");
}

TEST_F(EmailTest, OlderPagesGoAboveAndAreNotMarkedSeen) {
    for (int i = 1; i <= 4; ++i) AddEmail("inbox", "S", "mail " + std::to_string(i));
    HWND window = OpenEmail(2);
    Component(window)->EmailRequest(0, 2, false);
    sim::RunUntilIdle();
    Component(window)->EmailRequest(2, 2, true);
    sim::RunUntilIdle();
    EXPECT_EQ(Messages(window),
              (std::vector<std::u16string>{u"Bob: mail 1", u"Bob: mail 2", u"Bob: mail 3", u"Bob: mail 4"}));
    EXPECT_EQ(Requests("email_seen").size(), 1u);
    const auto fetches = Requests("email_get");
    ASSERT_EQ(fetches.size(), 2u);
    EXPECT_EQ(fetches[1].value, "1");

    sim::FailNext(sim::SdkCall::EmailGet, 5);
    Component(window)->EmailRequest(4, 2, true);
    sim::RunUntilIdle();
    EXPECT_EQ(Messages(window).size(), 4u);
    sim::RefuseNext(sim::SdkCall::EmailGet, 6);
    Component(window)->EmailRequest(4, 2, true);
    bool logged = false;
    for (const sim::LogEntry& line : sim::LogLines())
        logged = logged || line.text.find("email_get_messages_p2p result =6") != std::string::npos;
    EXPECT_TRUE(logged);
}

TEST_F(EmailTest, ShowMorePagesBackFromWhereTheListEnds) {
    for (int i = 1; i <= 5; ++i) AddEmail("inbox", "S", "mail " + std::to_string(i));
    HWND window = OpenEmail(2);
    Component(window)->EmailRequest(0, 2, false);
    sim::RunUntilIdle();
    CControlUI* more = Panel(window)->FindSubControl(u"showmoremsg");
    ASSERT_TRUE(sim::Click(more));
    sim::RunUntilIdle();
    EXPECT_EQ(Messages(window), (std::vector<std::u16string>{u"Bob: mail 2", u"Bob: mail 3", u"Bob: mail 4",
                                                             u"Bob: mail 5"}));

    // A reply is one more e-mail on the newest end: the next page starts
    // one further back, and a short page is the last one.
    SendAndSettle(window, u"reply");
    ASSERT_TRUE(sim::Click(more));
    sim::RunUntilIdle();
    const auto fetches = Requests("email_get");
    ASSERT_EQ(fetches.size(), 4u);
    EXPECT_EQ(fetches[1].msgId, 2u);
    EXPECT_EQ(fetches[3].msgId, 5u);
    for (size_t n : {1, 3}) {
        EXPECT_EQ(fetches[n].flags, 2);
        EXPECT_EQ(fetches[n].value, "1");
    }
    EXPECT_EQ(Messages(window).front(), u"Bob: mail 1");
    EXPECT_EQ(Messages(window).back(), u"me: reply");
    EXPECT_FALSE(sim::IsShown(more));
    EXPECT_NE(sim::ViewItems(View(window)).front().kind, "header");
    EXPECT_EQ(Requests("email_seen").size(), 2u);  // paging marks nothing seen
}

TEST_F(EmailTest, WithoutAPageSizeFromTheHostShowMoreAsksForTen) {
    for (int i = 1; i <= 12; ++i) AddEmail("inbox", "S", "mail " + std::to_string(i));
    HWND window = OpenEmail(2);
    Panel(window)->SetEmailSubject(u"S");
    SendAndSettle(window, u"first");
    EXPECT_EQ(Messages(window), (std::vector<std::u16string>{u"Bob: mail 11", u"Bob: mail 12", u"me: first"}));
    Panel(window)->OnBtnShowMoreMsg();
    sim::RunUntilIdle();
    const auto fetches = Requests("email_get");
    ASSERT_EQ(fetches.size(), 2u);
    EXPECT_EQ(fetches[1].msgId, 3u);
    EXPECT_EQ(fetches[1].flags, 10);
    EXPECT_EQ(Messages(window).size(), 13u);
    EXPECT_TRUE(sim::IsShown(Panel(window)->FindSubControl(u"showmoremsg")));  // a full page may have more
}

TEST_F(EmailTest, FetchedEmailsShowTheirSendersNames) {
    qel_attribs_set_str(qel_account_bound_buddy(sim::CurrentAccount()), "nickname", "Mia", 0);
    AddEmail("inbox", "S", "hello");
    AddEmail("SENT", "S", "hi Bob");
    HWND window = OpenEmail(2);
    Component(window)->EmailRequest(0, 10, false);
    sim::RunUntilIdle();
    EXPECT_EQ(Messages(window), (std::vector<std::u16string>{u"Bob: hello", u"Mia: hi Bob"}));
    // A short first page leaves nothing older to offer, even after a reply
    // brings a full page of the newest.
    SendAndSettle(window, u"ok");
    EXPECT_EQ(Messages(window).back(), u"Mia: ok");
    EXPECT_FALSE(sim::IsShown(Panel(window)->FindSubControl(u"showmoremsg")));
    EXPECT_NE(sim::ViewItems(View(window)).front().kind, "header");
}

TEST_F(EmailTest, OtherWindowsIgnoreEmailListsAndNoServiceSendsNothing) {
    AddEmail("inbox", "S", "mail");
    HWND person = Open(sim::ChatKind::Person, "bob");
    Component(person)->EmailRequest(0, 5, false);
    sim::RunUntilIdle();
    EXPECT_TRUE(Messages(person).empty());

    sim::SetEmailServiceAvailable(false);
    HWND window = OpenEmail(1);
    Compose(window, u"bob@example.com", u"S");
    Send(window, u"text");
    Component(window)->EmailRequest(0, 5, false);
    sim::RunUntilIdle();
    EXPECT_TRUE(Requests("email_send").empty());
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_TRUE(Sends().empty());
}

TEST_F(EmailTest, AdhocWindowSendsThroughTheAdhocSenderOnly) {
    HWND window = Open(sim::ChatKind::Adhoc, "bob");
    Send(window, u"to everyone");
    const auto sent = Requests("adhoc");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].convId, "bob");
    EXPECT_EQ(sent[0].contentType, "text/plain");
    EXPECT_EQ(sent[0].content, "to everyone");
    EXPECT_TRUE(Sends().empty());
    EXPECT_TRUE(Input(window)->GetText().empty());

    // Formatted text is refused with a box, and the input still empties.
    tagTextFormat format;
    Input(window)->GetDefaultCharFormat(format);
    format.dwEffects |= TF_BOLD;
    Input(window)->SetDefaultCharFormat(format);
    Send(window, u"bold words");
    EXPECT_EQ(Requests("adhoc").size(), 1u);
    EXPECT_EQ(BoxTexts(), std::vector<std::u16string>{u"#IDS_ADHOC_NOT_SUPPORTED_RICH_TEXT"});
    EXPECT_TRUE(Input(window)->GetText().empty());

    sim::SetAdhocSenderAvailable(false);
    Input(window)->SetDefaultCharFormat(tagTextFormat{});
    Send(window, u"nobody hears");
    EXPECT_EQ(Requests("adhoc").size(), 1u);
    EXPECT_TRUE(Sends().empty());
}

TEST_F(EmailTest, OfflineCheckComesFirstInEveryKind) {
    HWND email = OpenEmail(1);
    Compose(email, u"bob@example.com", u"S");
    HWND adhoc = Open(sim::ChatKind::Adhoc, "bob");
    sim::SetLoggedIn(sim::CurrentAccount(), false);
    Type(email, u"x");
    Type(adhoc, u"y");
    ClickSend(email);
    ClickSend(adhoc);
    EXPECT_EQ(Notices(email).back(), u"#OFFLINE_CANNOT_SEND_MSG");
    EXPECT_EQ(Notices(adhoc).back(), u"#OFFLINE_CANNOT_SEND_MSG");
    EXPECT_TRUE(Requests("email_send").empty());
    EXPECT_TRUE(Requests("adhoc").empty());
}

}  // namespace
