// Operations on shown messages as the user meets them: the context menus
// of the history view and the input, recall, burn after reading, resend,
// collect, the group top and quoting.
#include "SendFixture.h"

#include <algorithm>

#include "sdk/msg_services.h"
#include "sdk/qel_attribs.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui/MessageBoxUI.h"
#include "sim/host/DisplayInternal.h"
#include "sim/os/Os.h"

namespace {

constexpr int32_t kHistoryMenu = 50000;
constexpr int32_t kInputMenu = 50010;
enum : int32_t {
    kCut = 50001, kCopy = 50002, kPaste = 50003, kSavePicture = 50005, kClear = 50006, kSaveAsSmiley = 50007,
    kEditPicture = 50008, kOpenFolder = 50009, kDecodeQr = 50013, kRecall = 50014, kQuote = 50015,
    kCollect = 50016, kEmail = 50017, kStick = 50018, kUnstick = 50019, kTranslate = 50020, kHideTranslation = 50021,
    kZoom = 50400, kZoomOther = 50408, kExtensionItem = 50900,
};

class MsgOpsTest : public SendTest {
protected:
    qel_handle Conv(const std::string& peer) {
        return qel_ext::QelGetCurConversations()
                   ? qel_conversations_find_conversation(qel_ext::QelGetCurConversations(),
                                                         (peer == "g1" ? "group:g1" : "im:" + peer).c_str())
                   : nullptr;
    }

    // A stored message of the conversation, shown in the window once it
    // opens; its id stays clear of the ids that sends are given.
    uint64_t Store(const std::string& peer, sim::StoredMsg msg) {
        msg.id = m_nextStoredId++;
        return qel_msg_get_id(sim::AddStoredMsg(Conv(peer), msg));
    }
    uint64_t m_nextStoredId = 700001;
    static sim::StoredMsg Text(const std::string& content, bool sent, const std::string& sender = "") {
        sim::StoredMsg msg;
        msg.content = content;
        msg.sent = sent;
        msg.sender = sender;
        return msg;
    }

    // Right click on a shown item (0: empty space); the menu that opened.
    static const sim::ShownMenu* RightClickHistory(HWND window, int64_t id, bool onPicture = false) {
        TPointUI point;
        if (!sim::PointAtMsg(View(window), id, onPicture, point)) return nullptr;
        const size_t before = sim::ShownMenus().size();
        sim::NotifyAt(View(window), UINOTIFY_RCLICK, point);
        return sim::ShownMenus().size() > before ? &sim::ShownMenus().back() : nullptr;
    }
    // The user right-clicks the item and chooses the command of the menu.
    static bool ChooseOnMsg(HWND window, int64_t id, int32_t command, bool onPicture = false) {
        RightClickHistory(window, id, onPicture);
        return sim::ClickMenuItem(command);
    }
    static const sim::ShownMenu* RightClickInput(HWND window, bool onPicture = false) {
        TPointUI point{2, 2};
        if (onPicture && !sim::PointAtPicture(Input(window), point)) return nullptr;
        const size_t before = sim::ShownMenus().size();
        sim::NotifyAt(Input(window), UINOTIFY_RCLICK, point);
        return sim::ShownMenus().size() > before ? &sim::ShownMenus().back() : nullptr;
    }

    static const SMenuItem* Find(const std::vector<SMenuItem>& items, int32_t id) {
        for (const SMenuItem& item : items) {
            if (item.id == id && !item.separator) return &item;
            if (const SMenuItem* found = Find(item.children, id)) return found;
        }
        return nullptr;
    }
    static bool Has(const sim::ShownMenu* menu, int32_t id) { return menu && Find(menu->items, id); }
    // Which of these commands the menu offers, in the order asked.
    using Commands = std::vector<int32_t>;
    static Commands Offered(const sim::ShownMenu* menu, const Commands& asked) {
        Commands offered;
        for (int32_t id : asked)
            if (Has(menu, id)) offered.push_back(id);
        return offered;
    }
    static bool Enabled(const sim::ShownMenu* menu, int32_t id) {
        const SMenuItem* item = menu ? Find(menu->items, id) : nullptr;
        return item && item->enabled;
    }

    static std::vector<sim::SdkRequest> RequestsOf(const std::string& kind) { return sim::SdkRequestsOf(kind); }
    // The user clicks a link of the history view.
    static void ClickLink(HWND window, SLinkInfo& link) {
        sim::NotifyAt(View(window), UINOTIFY_LINK, TPointUI{}, 0, reinterpret_cast<intptr_t>(&link));
    }
    static bool ViewHas(HWND window, int64_t id) { return View(window)->HasMsg(id); }
    static std::u16string Last(const std::vector<std::u16string>& texts) { return texts.empty() ? u"" : texts.back(); }
    static std::vector<std::string> AppCallsStartingWith(const std::string& prefix) {
        std::vector<std::string> calls;
        for (const std::string& call : sim::AppCalls()) {
            if (call.rfind(prefix, 0) == 0) calls.push_back(call);
        }
        return calls;
    }
    // Puts a picture object into a shown message of the view.
    void AddPictureToShownMsg(HWND window, int64_t id, const std::u16string& path) {
        CHARRANGE range;
        ASSERT_TRUE(View(window)->GetMsgRange(id, range));
        CREidtInsertHelper helper(View(window));
        helper.BeginInsert(id, range.cpMax);
        ASSERT_NE(helper.InsertImage(path), nullptr);
        helper.EndInsert();
    }
};

// ---- Menus ----

TEST_F(MsgOpsTest, HistoryMenuOffersWhatTheMessageUnderThePointerAllows) {
    // The server's first message id: empty space must not be taken for it.
    sim::StoredMsg first = Text("the very first", true);
    first.id = 1;
    sim::AddStoredMsg(Conv("bob"), first);
    const uint64_t own = Store("bob", Text("mine", true));
    const uint64_t theirs = Store("bob", Text("theirs", false));
    HWND window = Open(sim::ChatKind::Person, "bob");

    const sim::ShownMenu* menu = RightClickHistory(window, int64_t(own));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->menuId, kHistoryMenu);
    // Quoting is for other members' group messages; no picture items without a picture.
    EXPECT_EQ(Offered(menu, {kRecall, kCollect, kQuote, kCut, kPaste, kEmail, kExtensionItem, kSavePicture,
                             kSaveAsSmiley, kEditPicture, kOpenFolder, kDecodeQr}),
              (Commands{kRecall, kCollect, kEmail, kExtensionItem}));
    EXPECT_FALSE(Enabled(menu, kCopy));  // nothing selected
    sim::DismissMenu();

