// @-mentions: the member popup as the user types, its keys and clicks,
// inserting the chosen name, and messages that mention the user.
#include "ChatWindowFixture.h"

#include "panel/TaviSearchWindow.h"
#include "sdk/common_sdk.h"
#include "sdk/display.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui/RichEditExUI.h"
#include "sim/core/Text.h"

namespace {

constexpr uint32_t kLButtonDown = 0x0201;

class MentionsTest : public ChatWindowTest {
protected:
    void SetUp() override {
        ChatWindowTest::SetUp();
        qel_attribs_set_str(qel_account_bound_buddy(sim::CurrentAccount()), "nickname", "Me", 0);
        sim::AddGroupMember("g1", "me");
        AddMember("g1", "ann", "Ann");
        AddMember("g1", "cara", "Cara");
    }

    static void AddMember(const std::string& group, const std::string& id, const std::string& name) {
        sim::AddBuddy(id, name, false);
        sim::AddGroupMember(group, id);
    }

    static CRichEditUI* Input(HWND window) { return Panel(window)->GetInputEdit(); }
    static tavi::CTaviSearchWindow* Popup(HWND window) { return Panel(window)->GetSearchWindow(); }
    static bool PopupShown(HWND window) {
        tavi::CTaviSearchWindow* popup = Popup(window);
        return popup && popup->IsWindowVisible();
    }
    // The user types, one character at a time, and the search answers.
    static void TypeIn(HWND window, const std::u16string& text) {
        sim::TypeText(Input(window), text);
        sim::RunUntilIdle();
    }
    // The texts of the rows in view, the selected one marked "*".
    static std::vector<std::u16string> Rows(HWND window) {
        std::vector<std::u16string> rows;
        tavi::CTaviSearchWindow* popup = Popup(window);
        CListUI* list = popup ? popup->GetList() : nullptr;
        if (!list) return rows;
        for (int i = list->GetTopIndex(); i < std::min(list->GetCount(), list->GetTopIndex() + 5); ++i) {
            CControlUI* text = list->GetItemAt(i)->FindSubControl(u"at_and_name");
            rows.push_back((text ? text->GetText() : u"?") + (i == list->GetCurSel() ? u"*" : u""));
        }
        return rows;
    }
    static int32_t PopupHeight(HWND window) {
        const RECT r = Popup(window)->GetWindowRect();
        return r.bottom - r.top;
    }
    qel_handle GroupConv() { return sim::OpenConversation("g1", true); }
    // A message arrives in the group and the host announces it.
    uint64_t Receive(HWND window, const std::string& sender, const std::string& text, const std::string& at = "") {
        sim::StoredMsg msg;
        msg.sender = sender;
        msg.read = false;
        msg.content = text;
        if (!at.empty()) msg.extraInfo = "{\"contentat\":\"" + at + "\"}";
        const uint64_t id = qel_msg_get_id(sim::AddStoredMsg(GroupConv(), msg));
        ShowAnnounced(window);
        return id;
    }
    static bool AtBarShown(HWND window) { return sim::IsShown(sim::FindControl(Panel(window), "history.view.at_info")); }
    static int LastAtWrites() {
        int writes = 0;
        for (const sim::AttribWrite& w : sim::AttribWrites()) writes += w.key == "last-at-message-id";
        return writes;
    }
};

TEST_F(MentionsTest, AnAtSignInAGroupListsEveryMemberButTheUser) {
    HWND window = Open(sim::ChatKind::Group, "g1");
    TypeIn(window, u"@");
    ASSERT_TRUE(PopupShown(window));
    EXPECT_EQ(Rows(window), (std::vector<std::u16string>{u"Bob(bob)*", u"Ann(ann)", u"Cara(cara)"}));
    EXPECT_EQ(PopupHeight(window), 3 * 28 + 4);
    EXPECT_EQ(Popup(window)->GetWindowRect().right - Popup(window)->GetWindowRect().left, 200);
    EXPECT_TRUE(Popup(window)->IsVisible());
    // The popup sits at the caret, in screen coordinates.
    const TPointUI caret = Panel(window)->GetWindow()->ClientToScreen(Input(window)->GetCaretPos());
    EXPECT_EQ(Popup(window)->GetWindowRect().left, caret.x);
    EXPECT_EQ(Popup(window)->GetWindowRect().top, caret.y);
    EXPECT_TRUE(Input(window)->IsFocused());
}

TEST_F(MentionsTest, NeverOpensOutsideGroupChatsOrInGroupsWithoutMentions) {
    HWND person = Open(sim::ChatKind::Person, "bob");
    TypeIn(person, u"@");
    EXPECT_EQ(Popup(person), nullptr);

    sim::ServerSetAttrib(qel_conversation_get_buddy_group(GroupConv()), "conv-type", 6, "ext");
    HWND group = Open(sim::ChatKind::Group, "g1");
    TypeIn(group, u"@");
    EXPECT_FALSE(PopupShown(group));
}

TEST_F(MentionsTest, ASpaceALineBreakOrAnEmptyInputClosesThePopupAndEnterSendsAgain) {
    sim::SetPrefInt("SystemInfo.HotKey.Enter", 1);
    HWND window = Open(sim::ChatKind::Group, "g1");
    TypeIn(window, u"@b");
    ASSERT_TRUE(PopupShown(window));
    TypeIn(window, u" ");
    EXPECT_FALSE(PopupShown(window));
    EXPECT_FALSE(Popup(window)->IsVisible());
    // The hidden popup leaves Enter to the send key.
    TypeIn(window, u"hi");
    EXPECT_EQ(sim::PressEnter(Input(window)), UIEVENT_HANDLED);
    EXPECT_EQ(sim::SdkRequestsOf("send").size() + sim::SdkRequestsOf("send_ext").size(), 1u);

    TypeIn(window, u"@b");
    ASSERT_TRUE(PopupShown(window));
    Input(window)->InsertText(u"\r");
    sim::Notify(Input(window), UINOTIFY_TEXTCHANGED, 1);
    EXPECT_FALSE(PopupShown(window));

    TypeIn(window, u"@");
    ASSERT_TRUE(PopupShown(window));
    Input(window)->SetText(u"");
    sim::Notify(Input(window), UINOTIFY_TEXTCHANGED, 0);
    EXPECT_FALSE(PopupShown(window));
}

TEST_F(MentionsTest, TheKeywordNarrowsTheListAndEnterInsertsTheChoice) {
    AddMember("g1", "bobby", "Bobby");
    HWND window = Open(sim::ChatKind::Group, "g1");
    TypeIn(window, u"hello @bo");
    EXPECT_EQ(Rows(window), (std::vector<std::u16string>{u"Bob(bob)*", u"Bobby(bobby)"}));
    TypeIn(window, u"bb");
    EXPECT_EQ(Rows(window), (std::vector<std::u16string>{u"Bobby(bobby)*"}));
    sim::TypeText(Input(window), u"\b\b");
    sim::RunUntilIdle();
    ASSERT_EQ(Rows(window).size(), 2u);

    EXPECT_EQ(sim::PressEnter(Input(window)), UIEVENT_HANDLED);
    EXPECT_EQ(Input(window)->GetText(), u"hello @Bob ");
    EXPECT_EQ(Input(window)->GetCaret(), 11);
    EXPECT_FALSE(PopupShown(window));
    EXPECT_TRUE(sim::SdkRequestsOf("send").empty());

    // A click on the list chooses the selected row as well.
    TypeIn(window, u"@an");
    ASSERT_TRUE(PopupShown(window));
    sim::Notify(Popup(window)->GetList()->GetItemAt(0)->FindSubControl(u"face"), UINOTIFY_CLICK);
    EXPECT_EQ(Input(window)->GetText(), u"hello @Bob @an") << "only the list's own click chooses";
    sim::Click(Popup(window)->GetList());
    EXPECT_EQ(Input(window)->GetText(), u"hello @Bob @Ann ");
}

TEST_F(MentionsTest, UpAndDownMoveTheSelectionAroundAndFiveRowsShowAtMost) {
    for (int k = 1; k <= 8; ++k) AddMember("g1", "m" + std::to_string(k), "Member " + std::to_string(k));
    HWND window = Open(sim::ChatKind::Group, "g1");
    TypeIn(window, u"@mem");
    ASSERT_EQ(Popup(window)->GetRowCount(), 8);
    EXPECT_EQ(PopupHeight(window), 5 * 28 + 4);
    CListUI* list = Popup(window)->GetList();
    // Rows out of view are not built yet but already take a row's height,
    // so the list scrolls over all of them.
    EXPECT_EQ(list->GetItemAt(7)->FindSubControl(u"at_and_name"), nullptr);
    EXPECT_EQ(list->GetItemAt(7)->GetHeight(), 28);

    EXPECT_EQ(sim::SendKeyDown(Input(window), VK_UP), UIEVENT_HANDLED);
    EXPECT_EQ(list->GetCurSel(), 7);
    EXPECT_EQ(Rows(window).back(), u"Member 8(m8)*");  // scrolled into view
    sim::SendKeyDown(Input(window), VK_DOWN);
    EXPECT_EQ(list->GetCurSel(), 0);
    EXPECT_EQ(Rows(window).front(), u"Member 1(m1)*");

    // With the keyboard on the list itself, the ends wrap too.
    sim::SendKeyDown(list, VK_UP);
    EXPECT_EQ(list->GetCurSel(), 7);
    sim::SendKeyDown(list, VK_DOWN);
    EXPECT_EQ(list->GetCurSel(), 0);
    EXPECT_EQ(Input(window)->GetText(), u"@mem");

    // A high-DPI screen scales the popup.
    sim::SetDpiScale(150);
    TypeIn(window, u"b");
    EXPECT_EQ(PopupHeight(window), (5 * 28 + 4) * 3 / 2);
}

TEST_F(MentionsTest, RowsShowTheNameInLatinSpellingWithTheIdOrTheExtraText) {
    sim::SetLatinSpelling(u"\u5F20\u4F1F", u"Zhang Wei");
    AddMember("g1", "zw", "\u5F20\u4F1F");
    sim::SetMemberNote("g1", "ann", "Annie");
    sim::SetUserExtraText("cara", u"Sales");
    HWND window = Open(sim::ChatKind::Group, "g1");
    TypeIn(window, u"@");
    EXPECT_EQ(Rows(window),
              (std::vector<std::u16string>{u"Bob(bob)*", u"Annie(ann)", u"Cara(Sales)", u"Zhang Wei(zw)"}));

    sim::SetShowUserId(false);
    TypeIn(window, u"zh");
    EXPECT_EQ(Rows(window), (std::vector<std::u16string>{u"Zhang Wei*"}));
    sim::PressEnter(Input(window));
    EXPECT_EQ(Input(window)->GetText(), u"@Zhang Wei ");

    sim::SetShowUserId(true);
    sim::SetUserInfoService(false);
    TypeIn(window, u"@car");
    EXPECT_EQ(Rows(window), (std::vector<std::u16string>{u"Cara(cara)*"}));
}

TEST_F(MentionsTest, SortingKeepsNearlyEqualScoresInOrderAndDropsTheUserOnce) {
    HWND window = Open(sim::ChatKind::Group, "g1");
    const auto record = [](const char16_t* id, float score) {
        client::FIND_ITEM item;
        item.strId = id;
        item.fMatchScore = score;
        return item;
    };
    client::FIND_CONTAIN_MAIN results{{record(u"a", 2.0f), record(u"me", 1.5f), record(u"b", 1.995f),
                                       record(u"c", 1.0f), record(u"me", 3.0f)}};
    ASSERT_TRUE(Panel(window)->FilterSearchResult(results));
    std::vector<std::u16string> ids;
    for (const auto& r : results[0]) ids.push_back(r.strId);
    EXPECT_EQ(ids, (std::vector<std::u16string>{u"c", u"a", u"b", u"me"}));
    // Exactly 0.01 apart still counts as equal.
    client::FIND_CONTAIN_MAIN edge{{record(u"x", 2.0f), record(u"y", 2.0f - 0.01f)}};
    ASSERT_TRUE(Panel(window)->FilterSearchResult(edge));
    EXPECT_EQ(edge[0][0].strId, u"x");

    client::FIND_CONTAIN_MAIN empty(3);
    EXPECT_FALSE(Panel(window)->FilterSearchResult(empty));
    client::FIND_CONTAIN_MAIN onlyMe{{}, {record(u"me", 0)}};
    EXPECT_TRUE(Panel(window)->FilterSearchResult(onlyMe));
    EXPECT_TRUE(onlyMe[1].empty());

    // A result of nobody but the user leaves no popup behind.
    TypeIn(window, u"@b");
    ASSERT_TRUE(PopupShown(window));
    client::FIND_CONTAIN_MAIN self{{record(u"me", 0)}};
    Panel(window)->ShowSDKSearchFriendResult(self, 1, true);
    EXPECT_FALSE(PopupShown(window));
    // A record of a buddy the account does not know gets a row without text.
    // The popup ranks what it is given, whoever filtered it before.
    client::FIND_CONTAIN_MAIN unsorted{{record(u"cara", 2.0f), record(u"ann", 1.0f)}};
    Popup(window)->ShowResult(unsorted);
    EXPECT_EQ(Rows(window), (std::vector<std::u16string>{u"Ann(ann)*", u"Cara(cara)"}));
    client::FIND_CONTAIN_MAIN stranger{{record(u"nobody", 0)}};
    Panel(window)->ShowSDKSearchFriendResult(stranger, 1, true);
    EXPECT_EQ(Rows(window), (std::vector<std::u16string>{u"*"}));
}

TEST_F(MentionsTest, AnOrganisationsGroupChatListsTheOrganisationsMembers) {
    sim::SetChatWndKindNum(sim::ChatWindowKey(sim::ChatKind::Group), 16);
    sim::ServerSetAttrib(sim::AddGroup("g1"), "org-group-id", "org");
    sim::AddOrgGroup("org");
    AddMember("org", "dana", "Dana");
    HWND window = Open(sim::ChatKind::Group, "g1");
    TypeIn(window, u"@");
    EXPECT_EQ(Rows(window), (std::vector<std::u16string>{u"Dana(dana)*"}));
    TypeIn(window, u"b");
    EXPECT_FALSE(PopupShown(window));  // Bob is not in the organisation
}

TEST_F(MentionsTest, ClicksElsewhereAndFocusLossCloseThePopup) {
    HWND window = Open(sim::ChatKind::Group, "g1");
    TypeIn(window, u"@");
    ASSERT_TRUE(PopupShown(window));
    const RECT popup = Popup(window)->GetWindowRect();
    const TPointUI inside = Panel(window)->GetWindow()->ScreenToClient({popup.left + 5, popup.top + 5});
    sim::SendWindowMessage(window, kLButtonDown, 0, (inside.y << 16) | inside.x);
    EXPECT_TRUE(PopupShown(window));
    sim::SendWindowMessage(window, kLButtonDown, 0, (2 << 16) | 2);
    EXPECT_FALSE(PopupShown(window));

    // The popup was clicked (activated): the input's focus loss keeps it.
    TypeIn(window, u"b");
    ASSERT_TRUE(PopupShown(window));
    sim::SendWindowMessage(Popup(window)->GetHWND(), tavi::kWmPopupActivate);
    sim::SendEvent(Input(window), UIEVENT_KILLFOCUS);
    EXPECT_TRUE(PopupShown(window));
    sim::SendWindowMessage(Popup(window)->GetHWND(), tavi::kWmPopupKillFocus, 0);
    EXPECT_FALSE(PopupShown(window));
    EXPECT_FALSE(Popup(window)->IsActivated());

    TypeIn(window, u"o");
    ASSERT_TRUE(PopupShown(window));
    sim::SendEvent(Input(window), UIEVENT_KILLFOCUS);
    EXPECT_FALSE(PopupShown(window));
}

TEST_F(MentionsTest, InsertingAtTheStartAndTheGroupTipOnFocus) {
    HWND window = Open(sim::ChatKind::Group, "g1");
    // Nothing was typed after an "@" yet: there is nothing to replace.
    Input(window)->SetText(u"@x");
    Panel(window)->AddAtName(u"Ann", true);
    EXPECT_EQ(Input(window)->GetText(), u"@x");

    Input(window)->SetText(u"see this");
    Panel(window)->AddAtName(u"Ann", false);
    EXPECT_EQ(Input(window)->GetText(), u"@Ann see this");
    EXPECT_EQ(Input(window)->GetCaret(), Input(window)->GetTextLength());
    EXPECT_TRUE(Input(window)->IsFocused());

    const auto tips = [] { return std::count(sim::AppCalls().begin(), sim::AppCalls().end(), "tip:GrpFirstOpen"); };
    const auto before = tips();
    sim::Notify(Input(window), UINOTIFY_SETFOCUS);
    EXPECT_EQ(tips(), before + 1);
    HWND person = Open(sim::ChatKind::Person, "bob");
    const auto inGroup = tips();
    sim::Notify(Input(person), UINOTIFY_SETFOCUS);
    EXPECT_EQ(tips(), inGroup);
}

TEST_F(MentionsTest, OddInputNeverLeavesAStalePopup) {
    HWND window = Open(sim::ChatKind::Group, "g1");
    TypeIn(window, u"@b");
    ASSERT_TRUE(PopupShown(window));
    Input(window)->InsertText(std::u16string(10000, u'x'));
    sim::Notify(Input(window), UINOTIFY_TEXTCHANGED, 1);
    sim::RunUntilIdle();
    EXPECT_FALSE(PopupShown(window));

    for (const std::u16string& odd : {std::u16string(u"@\U0001F600"), std::u16string(u"@\xD800"),
                                      std::u16string(u"@\xDC00x")}) {
        Input(window)->SetText(u"");
        TypeIn(window, odd);
        EXPECT_FALSE(PopupShown(window));
    }
}

TEST_F(MentionsTest, EmptyGroupsAndMembersWithoutANameAreHandled) {
    sim::AddGroup("empty");
    sim::OpenConversation("empty", true);
    HWND empty = Open(sim::ChatKind::Group, "empty");
    TypeIn(empty, u"@");
    EXPECT_FALSE(PopupShown(empty));
    sim::SetGroupMembersError("g1", 5);
    HWND failing = Open(sim::ChatKind::Group, "g1");
    TypeIn(failing, u"@");
    EXPECT_FALSE(PopupShown(failing));
    sim::SetGroupMembersError("g1", 0);

    sim::AddGroupMember("g1", "anon");
    TypeIn(failing, u"ano");
    EXPECT_EQ(Rows(failing), (std::vector<std::u16string>{u"anon(anon)*"}));
    sim::PressEnter(Input(failing));
    EXPECT_EQ(Input(failing)->GetText(), u"@anon ");
}

TEST_F(MentionsTest, AnAnswerGoesToTheWindowThatAskedLastAndNeverToAClosedOne) {
    sim::AddGroup("g2");
    sim::AddGroupMember("g2", "bob");
    sim::AddGroupMember("g2", "me");
    sim::OpenConversation("g2", true);
    HWND first = Open(sim::ChatKind::Group, "g1");
    HWND second = Open(sim::ChatKind::Group, "g2");
    for (HWND window : {first, second}) {
        Input(window)->SetText(u"@");
        Input(window)->SetSel(-1, -1);
        sim::TypeText(Input(window), u"b");
    }
    sim::RunUntilIdle();
    EXPECT_EQ(Popup(first), nullptr);
    EXPECT_TRUE(PopupShown(second));

    sim::TypeText(Input(second), u"o");
    sim::CloseChatWindow(second);
    sim::RunUntilIdle();
    EXPECT_EQ(sim::OpenChatWindows().size(), 1u);
    EXPECT_EQ(Popup(first), nullptr);
}

TEST_F(MentionsTest, AMessageThatMentionsTheUserRaisesTheReminderOnce) {
    HWND window = Open(sim::ChatKind::Group, "g1");
    const uint64_t id = Receive(window, "bob", "@Me look", "me");
    EXPECT_TRUE(AtBarShown(window));
    int32_t left = 0, top = 0, right = 0, bottom = 0, anchor = 0;
    sim::FindControl(Panel(window), "history.view.viewrichedit")->GetCoordinate(left, top, right, bottom, anchor);
    EXPECT_EQ(top, 24) << "the messages make room for the bar";
    EXPECT_EQ(qel_ext::GetQELAttribs_msg_id(GroupConv(), "last-at-message-id"), id);
    EXPECT_EQ(Panel(window)->GetAtReminderMsgId(), id);
    EXPECT_EQ(sim::FindControl(Panel(window), "history.view.at_info.UserId")->GetText(), u"bob");
    EXPECT_EQ(sim::FindControl(Panel(window), "history.view.at_info.AtRemind")->GetText(), u"Bob @Me look");
    EXPECT_EQ(LastAtWrites(), 1);

    // A reload shows the message again; it is not news.
    Panel(window)->ClearMsgExceptHeaderLine();
    Panel(window)->GetMsgHandle()->ShowGetMsg(0, false, false);
    sim::RunUntilIdle();
    EXPECT_EQ(LastAtWrites(), 1);

    Receive(window, "ann", "hi everyone", "all");
    EXPECT_EQ(LastAtWrites(), 2);
    Receive(window, "ann", "not you", "bob,cara");
    EXPECT_EQ(LastAtWrites(), 2);

    // Clearing the view takes the bar away and gives its room back.
    TPointUI empty;
    ASSERT_TRUE(sim::PointAtMsg(Panel(window)->GetHistoryView(), 0, false, empty));
    sim::NotifyAt(Panel(window)->GetHistoryView(), UINOTIFY_RCLICK, empty);
    ASSERT_TRUE(sim::ClickMenuItem(50006));  // "clear"
    EXPECT_FALSE(AtBarShown(window));
    sim::FindControl(Panel(window), "history.view.viewrichedit")->GetCoordinate(left, top, right, bottom, anchor);
    EXPECT_EQ(top, 0);
}

TEST_F(MentionsTest, OlderMessagesAndTheUsersOwnDoNotRemind) {
    // The last mention the user was reminded of is no news either.
    qel_ext::SetQELAttribs_msg_id(GroupConv(), "last-at-message-id", 999, 3);
    HWND window = Open(sim::ChatKind::Group, "g1");
    sim::StoredMsg old;
    old.sender = "bob";
    old.id = 999;
    old.content = "@all old";
    old.extraInfo = "{\"contentat\":\"all\"}";
    sim::AddStoredMsg(GroupConv(), old);
    ShowAnnounced(window);
    EXPECT_FALSE(AtBarShown(window));
    EXPECT_EQ(LastAtWrites(), 1);  // the one this test made

    Receive(window, "me", "@all from me", "all");
    EXPECT_FALSE(AtBarShown(window));
    qel_ext::SetQELAttribs_msg_id(GroupConv(), "last-at-message-id", 0, 3);
    Receive(window, "me", "look", "me,all");
    EXPECT_FALSE(AtBarShown(window));
    HWND person = Open(sim::ChatKind::Person, "bob");
    sim::AddStoredMsg(sim::OpenConversation("bob"), old);
    ShowAnnounced(person);
    EXPECT_FALSE(AtBarShown(person));
}

TEST_F(MentionsTest, APlainTextMentionOfTheUsersNameOrNoteReminds) {
    HWND window = Open(sim::ChatKind::Group, "g1");
    Receive(window, "bob", "hey @Bob there");
    EXPECT_FALSE(AtBarShown(window));
    Receive(window, "bob", "hey @Me");
    EXPECT_TRUE(AtBarShown(window));
    const int afterName = LastAtWrites();
    sim::SetMemberNote("g1", "me", "Boss");
    Receive(window, "cara", "@Boss yes");
    Receive(window, "cara", "@ALL stand up");
    EXPECT_EQ(LastAtWrites(), afterName + 2);

    SQelBoxMsg plain;
    plain.senderId = u"cara";
    plain.contentType = "text/plain";
    // Only a mention of the user or of everyone is remembered.
    plain.content = "no mention";
    Panel(window)->ShowByParsePlainText(plain);
    plain.content = "@nobody here";
    Panel(window)->ShowByParsePlainText(plain);
    EXPECT_EQ(LastAtWrites(), afterName + 2);
    plain.content = "@all here";
    Panel(window)->ShowByParsePlainText(plain);
    EXPECT_EQ(LastAtWrites(), afterName + 3);

    std::u16string name;
    tavi::CTaviPanel::GetAtName(name, u"no mention");
    EXPECT_EQ(name, u"");
    tavi::CTaviPanel::GetAtName(name, u"a@b c@d");
    EXPECT_EQ(name, u"b");
}

}  // namespace
