// Sending typed input: the checks, the pieces, the order in which the SDK
// receives them, and pictures uploaded before their message.
#include "SendFixture.h"

#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sim/host/DisplayInternal.h"
#include "sim/os/Os.h"
#include "util/MD5.h"

namespace {

using tavi::PeekProvisionalMsgId;

// The last message box as the user sees it: text, title, buttons and size.
std::string LastBox() {
    if (sim::ShownBoxes().empty()) return "";
    const sim::ShownBox& box = sim::ShownBoxes().back();
    return sim::ToUtf8(box.text + u" | " + box.caption + u" | " + box.buttons) + " | " + std::to_string(box.width) +
           "x" + std::to_string(box.height);
}

std::vector<size_t> Sizes(const std::vector<sim::SdkRequest>& sends, bool summaries = false) {
    std::vector<size_t> sizes;
    for (const auto& s : sends) sizes.push_back(sim::ToWide(summaries ? s.summary : s.content).size());
    return sizes;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST_F(SendTest, LongTextGoesAsThreePiecesShownAtOnceAndSentInOrder) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const int64_t first = PeekProvisionalMsgId();
    Type(window, std::u16string(3000, u'x'));
    sim::HoldCompletions(true);
    EXPECT_TRUE(ClickSend(window));

    const auto shown = Items(window, "msg");
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].id, first);
    EXPECT_EQ(shown[1].id, first + 1);
    EXPECT_EQ(shown[2].id, first + 2);
    const auto sends = Sends();
    ASSERT_EQ(sends.size(), 3u);
    EXPECT_EQ(Sizes(sends), (std::vector<size_t>{1024, 1024, 952}));
    for (const auto& s : sends) EXPECT_EQ(s.contentType, "text/plain");
    EXPECT_TRUE(Input(window)->GetText().empty());

    sim::ReleaseCompletions();
    sim::RunUntilIdle();
    EXPECT_TRUE(Notices(window).empty());
    EXPECT_EQ(sim::EngineNotices().back().code, 10);
}

TEST_F(SendTest, StyledInputLeavesRoomForItsStyle) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::u16string style = ChooseItalics(window);
    ASSERT_FALSE(style.empty());
    const size_t piece = 1004 - style.size();
    Send(window, std::u16string(2 * piece + 5, u'y'));
    const auto sends = Sends();
    ASSERT_EQ(sends.size(), 3u);
    EXPECT_EQ(sends[0].contentType, "rich/xml");
    EXPECT_EQ(Sizes(sends, true), (std::vector<size_t>{piece, piece, 5}));
}

TEST_F(SendTest, TwentyOneItemsRefuseTheWholeSend) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::u16string text(20 * 1024 + 1, u'z');
    Send(window, text);
    EXPECT_TRUE(Sends().empty());
    EXPECT_TRUE(Items(window, "msg").empty());
    EXPECT_EQ(Notices(window), std::vector<std::u16string>{u"#MSG_SEND_TOLARGE"});
    EXPECT_EQ(Input(window)->GetText(), text);

    Input(window)->SetText(std::u16string(20 * 1024, u'z'));
    ClickSend(window);
    EXPECT_EQ(Sends().size(), 20u);
}

TEST_F(SendTest, EachFailedCheckEndsInItsNoticeWithTheInputKept) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CTaviPanel* panel = Panel(window);
    panel->SendMsg();
    EXPECT_EQ(Notices(window).back(), u"#MSG_SEND_NONE");

    Type(window, u"hello");
    sim::SetLoggedIn(sim::CurrentAccount(), false);
    panel->SendMsg();
    EXPECT_EQ(Notices(window).back(), u"#OFFLINE_CANNOT_SEND_MSG");
    sim::SetLoggedIn(sim::CurrentAccount(), true);

    sim::SetSvrConvId(Handler(window)->GetConversation(), "");
    panel->SendMsg();
    EXPECT_EQ(Notices(window).back(), u"#IDS_NO_CONV_ID_CANNOT_SEND_MSG");
    EXPECT_EQ(sim::SdkRequestsOf("svr_conv_id").size(), 1u);

    EXPECT_TRUE(Sends().empty());
    EXPECT_EQ(Input(window)->GetText(), u"hello");
}