    // A peer's message in a one-to-one chat cannot be recalled.
    menu = RightClickHistory(window, int64_t(theirs));
    EXPECT_EQ(Offered(menu, {kRecall, kCollect}), Commands{kCollect});
    sim::DismissMenu();

    // Empty space: neither picture items nor message items.
    menu = RightClickHistory(window, 0);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Offered(menu, {kSavePicture, kSaveAsSmiley, kEditPicture, kOpenFolder, kDecodeQr, kRecall, kQuote,
                             kCollect, kStick, kUnstick, kTranslate, kHideTranslation, kClear}),
              Commands{kClear});
    // No separator at either end or twice in a row.
    ASSERT_FALSE(menu->items.empty());
    EXPECT_FALSE(menu->items.front().separator);
    EXPECT_FALSE(menu->items.back().separator);
    for (size_t i = 1; i < menu->items.size(); ++i)
        EXPECT_FALSE(menu->items[i].separator && menu->items[i - 1].separator);
    // Clear empties the view and marks the chat read.
    EXPECT_TRUE(sim::ClickMenuItem(kClear));
    EXPECT_EQ(View(window)->GetTextLength(), 0);
    EXPECT_EQ(View(window)->GetClearDotCount(), 1);
    const auto& marks = sim::SdkMarks();
    EXPECT_TRUE(std::any_of(marks.begin(), marks.end(), [](const sim::SdkMark& m) { return m.kind == "set_readed_ex"; }));
}

TEST_F(MsgOpsTest, HistoryMenuFollowsLoginServicesAndPictures) {
    const uint64_t own = Store("bob", Text("mine", true));
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::SetLoggedIn(sim::CurrentAccount(), false);
    sim::SetEmailServiceOffered(false);
    const sim::ShownMenu* menu = RightClickHistory(window, int64_t(own));
    EXPECT_EQ(Offered(menu, {kRecall, kEmail}), Commands{kRecall});
    EXPECT_FALSE(Enabled(menu, kRecall));
    sim::DismissMenu();

    // A picture under the pointer brings the picture items; a file icon only "save".
    AddPictureToShownMsg(window, int64_t(own), WritePng("p.png", 2, 2));
    menu = RightClickHistory(window, int64_t(own), true);
    const Commands pictureItems{kSavePicture, kSaveAsSmiley, kEditPicture, kOpenFolder, kDecodeQr};
    EXPECT_EQ(Offered(menu, pictureItems), pictureItems);
    sim::DismissMenu();
    static_cast<COleImageObj*>(View(window)->GetObjectAt(View(window)->GetObjectCount() - 1))->SetImageType(100000);
    menu = RightClickHistory(window, int64_t(own), true);
    EXPECT_EQ(Offered(menu, pictureItems), Commands{kSavePicture});
}

TEST_F(MsgOpsTest, InputMenuNeverOffersMessageItems) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    Type(window, u"draft");
    const sim::ShownMenu* menu = RightClickInput(window);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->menuId, kInputMenu);
    EXPECT_EQ(Offered(menu, {kRecall, kCollect, kQuote, kStick, kEmail, kSavePicture}), Commands{});
    EXPECT_FALSE(Enabled(menu, kCut));
    EXPECT_FALSE(Enabled(menu, kCopy));
    EXPECT_TRUE(Enabled(menu, kPaste));
    // Clear empties the input.
    EXPECT_TRUE(sim::ClickMenuItem(kClear));
    EXPECT_EQ(Input(window)->GetText(), u"");

    AddPicture(window, WritePng("in.png", 2, 2));
    Input(window)->SetSelAll();
    menu = RightClickInput(window, true);
    EXPECT_TRUE(Enabled(menu, kCut));
    EXPECT_TRUE(Has(menu, kDecodeQr));
    EXPECT_TRUE(sim::ClickMenuItem(kDecodeQr));
    EXPECT_EQ(AppCallsStartingWith("qr-decode").size(), 1u);
    // A host without the decoder: the item does nothing.
    sim::SetQrCodeServiceOffered(false);
    menu = RightClickInput(window, true);
    EXPECT_TRUE(sim::ClickMenuItem(kDecodeQr));
    EXPECT_EQ(AppCallsStartingWith("qr-decode").size(), 1u);
}

TEST_F(MsgOpsTest, ZoomOutsideTheMenuIsAnExtraCheckedItem) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    View(window)->SetZoom(135, 100);
    const sim::ShownMenu* menu = RightClickHistory(window, 0);
    const SMenuItem* extra = menu ? Find(menu->items, kZoomOther) : nullptr;
    ASSERT_NE(extra, nullptr);
    EXPECT_EQ(extra->text, u"135%");
    EXPECT_TRUE(extra->checked);
    for (const SMenuItem& item : Find(menu->items, kZoom)->children) EXPECT_EQ(item.checked, item.id == kZoomOther);
    sim::DismissMenu();

    // Choosing a zoom sets it and stores it.
    View(window)->SetZoom(100, 100);
    menu = RightClickHistory(window, 0);
    EXPECT_TRUE(Find(menu->items, 50403)->checked);
    EXPECT_FALSE(Has(menu, kZoomOther));
    EXPECT_TRUE(sim::ClickMenuItem(50405));
    int numerator = 0, denominator = 0;
    View(window)->GetZoom(numerator, denominator);
    EXPECT_EQ(numerator * 100 / denominator, 150);
    EXPECT_EQ(sim::LastSavedPrefs().at("SystemInfo.Richedit.ShowScale"), "150%");
}

