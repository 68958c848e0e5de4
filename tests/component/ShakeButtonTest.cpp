// The shake button beside a person chat: rate limit, offline partner,
// permission, the own window's shake and the accept switch of its menu.
#include "SendFixture.h"

#include "sdk/ui/ContainerUI.h"
#include "tools/ShakeMsgWidgetPanel.h"

namespace {

class ShakeTest : public SendTest {
protected:
    // The shake plug-in's button, in the window's tool head.
    static CControlUI* Button(HWND window) {
        auto* head = dynamic_cast<CContainerUI*>(
            sim::FindControl(sim::FindChatWindow(window), "top_con.chat_tool_head_ctn"));
        for (int i = 0; head && i < head->GetCount(); ++i) {
            if (auto* panel = dynamic_cast<tavi::CShakeMsgWidgetPanel*>(head->GetItemAt(i)))
                return panel->FindSubControl(u"shake");
        }
        return nullptr;
    }
    static bool Shake(HWND window, intptr_t dropDown = 0) { return sim::Click(Button(window), 0, dropDown); }
    static size_t Reminders() { return sim::SdkRequestsOf("reminder").size(); }
    static size_t OwnShakes(HWND window) {
        size_t count = 0;
        for (const sim::HostEvent& e : sim::HostEvents()) {
            if (e.window == window && e.kind == "wndmsg" && e.code == int(tavi::kWmShakeWindow)) ++count;
        }
        return count;
    }
};

TEST_F(ShakeTest, ShakesGoToAnOnlinePartnerAtMostOnceInTenSeconds) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    ASSERT_NE(Button(window), nullptr);
    tavi::CTaviImpl* component = Component(window);
    const int32_t references = component->AddRef();
    component->Release();
    EXPECT_TRUE(Shake(window));
    // Writing the notice borrows the component and gives it back.
    EXPECT_EQ(component->AddRef(), references);
    component->Release();
    ASSERT_EQ(Reminders(), 1u);
    const sim::SdkRequest reminder = sim::SdkRequestsOf("reminder")[0];
    EXPECT_EQ(reminder.convId, "im:bob");
    EXPECT_EQ(reminder.flags, 2);
    EXPECT_EQ(reminder.value, "normal");
    EXPECT_EQ(OwnShakes(window), 1u);
    EXPECT_EQ(Notices(window), std::vector<std::u16string>{u"#SEND_WINDOWS_SHAKE"});
    EXPECT_EQ(sim::UsageReports(), std::vector<std::string>{"e_fun_chat_tool_shake:OnBtnShake"});

    sim::Advance(9000);
    Shake(window);
    EXPECT_EQ(Reminders(), 1u);
    EXPECT_EQ(OwnShakes(window), 1u);
    EXPECT_EQ(Notices(window).back(), u"#SHAKE_TOO_FREQUENTLY");
    // Ten seconds after the last one that went out, whatever was refused between.
    sim::Advance(1000);
    Shake(window);
    EXPECT_EQ(Reminders(), 2u);
    EXPECT_EQ(OwnShakes(window), 2u);
    EXPECT_EQ(Notices(window).back(), u"#SEND_WINDOWS_SHAKE");

    // An offline partner is not shaken.
    for (int status : {0, 2}) {
        sim::Advance(10000);
        sim::SetPresence("bob", status);
        Shake(window);
        EXPECT_EQ(Notices(window).back(), u"#OFFLINE_CANNOT_SHAKE");
    }
    EXPECT_EQ(Reminders(), 2u);
    EXPECT_EQ(OwnShakes(window), 2u);
    sim::SetPresence("bob", 1);
    sim::Advance(10000);
    Shake(window);
    EXPECT_EQ(Reminders(), 3u);
}

TEST_F(ShakeTest, EachWindowHasItsOwnLimit) {
    sim::AddBuddy("carol", "Carol");
    HWND bob = Open(sim::ChatKind::Person, "bob");
    HWND carol = Open(sim::ChatKind::Person, "carol");
    Shake(bob);
    Shake(carol);
    EXPECT_EQ(Reminders(), 2u);
    EXPECT_EQ(sim::SdkRequestsOf("reminder")[1].convId, "im:carol");
    EXPECT_EQ(Button(Open(sim::ChatKind::Group, "g1")), nullptr);
}

TEST_F(ShakeTest, WithoutPermissionOnlyABoxAppears) {
    sim::SetRBACLimit("im.pc.not.send.message.function", 1);
    HWND window = Open(sim::ChatKind::Person, "bob");
    Shake(window);
    ASSERT_EQ(sim::ShownBoxes().size(), 1u);
    EXPECT_EQ(sim::ShownBoxes()[0].text, u"#IDS_RBAC_NOT_SEND_MESSAGE_PERMISSION");
    EXPECT_EQ(sim::ShownBoxes()[0].caption, u"#IDS_RBAC_NOT_SEND_MESSAGE_PERMISSION");
    EXPECT_EQ(sim::ShownBoxes()[0].type, 1);
    EXPECT_TRUE(Notices(window).empty());
    EXPECT_EQ(Reminders(), 0u);
    EXPECT_EQ(OwnShakes(window), 0u);
}

TEST_F(ShakeTest, APartnerWithoutConversationStillShakesTheOwnWindow) {
    HWND window = Open(sim::ChatKind::Person, "stranger");
    ASSERT_NE(Button(window), nullptr);
    Shake(window);
    EXPECT_EQ(Reminders(), 0u);
    ASSERT_EQ(sim::ShownBoxes().size(), 1u);
    EXPECT_EQ(sim::ShownBoxes()[0].text, u"#OnBtnShake fail!");
    EXPECT_EQ(sim::ShownBoxes()[0].caption, u"#Tip");
    EXPECT_EQ(OwnShakes(window), 1u);
    bool logged = false;
    for (const sim::LogEntry& line : sim::LogLines())
        logged = logged || (line.level == 1 && line.text.find("SessionId = stranger") != std::string::npos);
    EXPECT_TRUE(logged);
}

TEST_F(ShakeTest, TheMenuSwitchesWhetherShakesAreAccepted) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    for (int expected : {0, 1}) {
        Shake(window, 1);
        CMenuUI* menu = sim::OpenMenu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->GetMenuId(), tavi::kShakeMenuId);
        ASSERT_NE(menu->FindItem(tavi::kAcceptShakeItemId), nullptr);
        EXPECT_EQ(menu->FindItem(tavi::kAcceptShakeItemId)->checked, expected == 0);
        ASSERT_TRUE(sim::ClickMenuItem(tavi::kAcceptShakeItemId));
        EXPECT_EQ(sim::LastSavedPrefs().at("SystemInfo.FriendChat_Normal.AllowAcceptDlgShake"),
                  std::to_string(expected));
    }
    EXPECT_EQ(Reminders(), 0u);  // the drop-down part shakes nobody
}

TEST_F(ShakeTest, SpecialProxyUsersGetNoShakeButton) {
    sim::SetSpecialProxyUser("bob");
    HWND window = Open(sim::ChatKind::Person, "bob");
    CControlUI* button = Button(window);
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(sim::IsShown(button));
    auto* panel = dynamic_cast<tavi::CShakeMsgWidgetPanel*>(button->GetParent());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->GetSessionId(), u"bob");
    EXPECT_EQ(panel->GetInstanceName(), u"qel_inst");
}

}  // namespace