TEST_F(SendTest, LargeGroupTakesNoMentions) {
    HWND window = Open(sim::ChatKind::Group, "g1");
    // Opening a group of unknown type already asks for its information once.
    const size_t asked = sim::SdkRequestsOf("conv_info").size();
    sim::SetGroupMembersError("g1", -5);
    Send(window, u"@all look");
    EXPECT_EQ(Notices(window).back(), u"#IDS_LARGE_GROUP_SEND_AT_ALL_MSG_TIP");
    EXPECT_EQ(sim::SdkRequestsOf("conv_info").size(), asked + 1);
    EXPECT_TRUE(Sends().empty());
    EXPECT_EQ(Input(window)->GetText(), u"@all look");

    // A group that has a conversation type of its own is no large group.
    sim::ServerSetAttrib(qel_conversation_get_buddy_group(Handler(window)->GetConversation()), "conv-type", 2, "ext");
    ClickSend(window);
    ASSERT_EQ(Sends().size(), 1u);
    EXPECT_EQ(Sends()[0].contentAt, "all");
}

TEST_F(SendTest, SeventhPictureClosesThePiece) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    for (char tag = 'a'; tag < 'a' + 8; ++tag) AddPicture(window, WritePng(std::string(1, tag) + ".png", 9, 9, tag));
    ClickSend(window);
    EXPECT_EQ(Items(window, "msg").size(), 2u);
    sim::RunUntilIdle();
    EXPECT_EQ(sim::SdkRequestsOf("upload").size(), 8u);
    const auto sends = Sends();
    ASSERT_EQ(sends.size(), 2u);
    EXPECT_EQ(sends[0].contentType, "rich/xml");
    EXPECT_EQ(Count(sends[0].content, "<img "), 7u);
    EXPECT_EQ(sends[1].contentType, "img/xml");
    // The pending stored messages are gone once their real sends are made.
    EXPECT_EQ(sim::SdkRequestsOf("remove_msg").size(), 2u);
}

TEST_F(SendTest, PictureInTheMiddlePieceHoldsBackTheThird) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    Type(window, std::u16string(1100, u'a'));
    AddPicture(window, WritePng("mid.png", 20, 20));
    Type(window, std::u16string(1024, u'b'));
    sim::HoldCompletions(true);
    ClickSend(window);
    EXPECT_EQ(Items(window, "msg").size(), 3u);
    ASSERT_EQ(Sends().size(), 1u);
    ASSERT_EQ(sim::SdkRequestsOf("upload").size(), 1u);

    // The upload completes: the second piece goes, and the third right behind it.
    ReleaseHeld();
    const auto sends = Sends();
    ASSERT_EQ(sends.size(), 3u);
    EXPECT_EQ(sends[1].contentType, "rich/xml");
    EXPECT_NE(sends[1].content.find("src=\"key-" + sim::SdkRequestsOf("upload")[0].cacheName + "\""),
              std::string::npos);
    EXPECT_EQ(sends[2].contentType, "text/plain");
    EXPECT_EQ(sim::ToWide(sends[2].content).size(), 228u);
}

// The first unit of every send the SDK received, in order.
std::u16string FirstLetters() {
    std::u16string letters;
    for (const auto& send : sim::SdkRequests()) {
        if (send.kind == "send" || send.kind == "send_ext") letters += sim::ToWide(send.summary).substr(0, 1);
    }
    return letters;
}

