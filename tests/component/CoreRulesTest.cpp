// Rules of the message handler and the component that a user or the host
// notices only in one situation each: what a failed request leaves on
// screen, and what the host sees through the component's interface.
#include "SendFixture.h"

#include "sdk/qel_conversation.h"
#include "sdk/qel_ext_api.h"

namespace {

class CoreRulesTest : public SendTest {
protected:
    static qel_handle GroupConv() { return sim::OpenConversation("g1", true); }
    static bool GroupTopBarShown(HWND window) {
        CControlUI* bar = sim::FindControl(Panel(window), "history.view.grp_top_info");
        return bar && sim::IsShown(bar);
    }
};

// The bar is refreshed from the server once a stick went through; a stick
// that failed, whatever its code, leaves the bar as the user saw it.
TEST_F(CoreRulesTest, OnlyASuccessfulStickRefreshesTheGroupTopBar) {
    sim::AddGroupMember("g1", "me", 3);
    sim::StoredMsg stuck;
    stuck.sender = "bob";
    stuck.content = "stuck earlier";
    stuck.flags = QEL_MSG_FLAG_GRP_TOP;
    sim::AddStoredMsg(GroupConv(), stuck);
    sim::StoredMsg plain = stuck;
    plain.content = "worth sticking";
    plain.flags = 0;
    const uint64_t chosen = qel_msg_get_id(sim::AddStoredMsg(GroupConv(), plain));
    HWND window = Open(sim::ChatKind::Group, "g1");
    ASSERT_FALSE(GroupTopBarShown(window));

    for (int code : {2, 5, -4}) {
        sim::FailNext(sim::SdkCall::Stick, code);
        Handler(window)->StickGrpMsg(int64_t(chosen));
        sim::RunUntilIdle();
        EXPECT_FALSE(GroupTopBarShown(window)) << code;
    }
    EXPECT_EQ(Panel(window)->GetCurShowGrpTopMsgId(), 0u);

    Handler(window)->StickGrpMsg(int64_t(chosen));
    sim::RunUntilIdle();
    EXPECT_TRUE(GroupTopBarShown(window));
    EXPECT_EQ(Panel(window)->GetCurShowGrpTopMsgId(), chosen);
}

}  // namespace
