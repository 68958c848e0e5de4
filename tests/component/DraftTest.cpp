// Drafts kept in the peer's attributes and shown again in the input.
#include "SendFixture.h"

#include "module/Guids.h"

#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/qel_cxx_helper.h"

namespace {

std::vector<std::string> DraftKeys() {
    qel_handle buddy = qel_buddies_find_buddy_base(qel_account_buddies(sim::CurrentAccount()), "bob");
    qel_handle draft = qel_attribs_find_child(qel_object_get_attribs(buddy, "ext"), "draft");
    qel_cxx_helper::HandleArray children;
    std::vector<std::string> keys;
    if (!draft || qel_attribs_get_all_childs(draft, children.out_list(), children.out_count()) != 0) return keys;
    for (int i = 0; i < children.count(); ++i) keys.push_back(qel_attribs_get_name(children[i]));
    return keys;
}

TEST_F(SendTest, DraftIsSavedOnCloseAndShownAgain) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    Type(window, std::u16string(2500, u'd'));
    sim::CloseChatWindow(window);
    EXPECT_EQ(DraftKeys(), (std::vector<std::string>{"0-0", "0-1", "0-2"}));
    EXPECT_TRUE(Sends().empty());
    // Drafts are written to be kept on the server, like the peer's other attributes.
    size_t draftWrites = 0;
    for (const sim::AttribWrite& write : sim::AttribWrites()) {
        if (write.path.rfind("ext/draft", 0) != 0) continue;
        ++draftWrites;
        EXPECT_EQ(write.mode, 3) << write.path << " " << write.key;
    }
    EXPECT_EQ(draftWrites, 6u);

    // Opening the window again loads its history, which shows the draft once.
    window = Open(sim::ChatKind::Person, "bob");
    EXPECT_TRUE(Handler(window)->IsDraftShown());
    EXPECT_EQ(Input(window)->GetText(), std::u16string(2500, u'd'));
    EXPECT_TRUE(Items(window, "msg").empty());

    Input(window)->Clear();
    sim::CloseChatWindow(window);
    EXPECT_TRUE(DraftKeys().empty());
}

// A draft that could not be shown is not the user's empty input: closing
// the window again must not wipe it.
TEST_F(SendTest, DraftTheHostCouldNotShowIsKept) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    Type(window, u"half a thought");
    sim::CloseChatWindow(window);
    sim::SetHostHasRenderer(false);
    window = Open(sim::ChatKind::Person, "bob");
    EXPECT_EQ(Input(window)->GetText(), u"");
    sim::CloseChatWindow(window);
    EXPECT_EQ(DraftKeys(), (std::vector<std::string>{"0-0"}));
    sim::SetHostHasRenderer(true);
    window = Open(sim::ChatKind::Person, "bob");
    EXPECT_EQ(Input(window)->GetText(), u"half a thought");
    sim::CloseChatWindow(window);

    // Once the user writes in its stead, what they wrote is the draft.
    sim::SetHostHasRenderer(false);
    window = Open(sim::ChatKind::Person, "bob");
    Type(window, u"a new one");
    sim::CloseChatWindow(window);
    sim::SetHostHasRenderer(true);
    window = Open(sim::ChatKind::Person, "bob");
    EXPECT_EQ(Input(window)->GetText(), u"a new one");
}

TEST_F(SendTest, DraftPiecesKeepAnEmojiAtTheirBorderWhole) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::u16string text = std::u16string(1023, u'd') + u"\U0001F600" + u"e";
    Type(window, text);
    sim::CloseChatWindow(window);
    EXPECT_EQ(DraftKeys(), (std::vector<std::string>{"0-0", "0-1"}));
    window = Open(sim::ChatKind::Person, "bob");
    EXPECT_EQ(Input(window)->GetText(), text);
}

TEST_F(SendTest, DraftWithAPictureIsOneRichPiece) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::u16string path = WritePng("d.png", 4, 4);
    Type(window, u"see");
    AddPicture(window, path);
    Handler(window)->SaveDraft();
    EXPECT_EQ(DraftKeys(), std::vector<std::string>{"0-0"});
    Input(window)->Clear();
    Handler(window)->ShowDraft();
    const sim::EditContent content = sim::ReadEdit(Input(window));
    EXPECT_EQ(content.text, u"see\uFFFC");
    ASSERT_EQ(content.objects.size(), 1u);
    EXPECT_EQ(content.objects[0].path, path);
    EXPECT_TRUE(sim::SdkRequestsOf("upload").empty());
}

TEST_F(SendTest, NoDraftWithoutAServerConversationId) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::SetSvrConvId(Handler(window)->GetConversation(), "");
    // Nothing typed: nothing to keep, so the server is not asked either.
    Handler(window)->SaveDraft();
    EXPECT_TRUE(sim::SdkRequestsOf("svr_conv_id").empty());
    Type(window, u"keep me");
    Handler(window)->SaveDraft();
    EXPECT_TRUE(DraftKeys().empty());
    EXPECT_EQ(sim::SdkRequestsOf("svr_conv_id").size(), 1u);
}

}  // namespace

namespace {
// The owners whose draft pieces were written, in the order of writing.
std::vector<std::string> DraftWriters() {
    std::vector<std::string> owners;
    for (const auto& write : sim::AttribWrites()) {
        if (write.key == "draft" && (owners.empty() || owners.back() != write.owner)) owners.push_back(write.owner);
    }
    return owners;
}
}  // namespace

TEST_F(SendTest, LogoutSavesTheDraftOfEveryOpenChatInIdOrder) {
    sim::AddBuddy("carol", "Carol");
    sim::OpenConversation("carol");
    HWND carol = Open(sim::ChatKind::Person, "carol");
    HWND group = Open(sim::ChatKind::Group, "g1");
    HWND bob = Open(sim::ChatKind::Person, "bob");
    Type(carol, u"to carol");
    Type(group, u"to the group");
    Type(bob, u"to bob");
    m_module->OnObjMsg(tavi::kMsgPreLogout, 0, 0, nullptr);
    EXPECT_EQ(DraftWriters(), (std::vector<std::string>{"buddy:bob", "buddy:carol", "group:g1"}));

    // Logged out, closing saves nothing more.
    sim::SetLoggedIn(sim::CurrentAccount(), false);
    const size_t writes = sim::AttribWrites().size();
    sim::CloseChatWindow(bob);
    EXPECT_EQ(sim::AttribWrites().size(), writes);
}

TEST_F(SendTest, LogoutSavesDraftsAfterTheModuleStartedTwice) {
    HWND bob = Open(sim::ChatKind::Person, "bob");
    Type(bob, u"to bob");
    m_module->Init(sim::GetHost());
    m_module->OnObjMsg(tavi::kMsgPreLogout, 0, 0, nullptr);
    EXPECT_EQ(DraftWriters(), (std::vector<std::string>{"buddy:bob"}));
}

TEST_F(SendTest, NoDraftsWhenTheClientKeepsNone) {
    sim::SetHaveDraft(false);
    HWND window = Open(sim::ChatKind::Person, "bob");
    Type(window, u"unsent");
    m_module->OnObjMsg(tavi::kMsgPreLogout, 0, 0, nullptr);
    sim::CloseChatWindow(window);
    EXPECT_TRUE(DraftWriters().empty());
}