TEST_F(SendTest, LaterSendsOfTheConversationWaitBehindAnUploadingPiece) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    HWND second = Open(sim::ChatKind::Person, "bob");
    ASSERT_NE(window, second);
    // Three pieces "a", "[picture]" and "b"; the middle one uploads first.
    Type(window, std::u16string(1100, u'a'));
    AddPicture(window, WritePng("mid.png", 20, 20));
    Type(window, std::u16string(1024, u'b'));
    sim::HoldCompletions(true);
    ClickSend(window);
    ASSERT_EQ(Sends().size(), 1u);

    // Two pieces from this window, a single message from the other one.
    Send(window, std::u16string(1030, u'c'));
    Send(second, u"d");
    EXPECT_EQ(Sends().size(), 1u);
    EXPECT_EQ(Items(window, "msg").size(), 5u);
    EXPECT_EQ(Items(second, "msg").size(), 1u);
    EXPECT_TRUE(Input(second)->GetText().empty());

    ReleaseHeld();
    EXPECT_EQ(FirstLetters(), u"aabccd");
    EXPECT_TRUE(sim::FailMarks().empty());
    EXPECT_EQ(tavi::GetSendingMsgCount(), 0);

    // Nothing waits any more: the next message goes at once.
    Send(second, u"e");
    EXPECT_EQ(FirstLetters(), u"aabccde");
}

TEST_F(SendTest, APictureMessageHoldsBackTheNextSendUntilItWent) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::HoldCompletions(true);
    AddPicture(window, WritePng("p.png", 5, 5));
    ClickSend(window);
    Send(window, u"after");
    EXPECT_TRUE(Sends().empty());
    EXPECT_EQ(Items(window, "msg").size(), 2u);
    ReleaseHeld();
    ASSERT_EQ(Sends().size(), 2u);
    EXPECT_EQ(Sends()[0].contentType, "img/xml");
    EXPECT_EQ(Sends()[1].content, "after");
}

TEST_F(SendTest, SurrogatePairsStayWholeAtEveryCut) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::u16string smile = u"\U0001F600";
    // Typed as text, and as an emoji object that is restored to text.
    for (bool asObject : {false, true}) {
        SCOPED_TRACE(asObject ? "emoji object" : "typed");
        const size_t earlier = Sends().size();
        Input(window)->Clear();
        Type(window, std::u16string(1023, u'x'));
        if (asObject) {
            auto* emoji = new COleImageObj();
            emoji->SetImageType(2);
            emoji->SetKey(u"1f600");
            ASSERT_TRUE(Input(window)->InsertObject(emoji));
        } else {
            Type(window, smile);
        }
        Send(window, u"y");
        const auto sends = Sends();
        ASSERT_EQ(sends.size(), earlier + 2);
        EXPECT_EQ(sim::ToWide(sends[earlier].content), std::u16string(1023, u'x'));
        EXPECT_EQ(sim::ToWide(sends[earlier + 1].content), smile + u"y");
    }
}

TEST_F(SendTest, SmileysCostTheirShareAndCloseAFullPiece) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    struct Case {
        const char* name;
        size_t before;  // letters before the smiley; none: the smiley opens the input
        size_t after;   // letters behind it
        size_t pieces;
    };
    // The first smiley of the input costs 23, any other 10; a piece whose
    // budget reaches 0 is closed at once.
    const Case cases[] = {
        {"first smiley, budget left 0 after the text", 0, 1001, 1},
        {"first smiley, one letter too many", 0, 1002, 2},
        {"later smiley leaves one unit", 1013, 1, 1},
        {"later smiley spends the budget", 1014, 1, 2},
        {"later smiley after a single letter", 1, 1013, 1},
        {"later smiley after a single letter, one too many", 1, 1014, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t earlier = Sends().size();
        Input(window)->Clear();
        Type(window, std::u16string(c.before, u'x'));
        auto* smiley = new COleImageObj();
        smiley->SetImageType(1);
        smiley->SetKey(u"smile");
        ASSERT_TRUE(Input(window)->InsertObject(smiley));
        Send(window, std::u16string(c.after, u'y'));
        EXPECT_EQ(Sends().size() - earlier, c.pieces);
    }
}

