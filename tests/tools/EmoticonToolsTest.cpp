// The emoticon picker with its definition file, a choice going into the
// input, and the recent emoticons.
#include <filesystem>
#include <fstream>

#include "InputToolsFixture.h"

namespace {

class EmoticonTest : public InputToolsTest {
protected:
    tavi::CEmoticonBrowserImpl* Browser() {
        return static_cast<tavi::CEmoticonBrowserImpl*>(tavi::GetDllObject()->m_pEmoticonBrowser);
    }
    tavi::CEmoticonWnd* Picker() { return Browser()->GetWindow(); }
    std::vector<CControlUI*> PickerButtons() {
        auto* client = dynamic_cast<CContainerUI*>(Picker()->FindControl(u"client"));
        return client ? client->GetItems() : std::vector<CControlUI*>{};
    }
    // A definition file in a folder of its own; answers the folder.
    std::u16string WriteDefinition(const std::string& folder, const std::string& content) {
        const std::filesystem::path dir = m_dir / folder;
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "emoticon.xml", std::ios::binary) << content;
        return sim::ToWide(dir.string() + "/");
    }
    std::u16string EmptyFolder(const std::string& folder) {
        std::filesystem::create_directories(m_dir / folder);
        return sim::ToWide((m_dir / folder).string() + "/");
    }
};

TEST_F(EmoticonTest, ThePickerOffersTheDefinitionFileInOrder) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    EXPECT_FALSE(Browser()->IsOnShow());
    sim::Click(EmoticonButton(window));
    ASSERT_TRUE(Browser()->IsOnShow());
    const auto buttons = PickerButtons();
    ASSERT_EQ(buttons.size(), 12u);
    EXPECT_EQ(buttons[0]->GetToolTip(), u"#EMOTICON_SMILE");
    EXPECT_EQ(buttons[0]->GetWidth(), 112);
    EXPECT_EQ(buttons[0]->GetHeight(), 25);
    EXPECT_EQ(buttons[0]->GetAttribute(u"style"), u"FaceIconButton");
    EXPECT_FALSE(Picker()->IsMovable());
    // Beside the button, in screen coordinates, at the layout's size.
    const RECT anchor = Panel(window)->GetWindow()->ClientToScreen(EmoticonButton(window)->GetPos());
    const RECT at = Picker()->GetWindowRect();
    EXPECT_EQ(at.left, std::max(0, anchor.left - 180));
    EXPECT_EQ(at.right - at.left, 360);
    EXPECT_EQ(at.bottom - at.top, 160);
    EXPECT_GT(Picker()->GetForegroundCount(), 0);
    // One picker for every window of the process.
    HWND group = Open(sim::ChatKind::Group, "g1");
    tavi::CEmoticonWnd* first = Picker();
    sim::Click(EmoticonButton(group));
    EXPECT_EQ(Picker(), first);
    EXPECT_EQ(Picker()->GetEmoticonCallBack(), static_cast<tavi::IEmoticonCallBack*>(Panel(group)));
}

TEST_F(EmoticonTest, AChosenEmoticonGoesInAtTheCaretAndBecomesTheNewestRecentOne) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    Type(window, u"ab");
    Input(window)->SetSel(1, 1);
    sim::Click(EmoticonButton(window));
    ASSERT_TRUE(sim::Click(PickerButtons()[0]));
    EXPECT_EQ(Input(window)->GetText(), u"a(^_^)b");
    EXPECT_TRUE(Input(window)->IsFocused());
    EXPECT_FALSE(Browser()->IsOnShow());
    EXPECT_EQ(Saved("SystemInfo.RecentEmoticon.Name0"), "(^_^)");
    EXPECT_EQ(Saved("SystemInfo.RecentEmoticon.Discript0"), "#EMOTICON_SMILE");

    // What is sent is the text.
    ClickSend(window);
    sim::RunUntilIdle();
    ASSERT_EQ(Sends().size(), 1u);
    EXPECT_EQ(Sends()[0].content, "a(^_^)b");
}

TEST_F(EmoticonTest, APickerThatLostTheFocusReportsNothing) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::Click(EmoticonButton(window));
    sim::SendWindowMessage(Picker()->GetHWND(), WM_KILLFOCUS);
    EXPECT_FALSE(Browser()->IsOnShow());
    Browser()->Show(RECT{10, 10, 30, 30}, nullptr, nullptr);
    ASSERT_TRUE(sim::Click(PickerButtons()[0]));
    EXPECT_FALSE(Browser()->IsOnShow());
    EXPECT_EQ(Input(window)->GetText(), u"");
}

