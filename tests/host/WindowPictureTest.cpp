// The picture of a chat window: read back as XML, it shows what the window
// shows (bubbles on their sides, failed marks, notices, the input, menus).
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <set>
#include <string>
#include <vector>

#include "Svg.h"
#include "WindowPicture.h"
#include "component/ChatWindowFixture.h"
#include "sdk/ui/MenuUI.h"
#include "sdk/ui/RichEditExUI.h"
#include "sim/core/Text.h"

namespace {

std::string ClassOf(const TiXmlElement* e) {
    const char* value = e->Attribute("class");
    return value ? value : "";
}

// Every element under root whose class list holds the word.
void Collect(const TiXmlElement* root, const std::string& word, std::vector<const TiXmlElement*>& out) {
    for (const TiXmlElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement()) {
        if ((" " + ClassOf(e) + " ").find(" " + word + " ") != std::string::npos) out.push_back(e);
        Collect(e, word, out);
    }
}

// What the element's <text> lines say, joined.
std::string Shown(const TiXmlElement* root) {
    std::string out;
    for (const TiXmlElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement()) {
        if (std::string(e->Value()) == "text") out += e->GetText() ? e->GetText() : "";
        else if (std::string(e->Value()) != "title") out += Shown(e);
    }
    return out;
}

std::string TitleOf(const TiXmlElement* e) {
    const TiXmlElement* title = e->FirstChildElement("title");
    return title && title->GetText() ? title->GetText() : "";
}

class WindowPictureTest : public ChatWindowTest {
protected:
    // The texts read back are the English ones, whatever a test before set.
    void SetUp() override {
        ChatWindowTest::SetUp();
        sim::SetLanguage(sim::Language::English);
    }

    HWND OpenBob() {
        HWND window = Open(sim::ChatKind::Person, "bob");
        EXPECT_NE(window, nullptr);
        return window;
    }

    // Draws the window and reads it back; the document must parse.
    void Draw(HWND window) {
        m_svg = host::DrawWindowPicture(window);
        m_doc.Clear();
        m_doc.Parse(m_svg.c_str(), nullptr, TIXML_ENCODING_UTF8);
        ASSERT_FALSE(m_doc.Error()) << m_doc.ErrorDesc() << "\n" << m_svg;
        ASSERT_STREQ(m_doc.RootElement()->Value(), "svg");
    }

    std::vector<const TiXmlElement*> All(const std::string& word) {
        std::vector<const TiXmlElement*> out;
        if (m_doc.RootElement()) Collect(m_doc.RootElement(), word, out);
        return out;
    }

    static void Receive(HWND window, const std::string& text) {
        sim::DeliverIncomingMsg(sim::OpenConversation("bob"), text);
        Component(window)->GetAndShowMsg(0, 0);
        sim::RunUntilIdle();
    }

