// What a peer may send that no client of ours would: damaged UTF-8,
// control characters, CRLF line ends, megabyte bodies, XML that is
// broken or nested beyond reason. Each is shown once, keeps its text, and
// survives every operation the history offers on it.
#include "SendFixture.h"

#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/msg_services.h"
#include "sdk/qel_ext_api.h"

namespace {

enum : int32_t {
    kCopyItem = 50002, kRecallItem = 50014, kQuoteItem = 50015, kCollectItem = 50016, kTranslateItem = 50020,
    kHideTranslationItem = 50021,
};

constexpr char kReplacementUtf8[] = "\xEF\xBF\xBD";

// Text that went to the SDK reads back the same: it was valid UTF-8.
bool IsValidUtf8(const std::string& text) { return sim::ToUtf8(sim::ToWide(text)) == text; }

// What a send said: its plain-text form, or its body when it has none.
std::string TextOfSend(const sim::SdkRequest& send) { return send.summary.empty() ? send.content : send.summary; }

class HostileDataTest : public SendTest {
protected:
    static qel_handle Group() { return sim::OpenConversation("g1", true); }

    // Right-clicks the message and picks the item when the menu offers it.
    static void Pick(HWND window, int64_t id, int32_t itemId) {
        TPointUI point;
        if (!sim::PointAtMsg(View(window), id, false, point)) return;
        const size_t menus = sim::ShownMenus().size();
        sim::NotifyAt(View(window), UINOTIFY_RCLICK, point);
        if (sim::ShownMenus().size() == menus) return;
        sim::ClickMenuItem(itemId);
        sim::RunUntilIdle();
    }
    static std::u16string Shown(HWND window, uint64_t id) {
        std::u16string text;
        size_t times = 0;
        for (const sim::ViewItem& item : Items(window, "msg")) {
            if (item.id != int64_t(id)) continue;
            text = item.text;
            ++times;
        }
        EXPECT_EQ(times, 1u) << "message " << id;
        return text;
    }
    // Selects the whole message in the history and copies it from the menu.
    static void CopyMsg(HWND window, uint64_t id) {
        CHARRANGE range;
        ASSERT_TRUE(View(window)->GetMsgRange(int64_t(id), range));
        View(window)->SetSel(range.cpMin, range.cpMax);
        Pick(window, int64_t(id), kCopyItem);
    }
};

TEST_F(HostileDataTest, DamagedTextIsShownOnceWithWhatCanBeRead) {
    sim::AddGroup("g1");
    sim::AddGroupMember("g1", "bob");
    struct Case {
        std::string body;
        std::u16string expected;  // a part of what is shown
    };
    const std::vector<Case> cases{
        {"a\xC3(b \xF0\x9F\x98 end", u"a\uFFFD(b \uFFFD end"},
        {"one\r\ntwo", u"one\rtwo"},  // one line break, not two
        {"bell\x07 esc\x1b[31m", u"esc"},
    };
    std::vector<uint64_t> ids;
    for (const Case& c : cases) ids.push_back(qel_msg_get_id(sim::DeliverIncomingMsg(Group(), c.body, "text/plain", "bob")));
    HWND window = Open(sim::ChatKind::Group, "g1");
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const std::u16string shown = Shown(window, ids[i]);
        std::string codes;
        for (char16_t c : shown) codes += std::to_string(int(c)) + " ";
        EXPECT_NE(shown.find(cases[i].expected), std::u16string::npos) << codes;
    }
}

TEST_F(HostileDataTest, HugeBrokenAndDeepBodiesSurviveEveryOperation) {
    sim::AddGroup("g1");
    sim::AddGroupMember("g1", "bob");
    std::string deep;
    for (int i = 0; i < 20000; ++i) deep += "<div>";
    const std::vector<std::pair<std::string, std::string>> bodies{
        {"text/plain", std::string(1200 * 1024, 'x') + "\xFF" + "tail"},
        {"rich/xml", "<div><span>open"},
        {"rich/xml", deep + "deep"},
        {"img/xml", "<img src=\"\x01\" width=\"wide\" height=\"-9999999999999\"/>"},
        {"rich/xml", "<div><span>\xC0\xAF</span><img width=\"1e999\" md5=\"\"/></div>"},
    };
    std::vector<uint64_t> ids;
    for (const auto& [type, body] : bodies) {
        ids.push_back(qel_msg_get_id(sim::DeliverIncomingMsg(Group(), body, type, "bob")));
    }
    HWND window = Open(sim::ChatKind::Group, "g1");
    const std::u16string huge = Shown(window, ids[0]);
    EXPECT_GE(huge.size(), 1200u * 1024u);
    EXPECT_NE(huge.find(u"\uFFFDtail"), std::u16string::npos);
    for (uint64_t id : ids) {
        for (int32_t item : {kQuoteItem, kCollectItem, kTranslateItem, kRecallItem}) Pick(window, int64_t(id), item);
    }
    for (uint64_t id : ids) Shown(window, id);
}

}  // namespace