TEST_F(SendTest, TwoPicturesUploadBeforeOneSendWithBothSourcesReplaced) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::u16string first = WritePng("one.png", 3, 3, '1');
    const std::u16string second = WritePng("two.png", 3, 3, '2');
    Type(window, u"look");
    AddPicture(window, first);
    AddPicture(window, second);
    ClickSend(window);
    sim::RunUntilIdle();
    const auto uploads = sim::SdkRequestsOf("upload");
    ASSERT_EQ(uploads.size(), 2u);
    ASSERT_EQ(Sends().size(), 1u);
    const std::string body = Sends()[0].content;
    for (const auto& upload : uploads) EXPECT_NE(body.find("src=\"key-" + upload.cacheName + "\""), std::string::npos);
    EXPECT_EQ(body.find(sim::ToUtf8(first)), std::string::npos);
    EXPECT_EQ(tavi::GetSendingMsgCount(), 0);
}

TEST_F(SendTest, PictureFileGoesAsItsOwnMessage) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::u16string path = WritePng("file.png", 7, 5);
    EXPECT_FALSE(Handler(window)->SendImgFile(View(window), Input(window), u"/nonexistent.png"));
    ASSERT_TRUE(Handler(window)->SendImgFile(View(window), Input(window), path.c_str()));
    sim::RunUntilIdle();
    ASSERT_EQ(Sends().size(), 1u);
    EXPECT_EQ(Sends()[0].contentType, "img/xml");
    EXPECT_NE(Sends()[0].content.find("src=\"key-" + sim::SdkRequestsOf("upload").at(0).cacheName + "\""),
              std::string::npos);
    EXPECT_NE(Sends()[0].content.find("width=\"7\""), std::string::npos);
    EXPECT_EQ(Items(window, "msg").size(), 1u);
}

TEST_F(SendTest, OversizePicturesAreCheckedBeforeInsertion) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CTaviPanel* panel = Panel(window);
    const std::u16string path = WritePng("big.png", 7, 5);
    sim::SetPictureSizeLimits(20, 10);
    EXPECT_FALSE(panel->InsertPictureFile(path.c_str()));
    EXPECT_EQ(LastBox(), "#IDS_IMAGE_OVERSIZE_CANNOT_SEND | #TIP | #OK | 340x150");
    sim::SetPictureSizeLimits(100, 10);
    sim::QueueBoxAnswer(0x32);
    EXPECT_FALSE(panel->InsertPictureFile(path.c_str()));
    EXPECT_EQ(LastBox(), "#IDS_IMAGE_OVERSIZE_CHANGE_TO_SEND_FILE | #TIP | #OK | 340x150");
    EXPECT_FALSE(panel->InsertPictureFile(u"/nonexistent.png"));
    EXPECT_EQ(LastBox(), "#IDS_IMAGE_FILE_DONT_EXIST | #TIP | #OK | 340x150");
    EXPECT_TRUE(sim::ReadEdit(Input(window)).objects.empty());

    // Answer 51: the host is asked to send the picture as a file.
    sim::QueueBoxAnswer(51);
    const size_t boxes = sim::ShownBoxes().size();
    EXPECT_FALSE(panel->InsertPictureFile(path.c_str()));
    ASSERT_EQ(sim::ShownBoxes().size(), boxes + 1);
    EXPECT_EQ(LastBox(), "#IDS_IMAGE_OVERSIZE_SURE_TOC_SEND_BY_FILE | #TIP | #MES_BOX_BTN_TRUE_FALSE | 340x150");
    EXPECT_EQ(sim::ShownBoxes().back().type, 0);
    std::vector<std::u16string> files;
    for (const auto& event : sim::HostEvents()) {
        if (event.kind == "event" && event.code == 4) files.push_back(event.path);
    }
    EXPECT_EQ(files, std::vector<std::u16string>{path});
    EXPECT_TRUE(sim::ReadEdit(Input(window)).objects.empty());

    sim::SetPictureSizeLimits(1000, 100);
    EXPECT_TRUE(panel->InsertPictureFile(path.c_str()));
    ASSERT_EQ(sim::ReadEdit(Input(window)).objects.size(), 1u);
    EXPECT_EQ(sim::ReadEdit(Input(window)).objects[0].imageType, 0);
}