    std::string m_svg;
    TiXmlDocument m_doc;
};

TEST_F(WindowPictureTest, TextsOfTheWorldAreEscapedAndStayValid) {
    HWND window = OpenBob();
    Receive(window, "<b>&amp;</b> \"q\" 'a' \x01 end");
    std::u16string broken = u"x";
    broken += char16_t(0xD800);
    broken += u"<y>";
    Component(window)->GetInputRichEdit()->SetText(broken);
    Draw(window);

    const auto others = All("other");
    ASSERT_EQ(others.size(), 1u);
    EXPECT_EQ(TitleOf(others[0]), "<b>&amp;</b> \"q\" 'a' \xEF\xBF\xBD end");
    EXPECT_EQ(TitleOf(All("input")[0]), "x\xEF\xBF\xBD<y>");

    EXPECT_EQ(host::XmlText(u"a<&>\"'\t\u0007"), "a&lt;&amp;&gt;&quot;&apos;\t\xEF\xBF\xBD");
    EXPECT_EQ(host::XmlText(u"\U0001F600\uFFFE"), "\xF0\x9F\x98\x80\xEF\xBF\xBD");
    EXPECT_EQ(host::XmlText(u"\U000E0041\U0010FFFD"), "\xF3\xA0\x81\x81\xF4\x8F\xBF\xBD");
    std::u16string lowAlone(1, char16_t(0xDC00));
    EXPECT_EQ(host::XmlText(lowAlone + u"\u00E9"), "\xEF\xBF\xBD\xC3\xA9");
}

TEST_F(WindowPictureTest, LongMessageShowsItsFirstLinesAndItsLength) {
    HWND window = OpenBob();
    std::string words;
    while (words.size() < 900) words += "word" + std::to_string(words.size()) + " ";
    words.pop_back();
    Receive(window, words);
    Draw(window);

    const auto others = All("other");
    ASSERT_EQ(others.size(), 1u);
    EXPECT_EQ(TitleOf(others[0]), words);
    const std::string shown = Shown(others[0]);
    EXPECT_LT(shown.size(), words.size());
    EXPECT_NE(shown.find("Bob"), std::string::npos) << shown;
    EXPECT_NE(shown.find("word0 word"), std::string::npos) << shown;
    EXPECT_NE(shown.find("(" + std::to_string(words.size()) + " characters)"), std::string::npos) << shown;
    // Lines wrap at spaces inside the bubble: no line is wider than the view.
    int lines = 0;
    for (const TiXmlElement* e = others[0]->FirstChildElement("text"); e; e = e->NextSiblingElement("text")) {
        const std::string line = e->GetText() ? e->GetText() : "";
        if (line.rfind("word", 0) != 0) continue;
        ++lines;
        EXPECT_LT(line.size(), 70u) << line;
    }
    EXPECT_GT(lines, 3);
}

TEST_F(WindowPictureTest, ViewShowsTheEndOrWhereItIsScrolledTo) {
    // Messages of three lines each: more than the view holds.
    qel_handle conversation = sim::OpenConversation("bob");
    for (int k = 1; k <= 12; ++k) {
        sim::StoredMsg msg;
        msg.content = "m" + std::to_string(k) + "\nsecond line\nthird line";
        sim::AddStoredMsg(conversation, msg);
    }
    HWND window = OpenBob();
    CRichEditExUI* view = Panel(window)->GetHistoryView();
    ASSERT_TRUE(view->IsVScrollBarVisible());
    // The first word of each shown bubble.
    const auto shownBubbles = [this] {
        std::vector<std::string> shown;
        for (const TiXmlElement* bubble : All("other")) {
            const std::string title = TitleOf(bubble);
            shown.push_back(title.substr(0, title.find(' ')));
        }
        return shown;
    };
    std::string oldest;
    for (const sim::ViewItem& item : sim::ViewItems(view)) {
        if (item.kind == "msg" && oldest.empty()) oldest = sim::ToUtf8(item.text.substr(5, item.text.find(u'\n') - 5));
    }
    ASSERT_NE(oldest, "m12");

    view->EndDown();
    Draw(window);
    std::vector<std::string> shown = shownBubbles();
    ASSERT_FALSE(shown.empty());
    // Scrolled to the end: the newest show at the bottom, the oldest loaded do not.
    EXPECT_EQ(shown.back(), "m12");
    EXPECT_EQ(std::find(shown.begin(), shown.end(), oldest), shown.end()) << oldest;

    view->HomeUp();
    Draw(window);
    shown = shownBubbles();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), oldest);
    EXPECT_EQ(std::find(shown.begin(), shown.end(), "m12"), shown.end());

    // Scrolled to the middle: the picture starts at the first message in view.
    view->SetScrollPos(view->GetScrollRange() / 2);
    int64_t first = 0, last = 0;
    ASSERT_TRUE(view->GetVisibleMsg(first, last));
    CHARRANGE range;
    ASSERT_TRUE(view->GetMsgRange(first, range));
    const std::u16string firstText = view->GetTextRange(range.cpMin, range.cpMax);
    Draw(window);
    shown = shownBubbles();
    ASSERT_FALSE(shown.empty());
    ASSERT_NE(firstText.find(u": m"), std::u16string::npos);
    EXPECT_EQ(shown.front(), sim::ToUtf8(firstText.substr(5, firstText.find(u'\n') - 5)));
    EXPECT_NE(shown.front(), oldest);
}

