// The chat font: the font bar and its commands, the colour dialog, what is
// stored and sent, the recent fonts and stored fonts that cannot be used.
#include "InputToolsFixture.h"

#include "tools/PopupPlacement.h"

namespace {

constexpr uint32_t kRed = 0x0000FF;  // COLORREF: 0x00BBGGRR

TEST_F(InputToolsTest, FontBarChoicesChangeTheInputAreStoredAndStyleTheNextMessage) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::Click(FontButton(window));
    ASSERT_TRUE(Panel(window)->IsFontBarOpen());

    CComboBoxUI* faces = Combo(window, "fontset.fontface");
    ASSERT_NE(faces, nullptr);
    ASSERT_EQ(faces->GetCount(), 4);  // sorted, the duplicate gone
    EXPECT_EQ(faces->GetItemText(0), u"Arial");
    EXPECT_EQ(faces->GetItemText(3), u"Tavi Serif");
    EXPECT_EQ(faces->GetText(), u"Tavi Sans");  // the input's face

    ASSERT_TRUE(sim::ChooseComboItem(faces, u"Arial"));
    ASSERT_TRUE(sim::ChooseComboItem(Combo(window, "fontset.fontsize"), u"10"));
    for (const char* option : {"fontset.fontbold", "fontset.fontitalic", "fontset.fontunderline"}) {
        ASSERT_TRUE(sim::Click(Control(window, option)));
        EXPECT_TRUE(Control(window, option)->IsSelected()) << option;
    }
    sim::QueueColorAnswer({kRed, {}});
    ASSERT_TRUE(sim::Click(Control(window, "fontset.fontcolor")));
    EXPECT_TRUE(Input(window)->IsFocused());

    const tagTextFormat format = InputFormat(window);
    EXPECT_EQ(std::u16string(format.szFaceName), u"Arial");
    EXPECT_EQ(format.nSize, 10);
    EXPECT_EQ(format.dwEffects & 7u, 7u);
    EXPECT_EQ(format.crColor, kRed);
    for (const auto& [key, value] : {std::pair<const char*, const char*>{"FontName", "Arial"}, {"FontSize", "10"},
                                     {"Bold", "1"}, {"Italic", "1"}, {"Underline", "1"}, {"Color", "255"}})
        EXPECT_EQ(Saved(std::string("SystemInfo.ChatFont.") + key), value) << key;

    // A second click of an option takes the effect off again.
    ASSERT_TRUE(sim::Click(Control(window, "fontset.fontitalic")));
    EXPECT_FALSE(Control(window, "fontset.fontitalic")->IsSelected());
    EXPECT_EQ(Saved("SystemInfo.ChatFont.Italic"), "0");
    ASSERT_TRUE(sim::Click(Control(window, "fontset.fontitalic")));

    // What is sent next carries every effect.
    Type(window, u"hi");
    ASSERT_TRUE(ClickSend(window));
    sim::RunUntilIdle();
    ASSERT_EQ(Sends().size(), 1u);
    EXPECT_EQ(Sends()[0].contentType, "rich/xml");
    EXPECT_EQ(Sends()[0].content,
              "<div style=\"font-size:10pt; font-family:Arial; color:#ff0000;font-weight: bold; font-style: "
              "italic;text-decoration: underline;\"><span>hi</span></div>");
}

TEST_F(InputToolsTest, ColourDialogStartsAtTheInputColourAndKeepsItsCustomColours) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::Click(FontButton(window));
    sim::QueueColorAnswer({0x00FF00, {{3, 0x123456}}});
    ASSERT_TRUE(sim::Click(Control(window, "fontset.fontcolor")));
    sim::QueueColorCancel();
    const int saves = sim::PrefSaveCount();
    ASSERT_TRUE(sim::Click(Control(window, "fontset.fontcolor")));

    const auto& calls = sim::ColorDialogCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].owner, window);
    EXPECT_EQ(calls[0].initial, 0u);
    EXPECT_EQ(calls[0].flags, 0x13u);
    EXPECT_TRUE(calls[0].hooked);
    EXPECT_EQ(calls[0].custom, std::vector<uint32_t>(16, 0xFFFFFFu));
    EXPECT_EQ(calls[1].initial, 0x00FF00u);
    EXPECT_EQ(calls[1].custom[3], 0x123456u);
    EXPECT_EQ(calls[1].custom[4], 0xFFFFFFu);
    // Cancelling changes nothing but the focus.
    EXPECT_EQ(sim::PrefSaveCount(), saves);
    EXPECT_EQ(InputFormat(window).crColor, 0x00FF00u);
    EXPECT_TRUE(Input(window)->IsFocused());
}

