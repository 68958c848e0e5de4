// Where the chat window puts what the user sees: the send buttons, the
// shake plug-in's button and the birthday reminder's text.
#include "ChatWindowFixture.h"

#include "sdk/ui/ContainerUI.h"
#include "tools/ShakeMsgWidgetPanel.h"

namespace {

class WindowLayoutTest : public ChatWindowTest {
protected:
    static RECT Rect(HWND window, const char* name) {
        return sim::ControlRect(sim::FindControl(sim::FindChatWindow(window), name));
    }
    static RECT ShakeRect(HWND window) {
        auto* head = dynamic_cast<CContainerUI*>(
            sim::FindControl(sim::FindChatWindow(window), "top_con.chat_tool_head_ctn"));
        for (int i = 0; head && i < head->GetCount(); ++i) {
            if (auto* panel = dynamic_cast<tavi::CShakeMsgWidgetPanel*>(head->GetItemAt(i)))
                return sim::ControlRect(panel);
        }
        return RECT{};
    }
};

TEST_F(WindowLayoutTest, SendButtonsStandSideBySideAtTheBottomRight) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const RECT send = Rect(window, "input.msg_button.sendmsg");
    const RECT menu = Rect(window, "input.msg_button.sendmsgmenu");
    const RECT bar = Rect(window, "input.msg_button");
    EXPECT_EQ(send.right - send.left, 61);
    EXPECT_EQ(send.bottom - send.top, 24);
    EXPECT_EQ(menu.left - send.right, 0);
    EXPECT_EQ(menu.right, bar.right - 11);
    EXPECT_EQ(send.bottom, bar.bottom - 5);
    EXPECT_LT(send.right, menu.right);
}

TEST_F(WindowLayoutTest, ShakeButtonTakesTheToolBarSlotNotTheHistory) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const RECT shake = ShakeRect(window);
    const RECT input = Rect(window, "input");
    const RECT slot = Rect(window, "input.right");
    EXPECT_EQ(shake.right - shake.left, 24);
    EXPECT_EQ(shake.left, slot.left);
    EXPECT_EQ(shake.top, slot.top);
    EXPECT_GE(shake.top, input.top);
    EXPECT_LE(shake.bottom, Rect(window, "input.chatrichedit").top);
}

TEST_F(WindowLayoutTest, BirthdayReminderSaysWhatItIsFor) {
    sim::SetBirthdayInDays("bob", 2);
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::u16string text = sim::FindControl(Panel(window), "birRemind")->GetText();
    const std::u16string shown = sim::LocalisedText(text);
    EXPECT_FALSE(shown.empty());
    EXPECT_NE(shown, text);  // a text of the language, not a bare key
}

}  // namespace
