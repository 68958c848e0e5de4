// A group chat's view as messages come and go: the @-reminder follows only
// the message that mentions the user.
#include "ChatWindowFixture.h"

#include "sdk/common_sdk.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_msg.h"

namespace {

class GroupViewTest : public ChatWindowTest {
protected:
    void SetUp() override {
        ChatWindowTest::SetUp();
        qel_attribs_set_str(qel_account_bound_buddy(sim::CurrentAccount()), "nickname", "Me", 0);
        sim::AddGroupMember("g1", "me");
    }
    static qel_handle Conv() { return sim::OpenConversation("g1", true); }
    // Bob writes to the group, mentioning `at`, and the host announces it.
    static qel_handle Receive(HWND window, const std::string& text, const std::string& at = "") {
        sim::StoredMsg msg;
        msg.sender = "bob";
        msg.read = false;
        msg.content = text;
        if (!at.empty()) msg.extraInfo = "{\"contentat\":\"" + at + "\"}";
        qel_handle message = sim::AddStoredMsg(Conv(), msg);
        Component(window)->GetAndShowMsg(0, 0);
        sim::RunUntilIdle();
        return message;
    }
    static void Recall(HWND window, qel_handle message) {
        sim::RecallStoredMsg(message, "");
        SQelBoxMsg record;
        ASSERT_TRUE(CreateQelBoxMsg(record, qel_msg_get_data(message), message, Conv(), false, u"g1"));
        Component(window)->OnRecallMessage(&record);
    }
    static bool AtBarShown(HWND window) { return sim::IsShown(sim::FindControl(Panel(window), "history.view.at_info")); }
};

TEST_F(GroupViewTest, OnlyRecallingTheMentionTakesTheReminderAway) {
    HWND window = Open(sim::ChatKind::Group, "g1");
    qel_handle mention = Receive(window, "@Me look", "me");
    qel_handle other = Receive(window, "never mind");
    ASSERT_TRUE(AtBarShown(window));

    Recall(window, other);
    EXPECT_TRUE(AtBarShown(window));
    Recall(window, mention);
    EXPECT_FALSE(AtBarShown(window));
}

}  // namespace