TEST_F(InputToolsTest, TheBarMakesRoomAboveTheInputAndGivesItBack) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const auto coordinates = [&](const std::string& name) {
        int32_t l, t, r, b, a;
        Control(window, name)->GetCoordinate(l, t, r, b, a);
        return std::vector<int32_t>{l, t, r, b, a};
    };
    const int32_t popupAnchor = coordinates("history.popup")[4];
    sim::Click(FontButton(window));
    EXPECT_EQ(coordinates("history"), (std::vector<int32_t>{0, 0, 0, 30, 4}));
    EXPECT_EQ(coordinates("history.view"), (std::vector<int32_t>{0, 0, 0, 30, 8}));
    EXPECT_EQ(coordinates("input"), (std::vector<int32_t>{0, 30, 0, 1, 8}));
    EXPECT_EQ(coordinates("history.popup"), (std::vector<int32_t>{0, 30, 0, 0, popupAnchor}));
    EXPECT_NE(Control(window, "fontset.fontbold"), nullptr);

    sim::Click(FontButton(window));
    EXPECT_FALSE(Panel(window)->IsFontBarOpen());
    EXPECT_EQ(Control(window, "fontset.fontbold"), nullptr);
    EXPECT_EQ(coordinates("history"), (std::vector<int32_t>{0, 0, 0, 0, 4}));
    EXPECT_EQ(coordinates("history.view"), (std::vector<int32_t>{0, 0, 0, 0, 8}));
    EXPECT_EQ(coordinates("input"), (std::vector<int32_t>{0, 0, 0, 1, 8}));
    EXPECT_EQ(coordinates("history.popup"), (std::vector<int32_t>{0, 0, 0, 0, popupAnchor}));
}

TEST_F(InputToolsTest, TheBarShowsTheInputsFontAndSizesFrom8To22) {
    sim::SetPrefInt("SystemInfo.ChatFont.FontSize", 30);
    sim::SetPrefInt("SystemInfo.ChatFont.Bold", 1);
    sim::SetPrefInt("SystemInfo.ChatFont.Underline", 1);
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::Click(FontButton(window));
    CComboBoxUI* sizes = Combo(window, "fontset.fontsize");
    ASSERT_EQ(sizes->GetCount(), 15);
    EXPECT_EQ(sizes->GetItemText(0), u"8");
    EXPECT_EQ(sizes->GetItemText(14), u"22");
    EXPECT_EQ(sizes->GetCurSel(), -1);  // 30 is not listed
    EXPECT_TRUE(Control(window, "fontset.fontbold")->IsSelected());
    EXPECT_FALSE(Control(window, "fontset.fontitalic")->IsSelected());
    EXPECT_TRUE(Control(window, "fontset.fontunderline")->IsSelected());
    sim::Click(FontButton(window));

    sim::SetPrefInt("SystemInfo.ChatFont.FontSize", 10);
    HWND other = Open(sim::ChatKind::Group, "g1");
    sim::Click(FontButton(other));
    EXPECT_EQ(Combo(other, "fontset.fontsize")->GetText(), u"10");
    // The installed families are listed once per start of the module.
    EXPECT_EQ(sim::FontEnumerationCount(), 1);
}

TEST_F(InputToolsTest, RestingOnTheFontButtonOffersTheRecentFonts) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    CControlUI* button = FontButton(window);
    Hover(button, 199);
    EXPECT_FALSE(Shown(RecentFonts()));

    // Pressing within the delay opens the bar, and no popup follows.
    sim::SendEvent(button, UIEVENT_MOUSEENTER);
    sim::Advance(100);
    sim::Click(button);
    sim::Advance(500);
    EXPECT_TRUE(Panel(window)->IsFontBarOpen());
    EXPECT_FALSE(Shown(RecentFonts()));
    // While the bar is open, resting on the button offers nothing either.
    Hover(button, 300);
    EXPECT_FALSE(Shown(RecentFonts()));
    sim::Click(button);

    sim::SendEvent(button, UIEVENT_MOUSEENTER);
    sim::Advance(200);
    ASSERT_TRUE(Shown(RecentFonts()));
    EXPECT_EQ(RecentFonts()->GetFontCallBack(), static_cast<tavi::IFontCallBack*>(Panel(window)));
    EXPECT_GT(RecentFonts()->GetForegroundCount(), 0);
    // Resting on, it is offered once, not again after every delay.
    const int shows = RecentFonts()->GetForegroundCount();
    sim::Advance(1000);
    EXPECT_EQ(RecentFonts()->GetForegroundCount(), shows);
    // It opens beside the button, in screen coordinates.
    const RECT anchor = Panel(window)->GetWindow()->ClientToScreen(button->GetPos());
    const RECT at = RecentFonts()->GetWindowRect();
    EXPECT_EQ(at.left, std::max(0, anchor.left - 150));
    EXPECT_EQ(at.right - at.left, 300);
    // Pressing the button hides it and opens the bar.
    sim::Click(button);
    EXPECT_FALSE(Shown(RecentFonts()));
    EXPECT_TRUE(Panel(window)->IsFontBarOpen());
}

