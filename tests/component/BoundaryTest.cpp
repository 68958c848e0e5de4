// The component at its boundary with the host: moving a window to another
// peer, a component the host keeps after its window closed, null arguments.
#include "SendFixture.h"

#include "sdk/ctrlbinder.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/qel_msg.h"

namespace {

class BoundaryTest : public SendTest {
protected:
    static std::string ConvId(qel_handle conversation) { return qel_conversation_get_id(conversation); }

    static tavi::STaviPanelInfo PersonInfo(const char16_t* peer) {
        tavi::STaviPanelInfo info;
        info.windowKey = sim::ChatWindowKey(sim::ChatKind::Person);
        info.sessionId = peer;
        info.instanceName = u"qel_inst";
        return info;
    }

    static bool HasDraft(const char* buddyId) {
        qel_handle buddy = qel_buddies_find_buddy_base(qel_account_buddies(sim::CurrentAccount()), buddyId);
        return qel_attribs_find_child(qel_object_get_attribs(buddy, "ext"), "draft") != nullptr;
    }
};

}  // namespace

TEST_F(BoundaryTest, MovedWindowSendsToTheNewPeerAndKeepsTheOldDraft) {
    sim::AddBuddy("carol", "Carol");
    const std::string carol = ConvId(sim::OpenConversation("carol"));
    sim::AddStoredMsgs(sim::OpenConversation("carol"), 1, true);
    sim::StoredMsg mine;
    mine.sent = true;
    mine.content = "earlier to carol";
    qel_handle own = sim::AddStoredMsg(sim::OpenConversation("carol"), mine);
    HWND window = Open(sim::ChatKind::Person, "bob");
    Type(window, u"half a thought for bob");

    const tavi::STaviPanelInfo info = PersonInfo(u"carol");
    ASSERT_TRUE(Component(window)->UpdatePanelInfo(&info));
    sim::RunUntilIdle();
    EXPECT_TRUE(HasDraft("bob"));
    EXPECT_EQ(Input(window)->GetText(), u"");
    EXPECT_EQ(Items(window, "msg").size(), 2u);  // carol's history, not bob's
    EXPECT_EQ(tavi::FindMsgHandle(u"bob"), nullptr);
    EXPECT_EQ(tavi::FindMsgHandle(u"carol"), Handler(window));
    EXPECT_EQ(SCtrlValidBinder::GetCtrlPtr(u"{7CADFB98-F2B4-4bd7-9C4F-A06B1D69C556}_bob"), nullptr);
    EXPECT_EQ(SCtrlValidBinder::GetCtrlPtr(u"{7CADFB98-F2B4-4bd7-9C4F-A06B1D69C556}_carol"), View(window));
    // Its unread counter counts carol's messages now.
    ASSERT_EQ(sim::UnreadCounters().size(), 1u);
    EXPECT_NE(sim::UnreadCounters()[0].convId.find(u"carol"), std::u16string::npos);
    // It hears the new conversation: carol reading shows her read line.
    const auto readLine = [&] { return View(window)->HasMsg(-100002); };
    EXPECT_FALSE(readLine());
    sim::ServerSetPartnerReadCursor(sim::OpenConversation("carol"), int64_t(qel_msg_get_conv_msg_id(own)), 0);
    sim::RunUntilIdle();
    EXPECT_TRUE(readLine());

    Type(window, u"hello carol");
    ASSERT_TRUE(ClickSend(window));
    sim::RunUntilIdle();
    ASSERT_EQ(Sends().size(), 1u);
    EXPECT_EQ(Sends()[0].convId, carol);

    // The same peer again only reloads: nothing typed is lost.
    Type(window, u"still typing");
    const tavi::STaviPanelInfo same = PersonInfo(u"carol");
    ASSERT_TRUE(Component(window)->UpdatePanelInfo(&same));
    EXPECT_EQ(Input(window)->GetText(), u"still typing");
    EXPECT_FALSE(Component(window)->UpdatePanelInfo(nullptr));
    EXPECT_EQ(tavi::FindMsgHandle(u"carol"), Handler(window));
}

TEST_F(BoundaryTest, ComponentKeptAfterItsWindowClosedDoesNothing) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CTaviImpl* component = Component(window);
    component->AddRef();
    sim::CloseChatWindow(window);
    sim::RunUntilIdle();

    EXPECT_EQ(component->GetPanel(), nullptr);
    EXPECT_EQ(component->GetInputRichEdit(), nullptr);
    EXPECT_EQ(component->GetMsgHistoryRichEdit(), nullptr);
    component->SendMsg();
    EXPECT_EQ(component->QelSendMsg(u"late", nullptr, "text/plain", true), -1);
    const tavi::STaviPanelInfo info = PersonInfo(u"bob");
    EXPECT_FALSE(component->UpdatePanelInfo(&info));
    EXPECT_FALSE(component->IsFrdEventDisplayed());
    component->InsertSimpleInfoMsg(u"late notice", false);
    component->StoreFocus();
    component->RestoreFocus();
    component->ProcHostWndMsg(tavi::kWmPasteRequest, 0, 0);
    EXPECT_TRUE(Sends().empty());
    component->Release();  // the last reference: nothing of the window is touched
}

TEST_F(BoundaryTest, NullArgumentsShowAndSendNothing) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CTaviImpl* component = Component(window);
    const size_t before = sim::ViewItems(View(window)).size();
    component->InsertInfoMsg(0, false, nullptr, false, 0, false, false);
    component->InsertSimpleInfoMsg(nullptr, false);
    component->InsertSimpleInfoWarnMsg(nullptr, false);
    component->InsertLinkInfoMsg(nullptr, nullptr, 0, false, nullptr);
    EXPECT_EQ(component->QelSendMsg(nullptr, nullptr, "text/plain", true), -1);
    sim::RunUntilIdle();
    EXPECT_EQ(sim::ViewItems(View(window)).size(), before);
    EXPECT_TRUE(Sends().empty());

    EXPECT_FALSE(component->ProcHostDuiMsg(nullptr));

    component->InsertSimpleInfoMsg(u"a real notice", false);
    EXPECT_EQ(Notices(window).back(), u"a real notice");
    component->InsertLinkInfoMsg(u"a real link", nullptr, 0, false, nullptr);
    EXPECT_NE(View(window)->GetText().find(u"a real link"), std::u16string::npos);
}

TEST_F(BoundaryTest, DeeplyNestedIncomingBodyShowsOnePlaceholder) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    std::string nested;
    for (int i = 0; i < 100000; ++i) nested += "<b>";
    for (int i = 0; i < 100000; ++i) nested += "</b>";
    sim::DeliverIncomingMsg(sim::OpenConversation("bob"), nested, "rich/xml");
    Component(window)->GetAndShowMsg(0, 0);
    sim::RunUntilIdle();
    ASSERT_EQ(Items(window, "msg").size(), 1u);
    EXPECT_EQ(Items(window, "msg")[0].text, u"bob: [?]");
}
