// Whatever the user does to the input from elsewhere (a menu, a picker, a
// drop, a dialog) leaves the caret in the input, ready for typing on.
#include "SendFixture.h"

#include <functional>

namespace {

class InputFocusTest : public SendTest {
protected:
    // The user was last in the history view when the command came.
    static bool FocusedAfter(HWND window, const std::function<void()>& command) {
        View(window)->SetFocus();
        EXPECT_FALSE(Input(window)->IsFocused());
        command();
        sim::RunUntilIdle();
        return Input(window)->IsFocused();
    }

    static void RightClickInput(HWND window) {
        TPointUI point{2, 2};
        sim::NotifyAt(Input(window), UINOTIFY_RCLICK, point);
    }

    static void DropOnWindow(HWND window, const std::vector<std::u16string>& paths) {
        TEventUI event;
        event.Type = UIEVENT_DROPFILES;
        event.wParam = reinterpret_cast<uintptr_t>(sim::MakeDrop(paths));
        Component(window)->ProcHostDuiMsg(&event);
    }
};

TEST_F(InputFocusTest, CommandsThatChangeTheInputHandTheFocusBackToIt) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::u16string picture = WritePng("face.png", 6, 6);
    const struct {
        const char* command;
        std::function<void()> run;
        std::u16string textAfter;  // what the input holds afterwards
    } cases[] = {
        {"face from the picture library", [&] { Panel(window)->OnSelFace(picture.c_str()); },
         std::u16string(1, kObjectChar)},
        {"emoticon", [&] { Panel(window)->OnSelEmoticon(u"(^_^)", u"smile"); }, u"(^_^)"},
        {"dropped picture", [&] { DropOnWindow(window, {picture}); }, std::u16string(1, kObjectChar)},
        {"mention chosen", [&] { Panel(window)->AddAtName(u"Ann", false); }, u"@Ann "},
        {"menu: cut", [&] {
             Type(window, u"cut me");
             Input(window)->SetSelAll();
             RightClickInput(window);
             sim::ClickMenuItem(50001);
         },
         u""},
        {"menu: paste", [&] {
             sim::SetClipboard(u"pasted");
             RightClickInput(window);
             sim::ClickMenuItem(50003);
         },
         u"pasted"},
        {"menu: clear", [&] {
             Type(window, u"gone");
             RightClickInput(window);
             sim::ClickMenuItem(50006);
         },
         u""},
        {"send key chosen", [&] {
             sim::Click(sim::FindControl(Panel(window), "input.msg_button.sendmsgmenu"));
             sim::ClickMenuItem(40203);
         },
         u""},
    };
    for (const auto& c : cases) {
        Input(window)->Clear();
        EXPECT_TRUE(FocusedAfter(window, c.run)) << c.command;
        EXPECT_EQ(Input(window)->GetText(), c.textAfter) << c.command;
    }
}

}  // namespace