TEST_F(MsgOpsTest, ExtensionItemsEmailAndUnknownCommands) {
    const uint64_t own = Store("bob", Text("mine", true));
    const uint64_t later = Store("bob", Text("and more", true));
    HWND window = Open(sim::ChatKind::Person, "bob");
    ASSERT_TRUE(Has(RightClickHistory(window, int64_t(own)), kExtensionItem));
    EXPECT_TRUE(sim::ClickMenuItem(kExtensionItem));
    EXPECT_EQ(AppCallsStartingWith("extension-command").size(), 1u);

    // An item that no menu has, and one the extension does not know.
    TMenuItemInfo unknown{12345, u"?", nullptr};
    TNotifyUI msg;
    msg.nType = UINOTIFY_CLICK;
    msg.wParam = reinterpret_cast<uintptr_t>(&unknown);
    msg.lParam = kHistoryMenu;
    const size_t calls = sim::AppCalls().size();
    EXPECT_TRUE(Panel(window)->ProcessNotify(msg));
    msg.lParam = kInputMenu;
    EXPECT_TRUE(Panel(window)->ProcessNotify(msg));
    EXPECT_EQ(sim::AppCalls().size(), calls);
    EXPECT_TRUE(sim::SdkRequestsOf("recall").empty());

    // E-mail takes the message under the pointer; when the service warns, the user decides.
    ASSERT_TRUE(ChooseOnMsg(window, int64_t(own), kEmail));
    EXPECT_EQ(AppCallsStartingWith("email-composer"), std::vector<std::string>{"email-composer " + std::to_string(own)});
    sim::SetEmailCheckAnswer(true);
    sim::QueueBoxAnswer(IDBUTTON_FIRST);
    ASSERT_TRUE(ChooseOnMsg(window, int64_t(own), kEmail));
    EXPECT_EQ(sim::ShownBoxes().back().text, u"#SEND_EMAIL_CONTENT_CONTAIN_ERROR");
    EXPECT_EQ(AppCallsStartingWith("email-composer").size(), 1u);

    // With messages selected, the e-mail takes every one of them.
    sim::SetEmailCheckAnswer(false);
    CHARRANGE first, second;
    ASSERT_TRUE(View(window)->GetMsgRange(int64_t(own), first));
    ASSERT_TRUE(View(window)->GetMsgRange(int64_t(later), second));
    View(window)->SetSel(first.cpMin, second.cpMax);
    ASSERT_TRUE(ChooseOnMsg(window, int64_t(later), kEmail));
    EXPECT_EQ(AppCallsStartingWith("email-composer").back(),
              "email-composer " + std::to_string(own) + " " + std::to_string(later));

    // A window opened while the host has no menu extension offers none,
    // and an extension's command that reaches it anyway does nothing.
    sim::SetContextMenuProviderOffered(false);
    const uint64_t hers = Store("carol", Text("hi", false, "carol"));
    HWND plain = Open(sim::ChatKind::Person, "carol");
    EXPECT_FALSE(Has(RightClickHistory(plain, int64_t(hers)), kExtensionItem));
    TMenuItemInfo extension{kExtensionItem, u"extension", nullptr};
    msg.wParam = reinterpret_cast<uintptr_t>(&extension);
    msg.lParam = kHistoryMenu;
    EXPECT_TRUE(Panel(plain)->ProcessNotify(msg));
    EXPECT_EQ(AppCallsStartingWith("extension-command").size(), 1u);
}

TEST_F(MsgOpsTest, FolderPathReachesTheShellAsOneQuotedArgument) {
    if (!sim::os::kFileNamesMayHoldQuotes) GTEST_SKIP() << "no file name holds a quote here";
    const uint64_t own = Store("bob", Text("mine", true));
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::u16string path = WritePng("a \" b\" c.png", 2, 2);
    AddPictureToShownMsg(window, int64_t(own), path);
    ASSERT_TRUE(ChooseOnMsg(window, int64_t(own), kOpenFolder, true));
    const auto shell = AppCallsStartingWith("shell");
    ASSERT_EQ(shell.size(), 1u);
    const std::string& call = shell[0];
    const std::string params = call.substr(call.find("/select,"));
    // One opening quote after the comma, one closing quote at the end: no
    // quote of the name ends the argument early.
    EXPECT_EQ(std::count(params.begin(), params.end(), '"'), 2);
    EXPECT_EQ(params.rfind("/select,\"", 0), 0u);
    EXPECT_NE(params.find("a  b c.png\" show=1"), std::string::npos);
    EXPECT_EQ(call.rfind("shell open explorer.exe ", 0), 0u);
}

// ---- Recall ----

TEST_F(MsgOpsTest, RecallingOwnTextPutsItBackIntoTheInput) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    SendAndSettle(window, u"hello there");
    const int64_t shown = Items(window, "msg").at(0).id;
    Type(window, u"t");
    ASSERT_TRUE(Has(RightClickHistory(window, shown), kRecall));
    ASSERT_TRUE(sim::ClickMenuItem(kRecall));
    EXPECT_TRUE(sim::ShownBoxes().empty());  // one's own message goes without asking
    ASSERT_EQ(RequestsOf("recall").size(), 1u);
    EXPECT_EQ(RequestsOf("recall")[0].msgId, tavi::FindSdkMsgId(shown).value());
    sim::RunUntilIdle();
    EXPECT_TRUE(Items(window, "msg").empty());
    EXPECT_EQ(Last(Notices(window)), u"#IDS_YOU#IDS_RECALL_A_MSG");
    EXPECT_TRUE(ViewHas(window, shown));  // the notice stands where the message stood
    EXPECT_EQ(Input(window)->GetText(), u"t\nhello there");

    // An empty input gets the text alone; a recalled message is not offered again.
    Input(window)->SetText(u"");
    SendAndSettle(window, u"second");
    const int64_t next = Items(window, "msg").at(0).id;
    ChooseOnMsg(window, next, kRecall);
    sim::RunUntilIdle();
    EXPECT_EQ(Input(window)->GetText(), u"second");
    EXPECT_FALSE(Has(RightClickHistory(window, shown), kRecall));
}

TEST_F(MsgOpsTest, RecalledFileDoesNotComeBackIntoTheInput) {
    sim::StoredMsg file = Text("<file name=\"a.txt\" />", true);
    file.contentType = "file/xml";
    const uint64_t sent = Store("bob", file);
    HWND window = Open(sim::ChatKind::Person, "bob");
    Type(window, u"draft");
    ASSERT_TRUE(Has(RightClickHistory(window, int64_t(sent)), kRecall));
    ASSERT_TRUE(sim::ClickMenuItem(kRecall));
    sim::RunUntilIdle();
    EXPECT_EQ(Last(Notices(window)), u"#IDS_YOU#IDS_RECALL_A_MSG");
    EXPECT_EQ(Input(window)->GetText(), u"draft");
}