TEST_F(WindowPictureTest, OpenMenuIsDrawnOnTopWithItsItems) {
    HWND window = OpenBob();
    Draw(window);
    EXPECT_TRUE(All("menu").empty());
    sim::NotifyAt(Component(window)->GetInputRichEdit(), UINOTIFY_RCLICK, TPointUI{20, 400});
    sim::RunUntilIdle();
    ASSERT_NE(sim::OpenMenu(), nullptr);
    Draw(window);

    const auto menus = All("menu");
    ASSERT_EQ(menus.size(), 1u);
    // Drawn after everything of the window, so nothing covers it.
    EXPECT_GT(m_svg.find("class=\"menu\""), m_svg.find("class=\"input\""));
    std::string items;
    for (const SMenuItem& item : sim::OpenMenu()->GetItems()) items += sim::ToUtf8(item.text);
    EXPECT_EQ(Shown(menus[0]), items);
    // A disabled item is greyed; an enabled one is not.
    for (const TiXmlElement* e = menus[0]->FirstChildElement("text"); e; e = e->NextSiblingElement("text")) {
        const std::string text = e->GetText() ? e->GetText() : "";
        for (const SMenuItem& item : sim::OpenMenu()->GetItems()) {
            if (sim::ToUtf8(item.text) == text) {
                EXPECT_EQ(std::string(e->Attribute("fill")) == "#bbbfc4", !item.enabled) << text;
            }
        }
    }
}

TEST_F(WindowPictureTest, PopupsShowOverTheWindowWithTheirContent) {
    HWND window = Open(sim::ChatKind::Group, "g1");
    sim::TypeText(Component(window)->GetInputRichEdit(), u"@");
    sim::RunUntilIdle();
    Draw(window);
    const auto popups = All("popup");
    ASSERT_EQ(popups.size(), 1u) << m_svg;
    EXPECT_STREQ(popups[0]->Attribute("data-name"), "listbox");
    // The member list's rows, the first one selected.
    std::vector<const TiXmlElement*> selected;
    Collect(popups[0], "selected", selected);
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_NE(Shown(popups[0]).find("bob"), std::string::npos) << Shown(popups[0]);

    // The emoticon picker's grid: every entry in a cell of its own.
    sim::TypeText(Component(window)->GetInputRichEdit(), u" ");
    sim::Click(sim::FindControl(Panel(window), "input.left.emoticon"));
    sim::RunUntilIdle();
    Draw(window);
    const TiXmlElement* picker = nullptr;
    for (const TiXmlElement* popup : All("popup")) {
        if (std::string(popup->Attribute("data-name")) == "emoticon_wnd") picker = popup;
    }
    ASSERT_NE(picker, nullptr) << m_svg;
    std::set<std::string> cells;
    int entries = 0;
    for (const TiXmlElement* g = picker->FirstChildElement("g"); g; g = g->NextSiblingElement("g")) {
        for (const TiXmlElement* cell = g->FirstChildElement("g"); cell; cell = cell->NextSiblingElement("g")) {
            ++entries;
            cells.insert(cell->Attribute("transform"));
        }
    }
    EXPECT_GT(entries, 3);
    EXPECT_EQ(cells.size(), size_t(entries));
}

TEST_F(WindowPictureTest, NoWindowGivesAPictureThatSaysSo) {
    Draw(nullptr);
    EXPECT_NE(Shown(m_doc.RootElement()).find("No chat window"), std::string::npos);
    EXPECT_FALSE(host::WriteWindowPicture(nullptr, "/no/such/folder/window.svg"));
}

}  // namespace
