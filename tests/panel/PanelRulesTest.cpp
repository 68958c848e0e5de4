// Small rules of the panel that a user notices only in one situation: a
// single font change that must outlive the window, and a reminder bar
// whose sender is unknown.
#include <algorithm>

#include "../tools/InputToolsFixture.h"
#include "sim/host/HostDriver.h"

namespace {

class PanelRulesTest : public InputToolsTest {};

TEST_F(PanelRulesTest, ChoosingOnlyAFaceIsStoredForTheNextWindow) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::Click(FontButton(window));
    const int savesBefore = sim::PrefSaveCount();
    ASSERT_TRUE(sim::ChooseComboItem(Combo(window, "fontset.fontface"), u"Arial"));
    EXPECT_GT(sim::PrefSaveCount(), savesBefore);
    EXPECT_EQ(Saved("SystemInfo.ChatFont.FontName"), "Arial");

    sim::CloseChatWindow(window);
    sim::RunUntilIdle();
    window = Open(sim::ChatKind::Person, "bob");
    EXPECT_EQ(InputFace(window), u"Arial");
}

TEST_F(PanelRulesTest, ReminderFaceOpensAChatOnlyWhenItsSenderIsKnown) {
    HWND window = Open(sim::ChatKind::Group, "g1");
    CControlUI* face = Control(window, "AtInfoFace");
    ASSERT_NE(face, nullptr);
    const auto opened = [] {
        const auto& calls = sim::ChatWndMgrCalls();
        return std::count_if(calls.begin(), calls.end(),
                             [](const std::string& call) { return call.starts_with("open:"); });
    };

    Panel(window)->ShowAtInfoOnTop(u"mentioned you", u"");
    sim::Click(face);
    EXPECT_EQ(opened(), 0);

    Panel(window)->ShowAtInfoOnTop(u"mentioned you", u"carol");
    sim::Click(face);
    ASSERT_EQ(opened(), 1);
    EXPECT_EQ(sim::ChatWndMgrCalls().back(), "open:person:carol");
}

}  // namespace