TEST_F(MsgOpsTest, AdministratorIsAskedBeforeRecallingAMembersMessage) {
    sim::ServerSetAttrib(sim::AddGroup("g1"), "my-authority-role", int64_t(2));
    const uint64_t msg = Store("g1", Text("member says", false, "bob"));
    HWND window = Open(sim::ChatKind::Group, "g1");
    ASSERT_TRUE(Has(RightClickHistory(window, int64_t(msg)), kRecall));
    sim::QueueBoxAnswer(IDBUTTON_FIRST);  // cancel
    ASSERT_TRUE(sim::ClickMenuItem(kRecall));
    ASSERT_EQ(sim::ShownBoxes().size(), 1u);
    EXPECT_EQ(sim::ShownBoxes()[0].text, u"IDS_RECALL_A_MSG_INFO");
    EXPECT_EQ(sim::ShownBoxes()[0].caption, u"#IDS_RECALL");
    EXPECT_TRUE(RequestsOf("recall").empty());

    sim::QueueBoxAnswer(IDBUTTON_SECOND);
    ASSERT_TRUE(ChooseOnMsg(window, int64_t(msg), kRecall));
    ASSERT_EQ(RequestsOf("recall").size(), 1u);
    sim::RunUntilIdle();
    EXPECT_EQ(Last(Notices(window)), u"Bob#IDS_RECALL_A_MSG_ADMIN");
    EXPECT_EQ(Input(window)->GetText(), u"");  // only one's own text comes back
}

TEST_F(MsgOpsTest, GroupRolesDecideWhoMayRecallWhom) {
    qel_handle group = sim::AddGroup("g1");
    sim::AddBuddy("owner", "", false);
    sim::AddBuddy("admin", "", false);
    sim::AddGroupMember("g1", "owner", 3);
    sim::AddGroupMember("g1", "admin", 2);
    const int64_t ofOwner = int64_t(Store("g1", Text("o", false, "owner")));
    const int64_t ofAdmin = int64_t(Store("g1", Text("a", false, "admin")));
    const int64_t ofMember = int64_t(Store("g1", Text("m", false, "bob")));
    HWND window = Open(sim::ChatKind::Group, "g1");
    tavi::CMsgHandle* handler = Handler(window);
    // A member without the permission and without a role.
    EXPECT_FALSE(handler->MsgCanRecall(ofMember));
    sim::SetMyGroupPermissions("g1", {"GROUP_MESSAGE_RECALL"});
    EXPECT_TRUE(handler->MsgCanRecall(ofMember));
    sim::SetMemberPermissions("g1", "bob", {"GROUP_MESSAGE_RECALL"});
    EXPECT_FALSE(handler->MsgCanRecall(ofMember));  // equal levels
    sim::ServerSetAttrib(group, "my-authority-role", int64_t(2));
    EXPECT_FALSE(handler->MsgCanRecall(ofAdmin));
    EXPECT_FALSE(handler->MsgCanRecall(ofOwner));
    sim::ServerSetAttrib(group, "my-authority-role", int64_t(3));
    EXPECT_TRUE(handler->MsgCanRecall(ofAdmin));
    EXPECT_TRUE(handler->MsgCanRecall(ofMember));
    EXPECT_FALSE(handler->MsgCanRecall(ofOwner));  // nobody recalls the owner

    // Burnt, blessing and always-recallable messages.
    sim::StoredMsg bless = Text("b", false, "bob");
    bless.contentType = "bless/xml";
    EXPECT_FALSE(handler->MsgCanRecall(int64_t(Store("g1", bless))));
    sim::StoredMsg burnt = Text("x", false, "bob");
    burnt.flags = QEL_MSG_FLAG_BURN_READ;
    EXPECT_FALSE(handler->MsgCanRecall(int64_t(Store("g1", burnt))));
    sim::StoredMsg typed = Text("t", false, "owner");
    typed.type = 1;
    EXPECT_TRUE(handler->MsgCanRecall(int64_t(Store("g1", typed))));
    EXPECT_FALSE(handler->MsgCanRecall(987654));
    sim::StoredMsg recalledOwn = Text("r", true);
    recalledOwn.flags = QEL_MSG_FLAG_RECALLED;
    EXPECT_FALSE(handler->MsgCanRecall(int64_t(Store("g1", recalledOwn))));
}

TEST_F(MsgOpsTest, FailedRecallShowsItsBoxAndChangesNothing) {
    const uint64_t own = Store("bob", Text("keep me", true));
    HWND window = Open(sim::ChatKind::Person, "bob");
    const auto before = sim::ViewItems(View(window));
    sim::FailNext(sim::SdkCall::Recall, -30);
    ASSERT_TRUE(ChooseOnMsg(window, int64_t(own), kRecall));
    sim::RunUntilIdle();
    ASSERT_EQ(sim::ShownBoxes().size(), 1u);
    EXPECT_EQ(sim::ShownBoxes()[0].text, u"#IDS_RECALL_FAILED");
    EXPECT_EQ(sim::ShownBoxes()[0].caption, u"#MES_BOX_TIP_TITLE");
    EXPECT_EQ(sim::ShownBoxes()[0].type, 0);
    EXPECT_EQ(sim::ShownBoxes()[0].width, 340);
    EXPECT_EQ(sim::ShownBoxes()[0].height, 150);
    EXPECT_EQ(sim::ViewItems(View(window)).size(), before.size());
    EXPECT_EQ(Input(window)->GetText(), u"");
    EXPECT_FALSE(qel_ext::QelMsgIsRecall(qel_conversation_find_msg(Conv("bob"), own)));

    // The host's own text wins; a refused request shows nothing.
    sim::SetHostText(37, u"too late");
    sim::FailNext(sim::SdkCall::Recall, -31);
    ChooseOnMsg(window, int64_t(own), kRecall);
    sim::RunUntilIdle();
    EXPECT_EQ(sim::ShownBoxes().back().text, u"too late");
    sim::RefuseNext(sim::SdkCall::Recall, -5);
    ChooseOnMsg(window, int64_t(own), kRecall);
    sim::RunUntilIdle();
    EXPECT_EQ(sim::ShownBoxes().size(), 2u);

    // An answer after the window closed shows nothing.
    sim::HoldCompletions(true);
    ChooseOnMsg(window, int64_t(own), kRecall);
    sim::CloseChatWindow(window);
    ReleaseHeld();
    EXPECT_EQ(sim::ShownBoxes().size(), 2u);
    EXPECT_TRUE(qel_ext::QelMsgIsRecall(qel_conversation_find_msg(Conv("bob"), own)));
}