TEST_F(EmoticonTest, TheClientsFolderComesFirstThenTheModules) {
    sim::SetConfMiscPath(EmptyFolder("misc"));
    sim::SetModuleConfPath(WriteDefinition(
        "module", "<list><a name=\"one\" descript=\"first\"/><b name=\"two\"/><c descript=\"x\"/></list>"));
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::Click(EmoticonButton(window));
    const auto buttons = PickerButtons();
    ASSERT_EQ(buttons.size(), 3u);  // element names are not checked
    EXPECT_EQ(buttons[0]->GetText(), u"one");
    EXPECT_EQ(buttons[1]->GetToolTip(), u"");
    EXPECT_EQ(buttons[2]->GetText(), u"");
    EXPECT_TRUE(Logged("CAppBoxMiniPanel::Load path:"));
}

TEST_F(EmoticonTest, AMiscFolderFileWins) {
    sim::SetConfMiscPath(WriteDefinition("misc", "<e><i name=\"misc\"/></e>"));
    sim::SetModuleConfPath(WriteDefinition("module", "<e><i name=\"module\"/></e>"));
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::Click(EmoticonButton(window));
    ASSERT_EQ(PickerButtons().size(), 1u);
    EXPECT_EQ(PickerButtons()[0]->GetText(), u"misc");
}

TEST_F(EmoticonTest, DefinitionFilesThatCannotBeReadGiveAnEmptyPicker) {
    std::string deep;
    for (int i = 0; i < 10000; ++i) deep += "<e>";
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"empty", ""},
        {"truncated", "<e><i name=\"\xF0\x9F"},
        {"deep", deep},
        {"noroot", "just text"},
    };
    HWND window = Open(sim::ChatKind::Person, "bob");
    for (const auto& [name, content] : bad) {
        tavi::CEmoticonWnd picker;
        picker.Load(WriteDefinition(name, content) + u"emoticon.xml");
        EXPECT_TRUE(picker.GetEmoticons().empty()) << name;
    }
    tavi::CEmoticonWnd missing;
    missing.Load(EmptyFolder("missing") + u"emoticon.xml");
    EXPECT_TRUE(missing.GetEmoticons().empty());
    EXPECT_TRUE(Logged("not a readable emoticon list"));
    // An empty path is no file at all: nothing happens.
    missing.Load(u"");
    EXPECT_NE(missing.GetFilePath(), u"");

    sim::SetModuleConfPath(EmptyFolder("nothing"));
    sim::Click(EmoticonButton(window));
    EXPECT_TRUE(Browser()->IsOnShow());
    EXPECT_TRUE(PickerButtons().empty());
}

TEST_F(EmoticonTest, RecentEmoticonsKeepTheLastFourDistinctTexts) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CTaviPanel* panel = Panel(window);
    panel->OnSelEmoticon(u":)", u"first");
    panel->OnSelEmoticon(u":)", u"again");
    EXPECT_EQ(Saved("SystemInfo.RecentEmoticon.Discript0"), "again");
    EXPECT_EQ(Saved("SystemInfo.RecentEmoticon.Name1"), "<none>");

    // One stored: only the fourth button, and the hint.
    sim::SendEvent(EmoticonButton(window), UIEVENT_MOUSEENTER);
    sim::Advance(200);
    tavi::CRecentEmoticonWnd* popup = RecentEmoticons();
    ASSERT_TRUE(Shown(popup));
    EXPECT_EQ(ButtonTexts(popup, u"emoticon"), (std::vector<std::u16string>{u"-", u"-", u"-", u":)"}));
    EXPECT_EQ(popup->FindControl(u"emoticon4")->GetToolTip(), u"again");
    EXPECT_TRUE(sim::IsShown(popup->FindControl(u"tip")));

    for (const char16_t* text : {u"a", u"b", u"c", u"d"}) panel->OnSelEmoticon(text, u"");
    EXPECT_EQ(ButtonTexts(popup, u"emoticon"), (std::vector<std::u16string>{u"a", u"b", u"c", u"d"}));
    EXPECT_FALSE(sim::IsShown(popup->FindControl(u"tip")));

    // Choosing from the popup inserts it again and makes it the newest.
    Input(window)->SetText(u"");
    ASSERT_TRUE(sim::Click(popup->FindControl(u"emoticon2")));
    EXPECT_FALSE(Shown(popup));
    EXPECT_EQ(Input(window)->GetText(), u"b");
    EXPECT_EQ(Saved("SystemInfo.RecentEmoticon.Name3"), "b");
    EXPECT_EQ(Saved("SystemInfo.RecentEmoticon.Name0"), "a");

    // Clearing stores both keys of all four entries empty.
    sim::SendWindowMessage(popup->GetHWND(), WM_RBUTTONUP);
    EXPECT_EQ(sim::ShownMenus().back().menuId, 53300);
    ASSERT_TRUE(sim::ClickMenuItem(53301));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Saved("SystemInfo.RecentEmoticon.Name" + std::to_string(i)), "");
        EXPECT_EQ(Saved("SystemInfo.RecentEmoticon.Discript" + std::to_string(i)), "");
    }
}