namespace {

// ---- copying ----

TEST_F(HostileDataTest, CopiedDamagedTextGoesOutAgainAsValidText) {
    const uint64_t id = qel_msg_get_id(
        sim::DeliverIncomingMsg(Group(), "a\xC3(b \xF0\x9F\x98 end\r\nbell\x07 \xED\xA0\x80z", "text/plain", "bob"));
    HWND window = Open(sim::ChatKind::Group, "g1");
    CopyMsg(window, id);
    const std::u16string copied = sim::GetClipboard().text;
    EXPECT_NE(copied.find(u"a\uFFFD(b \uFFFD end"), std::u16string::npos) << sim::ToUtf8(copied);
    // An encoded surrogate is three broken bytes, each its own replacement.
    EXPECT_NE(copied.find(u"bell\x07 \uFFFD\uFFFD\uFFFDz"), std::u16string::npos) << sim::ToUtf8(copied);

    Input(window)->Paste();
    ClickSend(window);
    sim::RunUntilIdle();
    ASSERT_EQ(Sends().size(), 1u);
    const std::string sent = TextOfSend(Sends()[0]);
    EXPECT_TRUE(IsValidUtf8(Sends()[0].content) && IsValidUtf8(Sends()[0].summary));
    EXPECT_NE(sent.find(std::string("a") + kReplacementUtf8 + "(b"), std::string::npos) << sent;
    EXPECT_NE(sent.find("bell"), std::string::npos) << sent;
    EXPECT_TRUE(Input(window)->GetText().empty());
}

TEST_F(HostileDataTest, AMegabyteCopiedIntoTheInputIsRefusedAndKeptWhole) {
    const uint64_t id =
        qel_msg_get_id(sim::DeliverIncomingMsg(Group(), std::string(1200 * 1024, 'x') + "\xFF" "tail", "text/plain", "bob"));
    HWND window = Open(sim::ChatKind::Group, "g1");
    CopyMsg(window, id);
    Input(window)->Paste();
    const std::u16string pasted = Input(window)->GetText();
    ASSERT_GE(pasted.size(), 1200u * 1024u);
    const size_t notices = Notices(window).size();
    ClickSend(window);
    sim::RunUntilIdle();
    // Far more pieces than one send may have: nothing goes, the user is told,
    // and the text stays for the user to cut down.
    EXPECT_TRUE(Sends().empty());
    EXPECT_EQ(Notices(window).size(), notices + 1);
    EXPECT_EQ(Input(window)->GetText(), pasted);
}

// ---- resending what was stored as failed ----

TEST_F(HostileDataTest, FailedMessagesWithHostileBodiesGoAgainOnceEach) {
    struct Case {
        std::string type, body, extra;
    };
    std::string deep;
    for (int i = 0; i < 20000; ++i) deep += "<div>";
    const std::vector<Case> cases{
        {"text/plain", "a\xC3(b\x01\x1b[31m\r\nend", ""},
        {"text/plain", std::string(1200 * 1024, 'y') + "\xF0\x9F", "{"},
        {"rich/xml", deep + "deep", "{\"AttachmentItems\":5,\"contentAt\":[1]}"},
        {"rich/xml", "<div><span>open", "[\"not\",\"an\",\"object\"]"},
        {"img/xml", "<img src=\"\x01\" width=\"wide\" height=\"-9999999999999\"/>",
         "{\"AttachmentItems\":[7,\"x\",null,{\"strFileKey\":9}]}"},
    };
    qel_handle conv = sim::OpenConversation("bob");
    std::vector<uint64_t> ids;
    for (const Case& c : cases) {
        sim::StoredMsg msg;
        msg.sent = true;
        msg.contentType = c.type;
        msg.content = c.body;
        msg.extraInfo = c.extra;
        msg.flags = QEL_MSG_FLAG_SEND_FAIL | QEL_MSG_FLAG_LOCAL;
        ids.push_back(qel_msg_get_id(sim::AddStoredMsg(conv, msg)));
    }
    HWND window = Open(sim::ChatKind::Person, "bob");
    for (uint64_t id : ids) {
        SLinkInfo link{19, u"resend", sim::ToWide(std::to_string(id)), 0, 0};
        sim::NotifyAt(View(window), UINOTIFY_LINK, TPointUI{}, 0, reinterpret_cast<intptr_t>(&link));
        sim::RunUntilIdle();
    }
    // Each went once as the message it was, and took the place of its failed bubble.
    const auto sends = Sends();
    ASSERT_EQ(sends.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(sends[i].msgId, ids[i]);
        EXPECT_EQ(sends[i].contentType, cases[i].type);
        for (const sim::ViewItem& item : Items(window, "msg")) EXPECT_NE(item.id, int64_t(ids[i]));
    }
    EXPECT_EQ(Items(window, "msg").size(), cases.size());
    EXPECT_TRUE(sim::SdkRequestsOf("upload").empty());
}

// ---- drafts kept on the server ----

class HostileDraftTest : public HostileDataTest {
protected:
    // The server's draft of the chat with bob: one child per piece, in order.
    static void StoreDraft(const std::vector<std::pair<std::string, std::string>>& pieces) {
        qel_handle buddy = qel_buddies_find_buddy_base(qel_account_buddies(sim::CurrentAccount()), "bob");
        qel_handle draft = qel_attribs_add_child(qel_object_get_attribs(buddy, "ext"), "draft", 3);
        qel_attribs_remove_childs(draft);
        for (size_t i = 0; i < pieces.size(); ++i) {
            qel_handle piece = qel_attribs_add_child(draft, ("0-" + std::to_string(i)).c_str(), 3);
            qel_attribs_set_str(piece, "draft", pieces[i].second.c_str(), 3);
            qel_attribs_set_str(piece, "draft-type", pieces[i].first.c_str(), 3);
        }
    }
    // What the draft holds once the window closed again, the pieces' texts joined.
    static std::string SavedDraft() {
        qel_handle buddy = qel_buddies_find_buddy_base(qel_account_buddies(sim::CurrentAccount()), "bob");
        qel_handle draft = qel_attribs_find_child(qel_object_get_attribs(buddy, "ext"), "draft");
        qel_cxx_helper::HandleArray children;
        std::string text;
        if (!draft || qel_attribs_get_all_childs(draft, children.out_list(), children.out_count()) != 0) return text;
        for (int i = 0; i < children.count(); ++i) text += qel_attribs_get_str(children[i], "draft", "");
        return text;
    }
};

TEST_F(HostileDraftTest, DamagedTextComesBackReadableAndIsKeptAgain) {
    StoreDraft({{"text/plain", "a\xC3(b\x01 tab\there\r\nnext \xE2\x82"}, {"text/plain", " and more"}});
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::u16string shown = Input(window)->GetText();
    EXPECT_NE(shown.find(u"a\uFFFD(b"), std::u16string::npos) << sim::ToUtf8(shown);
    EXPECT_NE(shown.find(u"next \uFFFD and more"), std::u16string::npos) << sim::ToUtf8(shown);
    // CRLF is one line break in the input, not two.
    EXPECT_EQ(shown.find(u"\r\r"), std::u16string::npos);
    EXPECT_EQ(shown.find(u"\n\n"), std::u16string::npos);

    sim::CloseChatWindow(window);
    const std::string saved = SavedDraft();
    EXPECT_TRUE(IsValidUtf8(saved));
    EXPECT_NE(saved.find("next"), std::string::npos) << saved;
    EXPECT_NE(saved.find("and more"), std::string::npos) << saved;
    // And it comes back as it was shown.
    window = Open(sim::ChatKind::Person, "bob");
    EXPECT_EQ(Input(window)->GetText(), shown);
}

TEST_F(HostileDraftTest, BrokenHugeAndForeignPiecesLeaveTheRestShown) {
    std::string deep;
    for (int i = 0; i < 20000; ++i) deep += "<div>";
    StoreDraft({
        {"rich/xml", "<div><span>open"},
        {"rich/xml", deep + "deep"},
        {"img/xml", "<img src=\"\x01\" width=\"wide\" height=\"-9999999999999\"/>"},
        {"application/x-unknown", "{\"json\": [1, 2"},
        {"", ""},
        {"text/plain", std::string(300 * 1024, 'z')},
        {"text/plain", "last words"},
    });
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::u16string shown = Input(window)->GetText();
    // What the readers refuse comes back as the text it is.
    EXPECT_EQ(shown.rfind(u"<div><span>open", 0), 0u) << sim::ToUtf8(shown.substr(0, 40));
    EXPECT_NE(shown.find(u"<div>deep"), std::u16string::npos);
    EXPECT_NE(shown.find(u"{\"json\": [1, 2"), std::u16string::npos);
    EXPECT_NE(shown.find(std::u16string(300 * 1024, u'z')), std::u16string::npos);
    EXPECT_NE(shown.find(u"last words"), std::u16string::npos);
    EXPECT_TRUE(Handler(window)->IsDraftShown());
}

TEST_F(HostileDraftTest, NumbersWhereTextBelongsShowAsTextBeforeTheRest) {
    qel_handle buddy = qel_buddies_find_buddy_base(qel_account_buddies(sim::CurrentAccount()), "bob");
    qel_handle draft = qel_attribs_add_child(qel_object_get_attribs(buddy, "ext"), "draft", 3);
    qel_handle piece = qel_attribs_add_child(draft, "0-0", 3);
    qel_attribs_set_int(piece, "draft", 42, 3);
    qel_attribs_set_int(piece, "draft-type", 7, 3);
    qel_handle good = qel_attribs_add_child(draft, "0-1", 3);
    qel_attribs_set_str(good, "draft", "still here", 3);
    qel_attribs_set_str(good, "draft-type", "text/plain", 3);
    HWND window = Open(sim::ChatKind::Person, "bob");
    EXPECT_EQ(Input(window)->GetText(), u"42still here");
}

// ---- translations the service sends back ----

TEST_F(HostileDataTest, HostileTranslationsShowAsTextBesideTheMessage) {
    sim::SetModuleConfig("IMCore", "Translation", "1");
    const std::vector<std::pair<std::string, std::u16string>> answers{
        {"\xC3(\xF0\x9F\x98 x\xFF", u"\uFFFD(\uFFFD x\uFFFD"},
        {"bell\x07 esc\x1b[31m\r\nline", u"esc"},
        {"<div><span>open", u"<div><span>open"},
        {"{\"text\": [1, 2", u"{\"text\": [1, 2"},
        {std::string(1200 * 1024, 't') + "end", u"tend"},
    };
    std::vector<uint64_t> ids;
    for (size_t i = 0; i < answers.size(); ++i) {
        ids.push_back(qel_msg_get_id(sim::DeliverIncomingMsg(Group(), "m" + std::to_string(i), "text/plain", "bob")));
        sim::SetTranslationText(ids.back(), answers[i].first);
    }
    HWND window = Open(sim::ChatKind::Group, "g1");
    for (size_t i = 0; i < ids.size(); ++i) {
        SCOPED_TRACE(i);
        Pick(window, int64_t(ids[i]), kTranslateItem);
        EXPECT_TRUE(Handler(window)->IsTranslationShown(ids[i]));
        const std::u16string shown = Shown(window, ids[i]);
        EXPECT_NE(shown.find(answers[i].second), std::u16string::npos) << sim::ToUtf8(shown.substr(0, 80));
        EXPECT_NE(shown.find(u"m" + sim::ToWide(std::to_string(i))), std::u16string::npos);
        // Hidden again, the message is what it was.
        Pick(window, int64_t(ids[i]), kHideTranslationItem);
        EXPECT_FALSE(Handler(window)->IsTranslationShown(ids[i]));
        EXPECT_EQ(Shown(window, ids[i]), u"bob: m" + sim::ToWide(std::to_string(i)));
    }
}

TEST_F(HostileDataTest, TranslationsOfMessagesNotShownHereChangeNothing) {
    sim::SetModuleConfig("IMCore", "Translation", "1");
    const uint64_t mine = qel_msg_get_id(sim::DeliverIncomingMsg(Group(), "here", "text/plain", "bob"));
    qel_handle foreign = sim::DeliverIncomingMsg(sim::OpenConversation("bob"), "elsewhere");
    HWND window = Open(sim::ChatKind::Group, "g1");
    // A result for another chat's message, for none, and for one dropped
    // while it was being translated.
    Handler(window)->OnTranslationResult(foreign, true);
    Handler(window)->OnTranslationResult(nullptr, true);
    EXPECT_FALSE(Handler(window)->IsTranslationShown(qel_msg_get_id(foreign)));
    Pick(window, int64_t(mine), kTranslateItem);
    EXPECT_TRUE(Handler(window)->IsTranslationShown(mine));
    const uint64_t gone = qel_msg_get_id(sim::DeliverIncomingMsg(Group(), "soon gone", "text/plain", "bob"));
    Component(window)->GetAndShowMsg(0, 0);
    sim::RunUntilIdle();
    Handler(window)->TranslateMsg(int64_t(gone));
    sim::DropObject(Handler(window)->GetQelHMessage(int64_t(gone)));
    sim::RunUntilIdle();
    EXPECT_FALSE(Handler(window)->IsTranslationShown(gone));
    EXPECT_EQ(Shown(window, mine), u"bob: here => HERE");
}

}  // namespace