TEST_F(MsgOpsTest, RecallsAndBurnsReportedByTheHostBecomeNotices) {
    const uint64_t theirs = Store("bob", Text("secret", false));
    const uint64_t burnt = Store("bob", Text("read once", false));
    const uint64_t stuck = Store("g1", Text("top", false, "bob"));
    HWND window = Open(sim::ChatKind::Person, "bob");
    qel_handle message = qel_conversation_find_msg(Conv("bob"), theirs);
    sim::RecallStoredMsg(message, "");
    SQelBoxMsg record;
    ASSERT_TRUE(CreateQelBoxMsg(record, qel_msg_get_data(message), message, Conv("bob"), false, u"bob"));
    Component(window)->OnRecallMessage(&record);
    EXPECT_FALSE(ViewHas(window, -1));
    EXPECT_EQ(Notices(window).at(0), u"Bob#IDS_RECALL_A_MSG");

    qel_handle gone = qel_conversation_find_msg(Conv("bob"), burnt);
    ASSERT_TRUE(CreateQelBoxMsg(record, qel_msg_get_data(gone), gone, Conv("bob"), false, u"bob"));
    Component(window)->OnBurnReadMessage(&record);
    EXPECT_EQ(Last(Notices(window)), u"#IDS_MSG_HAS_BURNED");
    EXPECT_TRUE(Items(window, "msg").empty());
    // A record the view does not show, and none at all.
    record.msgId = 424242;
    Component(window)->OnBurnReadMessage(&record);
    Component(window)->OnRecallMessage(nullptr);
    EXPECT_EQ(Notices(window).size(), 2u);

    // A recalled group-top message leaves the group top.
    HWND group = Open(sim::ChatKind::Group, "g1");
    qel_handle top = qel_conversation_find_msg(Conv("g1"), stuck);
    sim::SetMsgFlags(top, QEL_MSG_FLAG_GRP_TOP, 0);
    sim::RecallStoredMsg(top, "bob");
    ASSERT_TRUE(CreateQelBoxMsg(record, qel_msg_get_data(top), top, Conv("g1"), false, u"g1"));
    Component(group)->OnRecallMessage(&record);
    ASSERT_EQ(RequestsOf("unstick").size(), 1u);
    EXPECT_EQ(RequestsOf("unstick")[0].msgId, stuck);
}

// ---- Resend ----

TEST_F(MsgOpsTest, FailedMessageGoesAgainFromItsResendButton) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::FailNext(sim::SdkCall::Send, -7, true);
    SendAndSettle(window, u"try again");
    const int64_t shown = Items(window, "msg").at(0).id;
    ASSERT_TRUE(sim::IsMarkedFailed(View(window), shown));
    const uint64_t failedId = tavi::FindSdkMsgId(shown).value();

    // Offline the button only says so.
    sim::SetLoggedIn(sim::CurrentAccount(), false);
    ASSERT_TRUE(ClickResend(window));
    EXPECT_EQ(Sends().size(), 1u);
    ASSERT_FALSE(sim::ShownTips().empty());
    EXPECT_EQ(sim::ShownTips().back().text, u"#OFFLINE_CANNOT_SEND_MSG");
    sim::SetLoggedIn(sim::CurrentAccount(), true);

    const auto readMarks = [] {
        const auto& marks = sim::SdkMarks();
        return std::count_if(marks.begin(), marks.end(), [](const sim::SdkMark& m) { return m.kind == "request_readed"; });
    };
    const auto marksBefore = readMarks();
    ASSERT_TRUE(ClickResend(window));
    const auto sends = Sends();
    ASSERT_EQ(sends.size(), 2u);
    EXPECT_EQ(sends[1].kind, "send_ext");
    EXPECT_EQ(sends[1].content, "try again");
    EXPECT_EQ(sends[1].msgId, failedId);
    sim::RunUntilIdle();
    EXPECT_FALSE(sim::IsMarkedFailed(View(window), shown));
    EXPECT_EQ(View(window)->FindSubControl(u"resendmsg"), nullptr);
    const auto msgs = Items(window, "msg");
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].text, u"me: try again");
    EXPECT_NE(msgs[0].id, shown);
    // What the user sent the conversation has also read.
    EXPECT_EQ(readMarks(), marksBefore + 1);

    // A resend that fails again says why beside the message, under its
    // stored id, and the mark stays; one refused at once says why as well.
    sim::FailNext(sim::SdkCall::Send, -7, true);
    SendAndSettle(window, u"x");
    sim::FailNext(sim::SdkCall::Send, -8);
    ClickResend(window);
    sim::RunUntilIdle();
    const std::u16string reason = Last(Notices(window));
    EXPECT_EQ(reason.substr(reason.size() - 8), u"error -8");
    const int64_t failed = Items(window, "msg").back().id;
    EXPECT_TRUE(sim::IsMarkedFailed(View(window), failed));
    sim::RefuseNext(sim::SdkCall::Send, -9);
    ClickResend(window);
    EXPECT_EQ(Last(Notices(window)), u"error -9");
    // A resend link naming no message does nothing.
    SLinkInfo link{19, u"resend", u"", 0, 0};
    ClickLink(window, link);
    link.targetId = u"777777";
    ClickLink(window, link);
    EXPECT_EQ(Sends().size(), 5u);

    // Answered while the window is hidden, the resend leaves the view alone.
    sim::HoldCompletions(true);
    ASSERT_TRUE(ClickResend(window));
    sim::FindChatWindow(window)->ShowWindow(false);
    ReleaseHeld();
    EXPECT_EQ(Sends().size(), 6u);
    EXPECT_EQ(Items(window, "msg").back().id, failed);
}