TEST_F(SendTest, OnlyRegularPictureFilesAreRead) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    EXPECT_FALSE(tavi::RichEditLoadImage(nullptr, Input(window)));
    std::vector<std::u16string> paths{sim::ToWide(m_dir.string())};
    for (const std::string& endless : sim::os::EndlessFiles(m_dir.string())) paths.push_back(sim::ToWide(endless));
    // None of these may block or run on: each answers at once.
    for (const std::u16string& path : paths) {
        SCOPED_TRACE(sim::ToUtf8(path));
        EXPECT_EQ(COleImageObj::LoadImage(path, true), nullptr);
        EXPECT_FALSE(tavi::RichEditLoadImage(path.c_str(), Input(window)));
        EXPECT_FALSE(tavi::RichEditLoadImage(path.c_str(), nullptr));
        EXPECT_FALSE(Panel(window)->InsertPictureFile(path.c_str()));
        EXPECT_EQ(LastBox(), "#LOAD_IMAGE_FAIL | #TIP | #OK | 340x150");
        EXPECT_EQ(util::MD5Encode(path), "");
    }
    // A file that only looks like a picture says so as well.
    std::ofstream(m_dir / "notes.png") << "not a picture";
    const size_t boxes = sim::ShownBoxes().size();
    EXPECT_FALSE(Panel(window)->InsertPictureFile(sim::ToWide((m_dir / "notes.png").string()).c_str()));
    ASSERT_EQ(sim::ShownBoxes().size(), boxes + 1);
    EXPECT_EQ(LastBox(), "#LOAD_IMAGE_FAIL | #TIP | #OK | 340x150");
    // A picture at the size limit is not read either.
    const std::u16string png = WritePng("limit.png", 3, 3);
    sim::SetPictureSizeLimits(std::filesystem::file_size(sim::ToUtf8(png)), 1u << 20);
    EXPECT_FALSE(tavi::RichEditLoadImage(png.c_str(), Input(window)));
    sim::SetPictureSizeLimits(std::filesystem::file_size(sim::ToUtf8(png)) + 1, 1u << 20);
    EXPECT_TRUE(tavi::RichEditLoadImage(png.c_str(), Input(window)));
    EXPECT_TRUE(sim::ReadEdit(Input(window)).objects.size() == 1u);
}

TEST_F(SendTest, UploadedCustomSmileyKeepsItsNewRecord) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::u16string path = WritePng("smiley.png", 6, 6);
    qel_handle smiley = sim::AddCustomSmiley("fun", "stale");
    COleImageObj* image = COleImageObj::LoadImage(path, true);
    ASSERT_NE(image, nullptr);
    image->SetImageType(3);
    image->SetKey(u"fun");
    ASSERT_TRUE(Input(window)->InsertObject(image));
    ClickSend(window);
    sim::RunUntilIdle();
    ASSERT_EQ(Sends().size(), 1u);
    const std::string cacheName = sim::SdkRequestsOf("upload").at(0).cacheName;
    const std::string digest = cacheName.substr(0, cacheName.find('.'));
    EXPECT_EQ(std::string(qel_smiley_get_info(smiley)->text), "key-" + cacheName + "\n" + digest);
}

