// Rules of the panel that the user, the partner or the host sees: when the
// partner hears typing, the shape of the read line, the fast replies of an
// emptied list, and what a window moving to another conversation leaves.
#include "SendFixture.h"

#include "sdk/ctrlbinder.h"
#include "sdk/ui/MenuUI.h"

namespace {

class PanelBehaviourTest : public SendTest {
protected:
    static tavi::STaviPanelInfo PersonInfo(const char16_t* peer) {
        tavi::STaviPanelInfo info;
        info.windowKey = sim::ChatWindowKey(sim::ChatKind::Person);
        info.sessionId = peer;
        info.instanceName = u"qel_inst";
        return info;
    }
    static CControlUI* BoundView(const char16_t* peer) {
        return SCtrlValidBinder::GetCtrlPtr((u"{7CADFB98-F2B4-4bd7-9C4F-A06B1D69C556}_" + std::u16string(peer)).c_str());
    }
};

TEST_F(PanelBehaviourTest, PartnerHearsTypingOnlyFromAUserWhoMaySendAndShares) {
    struct Row {
        const char* what;
        int noSendLimit;
        int inputState;
        bool heard;
    };
    const Row rows[] = {
        {"allowed", 0, 1, true},
        {"barred from sending", 1, 1, false},
        {"typing kept private", 0, 0, false},
    };
    for (const Row& row : rows) {
        sim::SetRBACLimit("im.pc.not.send.message.function", row.noSendLimit);
        sim::SetPrefInt("SystemInfo.InstantShare.InputState", row.inputState);
        HWND window = Open(sim::ChatKind::Person, "bob");
        sim::TypeText(Input(window), u"a");
        sim::Advance(1000);
        const size_t before = sim::SdkRequestsOf("reminder").size();
        sim::TypeText(Input(window), u"b");
        EXPECT_EQ(sim::SdkRequestsOf("reminder").size() > before, row.heard) << row.what;
        support::ChatWorld::CloseWindows();
    }
}

TEST_F(PanelBehaviourTest, ReadLineIsTwoShortRulesAroundItsText) {
    qel_handle bob = sim::OpenConversation("bob");
    sim::StoredMsg mine;
    mine.sent = true;
    mine.content = "x";
    qel_handle own = sim::AddStoredMsg(bob, mine);
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::ServerSetPartnerReadCursor(bob, int64_t(qel_msg_get_conv_msg_id(own)), 0);
    sim::RunUntilIdle();

    CControlUI* label = View(window)->FindSubControl(u"readCursorLabel");
    ASSERT_NE(label, nullptr);
    auto* line = dynamic_cast<CContainerUI*>(label->GetParent());
    ASSERT_TRUE(line && line->GetCount() == 3);
    EXPECT_EQ(line->GetWidth(), 350);
    EXPECT_EQ(line->GetHeight(), 20);
    const int32_t left = line->GetPos().left;
    const int32_t text = label->GetTextWidth();
    const auto span = [&](CControlUI* c) {
        return std::vector<int32_t>{c->GetPos().left - left, c->GetWidth(), c->GetHeight()};
    };
    EXPECT_EQ(span(line->GetItemAt(0)), (std::vector<int32_t>{0, 68, 1}));
    EXPECT_EQ(span(label), (std::vector<int32_t>{68, text, 20}));
    EXPECT_EQ(span(line->GetItemAt(2)), (std::vector<int32_t>{text + 88, 68, 1}));
}

TEST_F(PanelBehaviourTest, FastReplyMenuOffersTheStoredRepliesOrElseTheBuiltInOnes) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const auto menuFor = [&](const std::vector<std::u16string>& stored) {
        sim::SetPrefArray("SystemInfo.AutoReply.FastReply", stored);
        ClickSend(window);
        std::vector<std::u16string> texts;
        for (const auto& item : sim::ShownMenus().back().items) texts.push_back(item.separator ? u"-" : item.text);
        sim::DismissMenu();
        return texts;
    };
    EXPECT_EQ(menuFor({u"later"}), (std::vector<std::u16string>{u"later", u"-", u"#FAST_REPLY_MENU_SETTING"}));
    EXPECT_EQ(menuFor({}), (std::vector<std::u16string>{u"#OH", u"#OK_OK_I_SEE", u"#REALLY_Q", u"#ARE_YOU_SERIOUS_Q",
                                                        u"-", u"#FAST_REPLY_MENU_SETTING"}));
}

TEST_F(PanelBehaviourTest, WindowMovingAwayLeavesTheViewThatTookItsConversationBound) {
    sim::AddBuddy("carol", "Carol");
    HWND first = Open(sim::ChatKind::Person, "bob");
    HWND second = Open(sim::ChatKind::Person, "carol");
    const tavi::STaviPanelInfo bob = PersonInfo(u"bob");
    ASSERT_TRUE(Component(second)->UpdatePanelInfo(&bob));
    ASSERT_EQ(BoundView(u"bob"), View(second));

    const tavi::STaviPanelInfo carol = PersonInfo(u"carol");
    ASSERT_TRUE(Component(first)->UpdatePanelInfo(&carol));
    EXPECT_EQ(BoundView(u"bob"), View(second));
    EXPECT_EQ(BoundView(u"carol"), View(first));
}

}  // namespace