TEST_F(MsgOpsTest, ResendUploadsThePicturesFirst) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::FailNext(sim::SdkCall::Upload, -5);
    Type(window, u"look");
    AddPicture(window, WritePng("one.png", 2, 2));
    AddPicture(window, WritePng("two.png", 2, 2, 'b'));
    ClickSend(window);
    sim::RunUntilIdle();
    ASSERT_EQ(sim::FailMarks().size(), 1u);
    const uint64_t failedId = tavi::FindSdkMsgId(sim::FailMarks()[0].shownId).value_or(0);
    const size_t uploadsBefore = RequestsOf("upload").size();
    ASSERT_TRUE(ClickResend(window));
    EXPECT_EQ(RequestsOf("upload").size(), uploadsBefore + 2);  // both pictures again
    EXPECT_TRUE(Sends().empty());  // the message waits for them
    sim::RunUntilIdle();
    ASSERT_EQ(Sends().size(), 1u);
    EXPECT_NE(Sends()[0].content.find("key-"), std::string::npos);
    EXPECT_EQ(View(window)->FindSubControl(u"resendmsg"), nullptr);
    EXPECT_EQ(Items(window, "msg").size(), 1u);

    // A message of one picture goes again as a picture message.
    sim::FailNext(sim::SdkCall::Upload, -5);
    AddPicture(window, WritePng("alone.png", 3, 3));
    ClickSend(window);
    sim::RunUntilIdle();
    ASSERT_TRUE(ClickResend(window));
    sim::RunUntilIdle();
    ASSERT_EQ(Sends().size(), 2u);
    EXPECT_EQ(Sends()[1].contentType, "img/xml");
    EXPECT_EQ(Sends()[1].content.rfind("<img src=\"key-", 0), 0u);

    // A resend whose picture fails again names the message it was.
    sim::SetLanguage(sim::Language::English);
    sim::FailNext(sim::SdkCall::Upload, -5);
    Type(window, u"once more");
    AddPicture(window, WritePng("three.png", 2, 2, 'c'));
    ClickSend(window);
    sim::RunUntilIdle();
    sim::FailNext(sim::SdkCall::Upload, -6);
    ASSERT_TRUE(ClickResend(window));
    sim::RunUntilIdle();
    EXPECT_NE(Last(Notices(window)).find(u"once more"), std::u16string::npos) << sim::ToUtf8(Last(Notices(window)));

    // Once the window is gone, the id of the message that failed first no
    // longer leads to its bubble: a later session's messages may carry it.
    ASSERT_NE(failedId, 0u);
    sim::CloseChatWindow(window);
    EXPECT_FALSE(tavi::FindProvisionalMsgId(failedId).has_value());
}

TEST_F(MsgOpsTest, ResentMessageIsMarkedUnreadLikeANewOne) {
    sim::ServerSetAttrib(sim::AddGroup("g1"), "total-members-count", 10);
    const auto resendWithReceipt = [](HWND window) {
        sim::FailNext(sim::SdkCall::Send, -7, true);
        Component(window)->QelSendMsg(u"read me", u"{\"receiptto\":\"all\"}", "text/plain", true);
        sim::RunUntilIdle();
        EXPECT_TRUE(Items(window, "pane").empty());
        EXPECT_TRUE(ClickResend(window));
        sim::RunUntilIdle();
        const auto panes = Items(window, "pane");
        return panes.size() == 1 ? sim::ShownControlText(View(window), panes[0].id) : u"";
    };
    // The group counts everybody but the sender as not having read it.
    EXPECT_NE(resendWithReceipt(Open(sim::ChatKind::Group, "g1")).find(u"9"), std::u16string::npos);
    // The partner has not read it either.
    EXPECT_FALSE(resendWithReceipt(Open(sim::ChatKind::Person, "bob")).empty());
}

// ---- Collect, group top, quote ----

TEST_F(MsgOpsTest, CollectSendsTheSourceKeyAndShowsTheTipOrWhyNot) {
    sim::SetSvrConvId(Conv("bob"), "c1");
    sim::StoredMsg msg = Text("keep", false);
    msg.seq = 42;
    const uint64_t id = Store("bob", msg);
    sim::StoredMsg recalled = Text("gone", false);
    recalled.flags = QEL_MSG_FLAG_RECALLED;
    const uint64_t gone = Store("bob", recalled);
    sim::StoredMsg odd = Text("?", false);
    odd.contentType = "bless/xml";
    const uint64_t other = Store("bob", odd);
    HWND window = Open(sim::ChatKind::Person, "bob");
    EXPECT_FALSE(Handler(window)->MsgCanCollect(int64_t(gone)));
    EXPECT_FALSE(Handler(window)->MsgCanCollect(int64_t(other)));
    EXPECT_FALSE(Handler(window)->MsgCanGrpStick(int64_t(gone)));
    ASSERT_TRUE(ChooseOnMsg(window, int64_t(id), kCollect));
    ASSERT_EQ(RequestsOf("collect").size(), 1u);
    EXPECT_EQ(RequestsOf("collect")[0].value, "com.vt.social.im_c1_42");
    sim::RunUntilIdle();
    CControlUI* tip = sim::FindControl(Panel(window), "history.view.collect_info");
    EXPECT_TRUE(sim::IsShown(tip));
    sim::Advance(2999);
    EXPECT_TRUE(sim::IsShown(tip));
    sim::Advance(1);
    EXPECT_FALSE(sim::IsShown(tip));
    EXPECT_EQ(sim::Favorites().size(), 1u);

    // Tagging asks the application and the tip goes soon after.
    Component(window)->ShowCollectTip(0, 0, 0, 0);
    ASSERT_TRUE(sim::Click(sim::FindControl(Panel(window), "add_collect_tag")));
    EXPECT_EQ(AppCallsStartingWith("collect-tag"), std::vector<std::string>{"collect-tag com.vt.social.im_c1_42"});
    sim::Advance(200);
    EXPECT_FALSE(sim::IsShown(tip));

    // A failed collect says so in a box.
    sim::FailNext(sim::SdkCall::Collect, -3);
    ChooseOnMsg(window, int64_t(id), kCollect);
    sim::RunUntilIdle();
    ASSERT_EQ(sim::ShownBoxes().size(), 1u);
    EXPECT_EQ(sim::ShownBoxes()[0].text, u"#IDS_COLLECT_FAILED");
    EXPECT_EQ(sim::ShownBoxes()[0].caption, u"#IDS_COLLECT");

    // The role-based limit stops it before any request.
    sim::SetRBACLimit("im.pc.not.send.message.function", 1);
    ChooseOnMsg(window, int64_t(id), kCollect);
    EXPECT_EQ(sim::ShownBoxes().back().text, u"#IDS_RBAC_NOT_SEND_MESSAGE_PERMISSION");
    EXPECT_EQ(RequestsOf("collect").size(), 2u);

    // An answer after the window closed touches nothing.
    sim::SetRBACLimit("im.pc.not.send.message.function", 0);
    sim::HoldCompletions(true);
    ChooseOnMsg(window, int64_t(id), kCollect);
    sim::CloseChatWindow(window);
    ReleaseHeld();
    EXPECT_EQ(sim::ShownBoxes().size(), 2u);
}

