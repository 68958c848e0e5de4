// Chat windows of every kind opened through the plug-in and closed again.
#include "ChatWindowFixture.h"

#include "sdk/ui/RichEditExUI.h"

namespace {

bool Shown(tavi::CTaviPanel* panel, const char16_t* name) {
    CControlUI* control = panel->FindSubControl(name);
    return control && control->IsVisible();
}

}  // namespace

TEST_F(ChatWindowTest, PersonChatBuildsPanelAndHandler) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    ASSERT_NE(window, nullptr);
    tavi::CTaviPanel* panel = Panel(window);
    ASSERT_NE(panel, nullptr);
    EXPECT_NE(panel->GetHistoryView(), nullptr);
    EXPECT_NE(panel->GetInputEdit(), nullptr);
    ASSERT_NE(panel->GetMsgHandle(), nullptr);
    EXPECT_EQ(panel->GetMsgHandle()->GetSessionId(), u"bob");
    EXPECT_NE(panel->GetMsgHandle()->GetConversation(), nullptr);
    EXPECT_EQ(tavi::FindMsgHandle(u"bob"), panel->GetMsgHandle());
    EXPECT_TRUE(panel->GetInputEdit()->IsFocused());
    EXPECT_TRUE(Shown(panel, u"input.left.font"));
    EXPECT_TRUE(Shown(panel, u"input.left.emoticon"));
    EXPECT_FALSE(Shown(panel, u"input.left.takephoto"));  // the host offers no photo service
    EXPECT_EQ(sim::SdkRequestsOf("partner_read_cursor").size(), 1u);

    sim::CloseChatWindow(window);
    EXPECT_EQ(tavi::FindMsgHandle(u"bob"), nullptr);
    EXPECT_TRUE(sim::OpenChatWindows().empty());
}

TEST_F(ChatWindowTest, EachKindShowsItsButtons) {
    HWND email = Open(sim::ChatKind::Email, "bob");
    HWND adhoc = Open(sim::ChatKind::Adhoc, "g1");
    HWND group = Open(sim::ChatKind::Group, "g1");
    ASSERT_TRUE(email && adhoc && group);
    EXPECT_FALSE(Shown(Panel(email), u"input.left.emoticon"));
    EXPECT_FALSE(Shown(Panel(email), u"input.left.syspic"));
    EXPECT_TRUE(Shown(Panel(email), u"input.left.font"));
    EXPECT_FALSE(Shown(Panel(adhoc), u"input.left.font"));
    EXPECT_FALSE(Shown(Panel(adhoc), u"input.left.emoticon"));
    EXPECT_TRUE(Shown(Panel(adhoc), u"input.left.syspic"));
    EXPECT_TRUE(Shown(Panel(group), u"input.left.emoticon"));
    // Only a person chat asks for the partner's read cursor.
    EXPECT_TRUE(sim::SdkRequestsOf("partner_read_cursor").empty());
    // Every kind but e-mail registers the unread counter.
    ASSERT_EQ(sim::UnreadCounters().size(), 2u);
    EXPECT_EQ(sim::UnreadCounters()[0].owner, u"TaviPanel");
    EXPECT_EQ(sim::UnreadCounters()[0].maximum, 999);
}

TEST_F(ChatWindowTest, ZoomPreferenceScalesTheHistoryViewAndNoneLeavesItAlone) {
    int num = -1, den = -1;
    Panel(Open(sim::ChatKind::Person, "bob"))->GetHistoryView()->GetZoom(num, den);
    EXPECT_EQ(num, 0);
    sim::SetPrefStr("SystemInfo.Richedit.ShowScale", u"125%");
    Panel(Open(sim::ChatKind::Group, "g1"))->GetHistoryView()->GetZoom(num, den);
    EXPECT_EQ(num, 125);
    EXPECT_EQ(den, 100);
}

TEST_F(ChatWindowTest, TypingIsArmedOneSecondAfterStart) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    EXPECT_FALSE(Panel(window)->IsTypingArmed());
    sim::Advance(999);
    EXPECT_FALSE(Panel(window)->IsTypingArmed());
    sim::Advance(1);
    EXPECT_TRUE(Panel(window)->IsTypingArmed());
}
