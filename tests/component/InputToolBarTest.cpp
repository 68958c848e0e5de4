// The input's tool bar seen from outside the panel: where the host's own
// pickers open, and what the host learns while the user types.
#include "SendFixture.h"

#include "sim/host/PicturesDriver.h"

namespace {

class InputToolBarTest : public SendTest {};

TEST_F(InputToolBarTest, ThePictureLibraryOpensOverItsButtonOnTheScreen) {
    sim::SetFaceBrowser(true);
    for (sim::ChatKind kind : {sim::ChatKind::Person, sim::ChatKind::Adhoc}) {
        HWND window = Open(kind, "bob");
        CWindowUI* frame = Panel(window)->GetWindow();
        frame->MoveWindow(300, 200, 640, 480);
        CControlUI* button = sim::FindControl(Panel(window), "input.left.syspic");
        ASSERT_NE(button, nullptr);
        sim::SendEvent(button, UIEVENT_BUTTONDOWN);
        const RECT at = sim::FaceBrowserRect();
        const RECT expected = frame->ClientToScreen(button->GetPos());
        EXPECT_EQ(at.left, expected.left);
        EXPECT_EQ(at.top, expected.top);
        EXPECT_EQ(at.right, expected.right);
        EXPECT_EQ(at.bottom, expected.bottom);
        EXPECT_GE(at.left, 300);  // on the screen, not in the window
    }
}

TEST_F(InputToolBarTest, TheHostLearnsWhetherTheInputHoldsAnythingAsTheUserTypes) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const auto lastState = [&] {
        intptr_t state = -1;
        for (const sim::HostEvent& e : sim::HostEvents()) {
            if (e.kind == "event" && e.code == 0) state = e.a;
        }
        return state;
    };
    sim::TypeText(Input(window), u"a");
    EXPECT_EQ(lastState(), 1);
    sim::SendKey(Input(window), u'\b');
    EXPECT_EQ(lastState(), 0);
    sim::TypeText(Input(window), u"xy");
    EXPECT_EQ(lastState(), 1);
}

}  // namespace