TEST_F(MsgOpsTest, StickAndUnstickFollowRolesAndBusinessTypes) {
    sim::AddGroupMember("g1", "me", 3);
    const uint64_t id = Store("g1", Text("news", false, "bob"));
    const uint64_t bonus = Store("g1", Text("red packet", false, "bob"));
    HWND window = Open(sim::ChatKind::Group, "g1");
    sim::SetMsgBiz(qel_conversation_find_msg(Conv("g1"), bonus), "Bonus");
    EXPECT_FALSE(Handler(window)->MsgCanGrpStick(int64_t(bonus)));

    const sim::ShownMenu* menu = RightClickHistory(window, int64_t(id));
    EXPECT_EQ(Offered(menu, {kStick, kUnstick}), Commands{kStick});
    ASSERT_TRUE(sim::ClickMenuItem(kStick));
    ASSERT_EQ(RequestsOf("stick").size(), 1u);
    sim::RunUntilIdle();
    EXPECT_TRUE(qel_msg_is_grp_top(qel_conversation_find_msg(Conv("g1"), id)));
    menu = RightClickHistory(window, int64_t(id));
    EXPECT_EQ(Offered(menu, {kStick, kUnstick}), Commands{kUnstick});
    ASSERT_TRUE(sim::ClickMenuItem(kUnstick));
    sim::RunUntilIdle();
    EXPECT_FALSE(qel_msg_is_grp_top(qel_conversation_find_msg(Conv("g1"), id)));
    sim::SetMsgFlags(qel_conversation_find_msg(Conv("g1"), bonus), QEL_MSG_FLAG_GRP_TOP, 0);
    EXPECT_FALSE(Handler(window)->MsgCanDeleteGrpStick(int64_t(bonus)));

    // A refused request frees its context; a member without the right has no item.
    sim::RefuseNext(sim::SdkCall::Stick, -1);
    Handler(window)->StickGrpMsg(int64_t(id));
    EXPECT_EQ(RequestsOf("stick").size(), 2u);
    sim::AddGroupMember("g1", "me", 1);
    EXPECT_FALSE(Handler(window)->MsgCanGrpStick(int64_t(id)));
    sim::SetMyGroupPermissions("g1", {"MESSAGE_TOP"});
    EXPECT_TRUE(Handler(window)->MsgCanGrpStick(int64_t(id)));
    sim::SetGrpTopOffered(false);
    EXPECT_FALSE(Handler(window)->MsgCanGrpStick(int64_t(id)));

    // Without the important-message service nothing is asked.
    sim::SetGrpTopOffered(true);
    sim::SetImportantMsgServiceOffered(false);
    Handler(window)->StickGrpMsg(int64_t(id));
    Handler(window)->CancelStickGrpMsg(int64_t(id));
    EXPECT_EQ(RequestsOf("stick").size(), 2u);
    EXPECT_EQ(RequestsOf("unstick").size(), 1u);
}

TEST_F(MsgOpsTest, MessagesOfAnAutoTopKindAreStuckOnceSent) {
    sim::SetGrpAutoTopContentType("text/plain");
    HWND window = Open(sim::ChatKind::Group, "g1");
    SendAndSettle(window, u"everyone read this");
    ASSERT_EQ(RequestsOf("stick").size(), 1u);
    // In a one-to-one chat there is no group top.
    HWND person = Open(sim::ChatKind::Person, "bob");
    SendAndSettle(person, u"hi");
    EXPECT_EQ(RequestsOf("stick").size(), 1u);
}

TEST_F(MsgOpsTest, QuotePutsTheMessageBeforeWhatWasTyped) {
    const uint64_t id = Store("g1", Text("original words", false, "bob"));
    const uint64_t own = Store("g1", Text("mine", true));
    HWND window = Open(sim::ChatKind::Group, "g1");
    EXPECT_FALSE(Handler(window)->MsgCanQuote(int64_t(own)));
    Type(window, u"my answer");
    ASSERT_TRUE(Has(RightClickHistory(window, int64_t(id)), kQuote));
    ASSERT_TRUE(sim::ClickMenuItem(kQuote));
    EXPECT_EQ(Input(window)->GetText(), u"@Bob original words\rmy answer");
    EXPECT_TRUE(Input(window)->IsFocused());
    // A picture at the very start of the input stays after the quote.
    Input(window)->Clear();
    const std::u16string picture = WritePng("first.png", 3, 3);
    AddPicture(window, picture);
    Type(window, u"!");
    ASSERT_TRUE(ChooseOnMsg(window, int64_t(id), kQuote));
    EXPECT_EQ(Input(window)->GetText(), std::u16string(u"@Bob original words\r") + kObjectChar + u"!");
    ASSERT_EQ(sim::ReadEdit(Input(window)).objects.size(), 1u);
    EXPECT_EQ(sim::ReadEdit(Input(window)).objects[0].path, picture);
    // Styled text and pictures of others can be quoted too; files cannot.
    const std::pair<const char*, bool> kinds[] = {{"rich/xml", true}, {"img/xml", true}, {"file/xml", false}};
    for (const auto& [type, quotable] : kinds) {
        sim::StoredMsg other = Text("<img src=\"x\" />", false, "bob");
        other.contentType = type;
        EXPECT_EQ(Handler(window)->MsgCanQuote(int64_t(Store("g1", other))), quotable) << type;
    }
    // Not in a one-to-one chat.
    const uint64_t personal = Store("bob", Text("p", false));
    HWND person = Open(sim::ChatKind::Person, "bob");
    EXPECT_FALSE(Handler(person)->MsgCanQuote(int64_t(personal)));
}

TEST_F(MsgOpsTest, TranslationItemsFollowWhatIsShown) {
    sim::SetModuleConfig("IMCore", "Translation", "1");
    const uint64_t id = Store("bob", Text("hola", false));
    HWND window = Open(sim::ChatKind::Person, "bob");
    const sim::ShownMenu* menu = RightClickHistory(window, int64_t(id));
    EXPECT_EQ(Offered(menu, {kTranslate, kHideTranslation}), Commands{kTranslate});
    ASSERT_TRUE(sim::ClickMenuItem(kTranslate));
    sim::RunUntilIdle();
    menu = RightClickHistory(window, int64_t(id));
    EXPECT_EQ(Offered(menu, {kTranslate, kHideTranslation}), Commands{kHideTranslation});
    ASSERT_TRUE(sim::ClickMenuItem(kHideTranslation));
    EXPECT_FALSE(Handler(window)->IsTranslationShown(id));
    // A message translated before comes back at once.
    ASSERT_TRUE(ChooseOnMsg(window, int64_t(id), kTranslate));
    EXPECT_TRUE(Handler(window)->IsTranslationShown(id));
    // Pictures have no words to translate.
    sim::StoredMsg picture = Text("<img src=\"x\" />", false);
    picture.contentType = "img/xml";
    EXPECT_FALSE(Handler(window)->CanTranslateMsg(sim::AddStoredMsg(Conv("bob"), picture)));
}