TEST_F(InputToolsTest, ThePopupFillsItsButtonsFromTheRightAndAppliesAChoice) {
    sim::SetPrefStr("SystemInfo.RecentFont.FontName0", u"Courier New");
    sim::SetPrefInt("SystemInfo.RecentFont.FontSize0", 9);
    sim::SetPrefStr("SystemInfo.RecentFont.FontName1", u"Arial");
    sim::SetPrefInt("SystemInfo.RecentFont.FontSize1", 15);
    sim::SetPrefInt("SystemInfo.RecentFont.Bold1", 1);
    sim::SetPrefInt("SystemInfo.RecentFont.Color1", int(kRed));
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::SendEvent(FontButton(window), UIEVENT_MOUSEENTER);
    sim::Advance(200);
    tavi::CRecentFontWnd* popup = RecentFonts();
    ASSERT_TRUE(Shown(popup));
    EXPECT_EQ(ButtonTexts(popup, u"font"), (std::vector<std::u16string>{u"-", u"-", u"Courier New", u"Arial"}));
    EXPECT_TRUE(sim::IsShown(popup->FindControl(u"tip")));
    EXPECT_TRUE(sim::IsShown(popup->FindControl(u"tip_bk")));
    CControlUI* newest = popup->FindControl(u"font4");
    EXPECT_EQ(newest->GetToolTip(), u"Arial");
    EXPECT_EQ(newest->GetAttribute(u"txt.textcolor"), u"#ff0000");
    EXPECT_EQ(newest->GetAttribute(u"txt.font"), u"Arial,20,0,0,1");  // 15 pt are 20 px

    // Shift keeps the popup open for another choice.
    sim::SetKeyDown(VK_LSHIFT, true);
    ASSERT_TRUE(sim::Click(newest));
    EXPECT_TRUE(Shown(popup));
    sim::SetKeyDown(VK_LSHIFT, false);
    EXPECT_EQ(InputFace(window), u"Arial");
    EXPECT_EQ(InputFormat(window).nSize, 15);
    EXPECT_EQ(InputFormat(window).dwEffects & 7u, 1u);
    EXPECT_EQ(InputFormat(window).crColor, kRed);
    EXPECT_EQ(Saved("SystemInfo.ChatFont.FontName"), "Arial");
    EXPECT_EQ(Saved("SystemInfo.ChatFont.Color"), "255");

    ASSERT_TRUE(sim::Click(popup->FindControl(u"font3")));
    EXPECT_FALSE(Shown(popup));
    EXPECT_EQ(InputFace(window), u"Courier New");
    // The chosen font is now the newest.
    EXPECT_EQ(RecentFaces(), (std::vector<std::string>{"Arial", "Courier New"}));
}

TEST_F(InputToolsTest, ClearingTheRecentFontsFromTheContextMenu) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    WriteWith(window, u"Arial", u"10");
    WriteWith(window, u"Courier New", u"11");
    sim::SendEvent(FontButton(window), UIEVENT_MOUSEENTER);
    sim::Advance(200);
    tavi::CRecentFontWnd* popup = RecentFonts();
    ASSERT_TRUE(Shown(popup));
    sim::SetCursorPos(40, 50);
    sim::SendWindowMessage(popup->GetHWND(), WM_RBUTTONUP);
    ASSERT_NE(sim::OpenMenu(), nullptr);
    EXPECT_EQ(sim::ShownMenus().back().menuId, 53200);
    EXPECT_EQ(sim::ShownMenus().back().x, 40);
    ASSERT_TRUE(sim::ClickMenuItem(53201));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Saved("SystemInfo.RecentFont.FontName" + std::to_string(i)), "");
    EXPECT_EQ(ButtonTexts(popup, u"font"), (std::vector<std::u16string>(4, u"-")));
    EXPECT_TRUE(sim::IsShown(popup->FindControl(u"tip")));

    // Losing the focus hides the popup; its own button does too.
    sim::SendWindowMessage(popup->GetHWND(), WM_KILLFOCUS);
    EXPECT_FALSE(Shown(popup));
}