TEST_F(SendTest, GroupSizeAndConversationTypeDecideAboutMentions) {
    HWND window = Open(sim::ChatKind::Group, "g1");
    for (int i = 0; i < 998; ++i) sim::AddGroupMember("g1", "m" + std::to_string(i));
    Type(window, u"@all one");
    ClickSend(window);  // 999 members
    ASSERT_EQ(Sends().size(), 1u);
    EXPECT_EQ(Sends()[0].contentAt, "all");

    sim::AddGroupMember("g1", "m999");
    Type(window, u"@all two");
    ClickSend(window);  // 1000 members
    EXPECT_EQ(Sends().size(), 1u);
    EXPECT_EQ(Notices(window).back(), u"#IDS_LARGE_GROUP_SEND_AT_ALL_MSG_TIP");

    // Type 6 takes the message but not its mentions, and says so.
    sim::ServerSetAttrib(qel_conversation_get_buddy_group(Handler(window)->GetConversation()), "conv-type", 6, "ext");
    ClickSend(window);
    ASSERT_EQ(Sends().size(), 2u);
    EXPECT_EQ(Sends()[1].contentAt, "");
    EXPECT_EQ(Notices(window).back(), u"IDS_LARGE_GROUP_SEND_AT_ALL_MSG_TIP");
    EXPECT_TRUE(Input(window)->GetText().empty());
}

TEST_F(SendTest, PiecesBehindAnUploadStillGoAfterTheWindowClosed) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    Type(window, std::u16string(1100, u'a'));
    AddPicture(window, WritePng("mid.png", 20, 20));
    Type(window, std::u16string(1024, u'b'));
    sim::HoldCompletions(true);
    ClickSend(window);
    ASSERT_EQ(Sends().size(), 1u);
    sim::CloseChatWindow(window);
    ReleaseHeld();
    EXPECT_EQ(Sends().size(), 3u);
    EXPECT_EQ(tavi::GetSendingMsgCount(), 0);
}

}  // namespace

// The window's message head goes out in front of what the user typed, the
// pictures still where they stood; a draft keeps only what was typed, so
// sending it later does not carry the head twice.
TEST_F(SendTest, TheWindowsMessageHeadLeadsWhatIsSentButNotTheDraft) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::FindChatWindow(window)->SetWindowAttribute(u"msghead", u"Re: ");
    Send(window, u"hi");
    Type(window, u"one");
    AddPicture(window, WritePng("h.png", 2, 2));
    SendAndSettle(window, u"two");
    const auto sends = Sends();
    ASSERT_EQ(sends.size(), 2u);
    EXPECT_EQ(sends[0].contentType, "text/plain");
    EXPECT_EQ(sends[0].content, "Re: hi");
    const std::string& rich = sends[1].content;
    const size_t text = rich.find(">Re: one<"), picture = rich.find("<img"), after = rich.find(">two<");
    ASSERT_NE(text, std::string::npos) << rich;
    EXPECT_LT(text, picture) << rich;
    EXPECT_LT(picture, after) << rich;
    EXPECT_EQ(Count(rich, "Re:"), 1u) << rich;

    Type(window, u"later");
    sim::CloseChatWindow(window);
    window = Open(sim::ChatKind::Person, "bob");
    EXPECT_EQ(Input(window)->GetText(), u"later");
}

// What is sent carries the window's handle id, by which the window finds its
// messages again, unless the host's chat window object takes that on itself.
TEST_F(SendTest, SentMessagesCarryTheHandleIdUnlessTheHostTakesThemOn) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::string handleId = sim::ToUtf8(Panel(window)->GetHandleId());
    ASSERT_FALSE(handleId.empty());
    SendAndSettle(window, std::u16string(1500, u'x'));  // two pieces, the second from the queue
    sim::CloseChatWindow(window);

    sim::SetChatWndKind(sim::ChatWindowKey(sim::ChatKind::Person), 0x41, QEL_CATE_BUDDY, true, "im");
    window = Open(sim::ChatKind::Person, "bob");
    SendAndSettle(window, std::u16string(1500, u'y'));
    std::vector<std::string> tags;
    for (const sim::SdkRequest& send : Sends()) tags.push_back(send.clientTag);
    EXPECT_EQ(tags, (std::vector<std::string>{handleId, handleId, "", ""}));
}