TEST_F(EmoticonTest, TheRecentPopupWaitsForTheFontBarAndServesTheLastPanel) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    Panel(window)->OnSelEmoticon(u":)", u"");
    Input(window)->SetText(u"");
    sim::Click(FontButton(window));  // the bar fills the popup container
    Hover(EmoticonButton(window), 300);
    EXPECT_FALSE(Shown(RecentEmoticons()));
    sim::Click(FontButton(window));
    Hover(EmoticonButton(window), 150);
    EXPECT_FALSE(Shown(RecentEmoticons()));

    HWND group = Open(sim::ChatKind::Group, "g1");
    Panel(group)->GetWindow()->MoveWindow(500, 300, 640, 480);
    sim::SendEvent(EmoticonButton(group), UIEVENT_MOUSEENTER);
    sim::Advance(200);
    ASSERT_TRUE(Shown(RecentEmoticons()));
    // It opens centred on the button's left edge, in screen coordinates.
    const RECT anchor = Panel(group)->GetWindow()->ClientToScreen(EmoticonButton(group)->GetPos());
    const RECT at = RecentEmoticons()->GetWindowRect();
    EXPECT_GT(at.right - at.left, 0);
    EXPECT_EQ(at.left, anchor.left - (at.right - at.left) / 2);
    ASSERT_TRUE(sim::Click(RecentEmoticons()->FindControl(u"emoticon4")));
    EXPECT_EQ(Input(group)->GetText(), u":)");
    EXPECT_EQ(Input(window)->GetText(), u"");
    // Pressing the emoticon button hides the recent popup and opens the picker.
    sim::SendEvent(EmoticonButton(group), UIEVENT_MOUSEENTER);
    sim::Advance(200);
    sim::Click(EmoticonButton(group));
    EXPECT_FALSE(Shown(RecentEmoticons()));
    EXPECT_TRUE(Browser()->IsOnShow());
}

TEST_F(EmoticonTest, AdhocWindowsHaveNoFontOrEmoticonButton) {
    HWND adhoc = Open(sim::ChatKind::Adhoc, "bob");
    EXPECT_FALSE(sim::IsShown(EmoticonButton(adhoc)));
    EXPECT_FALSE(sim::IsShown(FontButton(adhoc)));
}

}  // namespace

namespace {

// A popup left open by a window that closes must not call the gone panel.
TEST_F(EmoticonTest, PopupsForgetAPanelThatCloses) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    Panel(window)->OnSelEmoticon(u":)", u"");
    sim::Click(FontButton(window));
    sim::Click(FontButton(window));
    for (CControlUI* button : {FontButton(window), EmoticonButton(window)}) {
        sim::SendEvent(button, UIEVENT_MOUSEENTER);
        sim::Advance(200);
    }
    sim::Click(EmoticonButton(window));
    ASSERT_TRUE(Shown(RecentFonts()));
    ASSERT_TRUE(Browser()->IsOnShow());
    sim::CloseChatWindow(window);
    sim::RunUntilIdle();
    EXPECT_FALSE(Shown(RecentFonts()));
    EXPECT_FALSE(Browser()->IsOnShow());
    EXPECT_EQ(RecentFonts()->GetFontCallBack(), nullptr);
    EXPECT_EQ(RecentEmoticons()->GetEmoticonCallBack(), nullptr);
    EXPECT_EQ(Picker()->GetEmoticonCallBack(), nullptr);
    // Choosing in them now does nothing.
    RecentFonts()->OnSelectFont(3);
    RecentEmoticons()->OnSelectEmoticon(3);
}

}  // namespace