TEST_F(MsgOpsTest, MessageThatVanishedBeforeTheChoiceIsLeftAlone) {
    const uint64_t first = Store("bob", Text("soon gone", true));
    const uint64_t second = Store("bob", Text("gone too", true));
    HWND window = Open(sim::ChatKind::Person, "bob");
    for (auto [id, item] : {std::pair{first, kRecall}, std::pair{second, kCollect}}) {
        ASSERT_NE(RightClickHistory(window, int64_t(id)), nullptr);
        View(window)->DeleteMsg(int64_t(id));
        ASSERT_TRUE(sim::ClickMenuItem(item));
    }
    EXPECT_TRUE(RequestsOf("recall").empty());
    EXPECT_TRUE(RequestsOf("collect").empty());

    // A notice under the pointer is no message.
    sim::FailNext(sim::SdkCall::Send, -7, true);
    SendAndSettle(window, u"x");
    const int64_t line = Items(window, "notice").back().id;
    const sim::ShownMenu* menu = RightClickHistory(window, line);
    EXPECT_EQ(Offered(menu, {kRecall, kCollect}), Commands{});
}

TEST_F(MsgOpsTest, UserLinksOpenTheFriendMenu) {
    HWND window = Open(sim::ChatKind::Group, "g1");
    sim::AddBuddy("stranger", "Stranger", false);
    SLinkInfo link{14, u"Stranger", u"stranger", 0, 0};
    ClickLink(window, link);
    ASSERT_NE(sim::OpenMenu(), nullptr);
    const sim::ShownMenu& menu = sim::ShownMenus().back();
    EXPECT_EQ(menu.menuId, 39000);
    EXPECT_TRUE(Find(menu.items, 39001) && Find(menu.items, 39004) && Find(menu.items, 39003));
    ASSERT_TRUE(sim::ClickMenuItem(39001));
    EXPECT_EQ(AppCallsStartingWith("open-chat"), std::vector<std::string>{"open-chat stranger"});
    ClickLink(window, link);
    ASSERT_TRUE(sim::ClickMenuItem(39003));
    EXPECT_EQ(AppCallsStartingWith("add-friend"), std::vector<std::string>{"add-friend stranger \"Stranger\""});
    // The user's card is an item the host's menu may carry.
    TMenuItemInfo show;
    show.nId = 39002;
    TNotifyUI command;
    command.wParam = reinterpret_cast<uintptr_t>(&show);
    Panel(window)->OnMenuFrdItemClick(command);
    EXPECT_EQ(AppCallsStartingWith("show-user"), std::vector<std::string>{"show-user stranger"});
    EXPECT_EQ(AppCallsStartingWith("add-friend").size(), 1u);

    // A user who is not a normal one (a system account) has no menu.
    sim::SetAbnormalUser("robot");
    const size_t menus = sim::ShownMenus().size();
    SLinkInfo robot{14, u"Robot", u"robot", 0, 0};
    ClickLink(window, robot);
    EXPECT_EQ(sim::ShownMenus().size(), menus);

    // A friend is not offered as one; other links go to the host.
    link.targetId = u"bob";
    ClickLink(window, link);
    EXPECT_FALSE(Find(sim::ShownMenus().back().items, 39003));
    sim::DismissMenu();
    link.type = 33;
    ClickLink(window, link);
    EXPECT_EQ(AppCallsStartingWith("link").size(), 1u);
    // An ad-hoc chat offers neither "@" nor a friend request.
    HWND adhoc = Open(sim::ChatKind::Adhoc, "bob");
    SLinkInfo stranger{14, u"Stranger", u"stranger", 0, 0};
    ClickLink(adhoc, stranger);
    ASSERT_NE(sim::OpenMenu(), nullptr);
    EXPECT_TRUE(Find(sim::ShownMenus().back().items, 39001));
    EXPECT_FALSE(Find(sim::ShownMenus().back().items, 39004) || Find(sim::ShownMenus().back().items, 39003));
    sim::DismissMenu();
    link.type = 99;
    const size_t events = sim::HostEvents().size();
    ClickLink(window, link);
    EXPECT_EQ(sim::HostEvents().size(), events + 1);
    EXPECT_EQ(sim::HostEvents().back().code, 1);
}

TEST_F(MsgOpsTest, LinksAreRecolouredTurnedPlainOrJoinTheirGroup) {
    const uint64_t theirs = Store("bob", Text("hello there", false, "bob"));
    HWND window = Open(sim::ChatKind::Person, "bob");
    CHARRANGE range;
    ASSERT_TRUE(View(window)->GetMsgRange(int64_t(theirs), range));
    View(window)->SetSel(0, 1);
    SLinkInfo user{14, u"Bob", u"bob", range.cpMin, range.cpMin + 3};
    ClickLink(window, user);
    EXPECT_EQ(View(window)->GetCharColor(range.cpMin + 2), 0xC19000u);
    EXPECT_NE(View(window)->GetCharColor(range.cpMin + 3), 0xC19000u);
    long start = -1, end = -1;
    View(window)->GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 1);
    sim::DismissMenu();

    // "Do not tell me again" of an auto-reply: the link becomes plain grey text.
    View(window)->SetSel(-1, -1);
    const long at = View(window)->GetTextLength();
    View(window)->InsertLink(u"do not tell me again", nullptr, 15, false, nullptr);
    SLinkInfo quiet{15, u"do not tell me again", u"bob", at, View(window)->GetTextLength()};
    ClickLink(window, quiet);
    EXPECT_TRUE(View(window)->GetLinks().empty());
    EXPECT_EQ(View(window)->GetCharColor(at), 0x505050u);
    EXPECT_EQ(qel_attribs_get_int(common::GetQelBuddy(u"bob"), "auto-reply-not-notify", 0), 1);

    // A join link asks to join the group it names; one naming none asks nothing.
    SLinkInfo join{20, u"Join us", u"g7", 0, 0};
    ClickLink(window, join);
    join.targetId.clear();
    ClickLink(window, join);
    ASSERT_EQ(RequestsOf("join").size(), 1u);
    EXPECT_EQ(RequestsOf("join")[0].convId, "g7");
    EXPECT_EQ(RequestsOf("join")[0].result, 0);
}

}  // namespace