TEST_F(InputToolsTest, StoredFontsThatCannotBeUsedFallBackToTheDefaults) {
    sim::SetPrefStr("SystemInfo.ChatFont.FontName", u"No Such Font");
    sim::SetPrefInt("SystemInfo.ChatFont.FontSize", 1000);
    sim::SetPrefInt("SystemInfo.ChatFont.Color", 0x1000000);
    HWND window = Open(sim::ChatKind::Person, "bob");
    EXPECT_EQ(InputFace(window), u"Tavi Sans");
    EXPECT_EQ(InputFormat(window).nSize, 12);
    EXPECT_EQ(InputFormat(window).crColor, 0u);
    EXPECT_TRUE(Logged("No Such Font"));
    EXPECT_TRUE(Logged("font size 1000"));
    EXPECT_TRUE(Logged("0x1000000"));
    // Plain text in the default font goes as plain text.
    Type(window, u"hi");
    ClickSend(window);
    sim::RunUntilIdle();
    ASSERT_EQ(Sends().size(), 1u);
    EXPECT_EQ(Sends()[0].contentType, "text/plain");

    sim::SetPrefInt("SystemInfo.ChatFont.FontSize", 0);
    sim::SetPrefStr("SystemInfo.ChatFont.FontName", u"");
    HWND group = Open(sim::ChatKind::Group, "g1");
    EXPECT_EQ(InputFormat(group).nSize, 12);
}

TEST_F(InputToolsTest, RecentFontListsThatHoldGarbageReadAsFarAsTheyMakeSense) {
    sim::SetPrefArray("SystemInfo.RecentFont.FontName0", {u"Arial", u"Arial"});
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::SendEvent(FontButton(window), UIEVENT_MOUSEENTER);
    sim::Advance(200);
    ASSERT_TRUE(Shown(RecentFonts()));
    EXPECT_EQ(ButtonTexts(RecentFonts(), u"font"), (std::vector<std::u16string>(4, u"-")));

    sim::SetPrefStr("SystemInfo.RecentFont.FontName0", u"Gone Font");
    sim::SetPrefStr("SystemInfo.RecentFont.FontSize0", u"big");
    sim::SetPrefInt("SystemInfo.RecentFont.Color0", -5);
    RecentFonts()->UpdateFont();
    EXPECT_EQ(ButtonTexts(RecentFonts(), u"font"), (std::vector<std::u16string>{u"-", u"-", u"-", u"Tavi Sans"}));
    EXPECT_TRUE(Logged("Gone Font"));
    ASSERT_TRUE(sim::Click(RecentFonts()->FindControl(u"font4")));
    EXPECT_EQ(InputFace(window), u"Tavi Sans");
    EXPECT_EQ(InputFormat(window).nSize, 12);
    EXPECT_EQ(InputFormat(window).crColor, 0u);
}

TEST(PopupPlacementTest, PopupsOpenBesideTheButtonOnItsMonitor) {
    sim::ResetAll();
    sim::SetMonitors({RECT{0, 0, 1920, 1080}, RECT{1920, 0, 3200, 1024}});
    // Lower half: above the button, its bottom at the button's top.
    RECT r = tavi::PlaceBesideAnchor(RECT{500, 900, 524, 924}, TSizeUI{300, 36});
    EXPECT_EQ(r.left, 350);
    EXPECT_EQ(r.bottom, 900);
    EXPECT_EQ(r.top, 864);
    EXPECT_EQ(r.right, 650);
    // Upper half: below the button; never left of the monitor.
    r = tavi::PlaceBesideAnchor(RECT{1950, 100, 1974, 124}, TSizeUI{300, 36});
    EXPECT_EQ(r.left, 1920);
    EXPECT_EQ(r.top, 124);
    EXPECT_EQ(r.bottom, 160);

    // In a mirrored engine the picker keeps 2 pixels inside the screen.
    RECT wide{1800, 0, 2100, 40};
    tavi::KeepInsideScreen(wide);
    EXPECT_EQ(wide.right, 2100);  // left alone otherwise
    sim::SetRTLLayout(true);
    tavi::KeepInsideScreen(wide);
    EXPECT_EQ(wide.right, 1918);  // it starts on the primary screen
    wide = RECT{3000, 0, 3300, 40};
    tavi::KeepInsideScreen(wide);
    EXPECT_EQ(wide.right, 3198);
    EXPECT_EQ(wide.left, 2898);
    sim::SetMonitors({RECT{0, 0, 1920, 1080}});
    wide = RECT{1800, 0, 2100, 40};
    tavi::KeepInsideScreen(wide);
    EXPECT_EQ(wide.right, 1918);
    sim::ResetAll();
}

}  // namespace
