// The input rich edit parsed into message nodes and upload items.
#include "SendFixture.h"

#include "msghandle/EmojiMsgHandle.h"
#include "util/MD5.h"

namespace {

using namespace tavi;

class ParseInputTest : public SendTest {
protected:
    void SetUp() override {
        SendTest::SetUp();
        m_window = Open(sim::ChatKind::Person, "bob");
    }

    void Insert(int type, const std::u16string& key, const std::u16string& path = u"") {
        auto* object = path.empty() ? new COleImageObj() : COleImageObj::LoadImage(path, true);
        if (!object) object = new COleImageObj();
        object->SetImageType(type);
        object->SetKey(key);
        if (!path.empty()) object->SetFilePath(path);
        Input(m_window)->InsertObject(object);
    }

    // Parses as the send path does, after the emoji restore.
    void Parse() {
        CStdPtrArray objects;
        Input(m_window)->GetImageObj(objects);
        std::vector<int32_t> positions;
        const std::u16string text = CEmojiMsgHandle::RestoreEmojiText(Input(m_window)->GetText(), objects, positions);
        Handler(m_window)->ParseText2MsgList(m_nodes, m_uploads, text, 0, positions, Input(m_window));
    }

    // Each node's type and value, in order.
    using Nodes = std::vector<std::pair<int32_t, std::u16string>>;
    Nodes Shape() const {
        Nodes shape;
        for (const auto& node : m_nodes) shape.emplace_back(node->m_nType, node->m_strValue);
        return shape;
    }

    HWND m_window = nullptr;
    MsgNodeList m_nodes;
    std::vector<SUploadItem> m_uploads;
};

TEST_F(ParseInputTest, TextPictureTextBecomesThreeNodesAndOneUpload) {
    const std::u16string path = WritePng("p.png", 40, 30);
    Type(m_window, u"ab");
    Insert(0, u"", path);
    Type(m_window, u"cd");
    Parse();
    const std::u16string cache = sim::ToWide(util::MD5Encode(path)) + u".png";
    EXPECT_EQ(Shape(), (Nodes{{2, u"ab"}, {4, cache}, {2, u"cd"}}));
    const auto* image = dynamic_cast<const SImageMsgMode*>(m_nodes[1].get());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->m_strFileKey, path);
    EXPECT_EQ(image->m_nWidth, 40);
    EXPECT_EQ(image->m_nHeight, 30);
    EXPECT_EQ(image->m_strMime, u"png");
    ASSERT_EQ(m_uploads.size(), 1u);
    EXPECT_EQ(m_uploads[0], (SUploadItem{sim::ToUtf8(cache), sim::ToUtf8(path), ""}));
}

TEST_F(ParseInputTest, AdjacentPicturesAndLeadingSmileyMakeNoEmptyText) {
    Insert(1, u"smile");
    Insert(0, u"", WritePng("a.png", 1, 1, 'a'));
    Insert(0, u"", WritePng("b.png", 1, 1, 'b'));
    Type(m_window, u"x");
    Parse();
    ASSERT_EQ(m_nodes.size(), 4u);
    EXPECT_EQ(Shape()[0], (std::pair<int32_t, std::u16string>{3, u"smile"}));
    EXPECT_EQ(m_nodes[1]->m_nType, 4);
    EXPECT_EQ(m_nodes[2]->m_nType, 4);
    EXPECT_EQ(Shape()[3], (std::pair<int32_t, std::u16string>{2, u"x"}));
    EXPECT_EQ(m_uploads.size(), 2u);
}

TEST_F(ParseInputTest, TypeTwoObjectAndMissingFileVanish) {
    Type(m_window, u"a");
    Insert(2, u"");
    Type(m_window, u"b");
    Insert(0, u"", u"/nonexistent/picture.png");
    Type(m_window, u"c");
    // Positions of every object, as a caller without the emoji restore gives them.
    std::vector<int32_t> positions{1, 3};
    Handler(m_window)->ParseText2MsgList(m_nodes, m_uploads, Input(m_window)->GetText(), 0, positions,
                                         Input(m_window));
    EXPECT_EQ(Shape(), (Nodes{{2, u"a"}, {2, u"b"}, {2, u"c"}}));
    EXPECT_TRUE(m_uploads.empty());
}

TEST_F(ParseInputTest, EmojiBecomesTextOfTheRun) {
    Type(m_window, u"a");
    Insert(2, u"1f600");
    Type(m_window, u"b");
    Parse();
    EXPECT_EQ(Shape(), (Nodes{{2, u"a\U0001F600b"}}));
}

TEST_F(ParseInputTest, WindowsOfTheParseKeepASurrogatePairTogether) {
    // The pair sits across the border of the first two windows.
    const std::u16string text = std::u16string(1023, u'a') + u"\U0001F600" + std::u16string(5, u'b');
    Type(m_window, text);
    std::u16string joined;
    int pictureIndex = 0;
    for (int window = 0; window < 3; ++window) {
        MsgNodeList nodes;
        Handler(m_window)->ParseRichEditMsg(nodes, m_uploads, text, window, 0, {}, Input(m_window), pictureIndex);
        std::u16string part;
        for (const auto& node : nodes) part += node->m_strValue;
        if (window == 0) {
            EXPECT_EQ(part, std::u16string(1023, u'a'));
        }
        joined += part;
    }
    EXPECT_EQ(joined, text);
}

TEST_F(ParseInputTest, CustomSmileyUsesItsRecordOnlyWhenItHasTwoLines) {
    const std::u16string path = WritePng("s.png", 8, 8);
    sim::AddCustomSmiley("good", "key-1\ndigest-1");
    sim::AddCustomSmiley("bad", "key-2\ndigest-2\nextra");
    Insert(3, u"good", path);
    Insert(3, u"bad", path);
    Parse();
    ASSERT_EQ(m_nodes.size(), 2u);
    const auto* uploaded = dynamic_cast<const SImageMsgMode*>(m_nodes[0].get());
    const auto* again = dynamic_cast<const SImageMsgMode*>(m_nodes[1].get());
    ASSERT_TRUE(uploaded && again);
    EXPECT_TRUE(uploaded->m_strValue.empty());
    EXPECT_EQ(uploaded->m_strUploadRecord, u"key-1\ndigest-1");
    EXPECT_FALSE(again->m_strValue.empty());
    EXPECT_TRUE(again->m_strUploadRecord.empty());
    EXPECT_EQ(m_uploads.size(), 1u);
}

TEST_F(ParseInputTest, DefaultFontHasNoStyleAndBoldHasOne) {
    std::u16string style;
    Handler(m_window)->GetInputStyle(style);
    EXPECT_TRUE(style.empty());
    tagTextFormat format;
    Input(m_window)->GetDefaultCharFormat(format);
    format.dwEffects |= TF_BOLD;
    Input(m_window)->SetDefaultCharFormat(format);
    Handler(m_window)->GetInputStyle(style);
    EXPECT_NE(style.find(u"font-weight: bold;"), std::u16string::npos);
}

TEST_F(ParseInputTest, SmileyBodyNeedsALoadablePicture) {
    std::string body;
    EXPECT_FALSE(Handler(m_window)->PackSmileyImageXmlMsg(body, nullptr, u"k"));
    EXPECT_FALSE(Handler(m_window)->PackSmileyImageXmlMsg(body, u"/nonexistent.png", u"k"));
    ASSERT_TRUE(Handler(m_window)->PackSmileyImageXmlMsg(body, WritePng("m.png", 5, 6).c_str(), u"k"));
    EXPECT_NE(body.find("src=\"smiley://[k]\""), std::string::npos);
    EXPECT_NE(body.find("width=\"5\""), std::string::npos);
}

TEST_F(ParseInputTest, GroupMentionsNameMembersWithASpaceBehind) {
    sim::AddBuddy("carol", "Carol");
    sim::AddGroupMember("g1", "carol");
    HWND group = Open(sim::ChatKind::Group, "g1");
    std::string contentAt;
    Handler(group)->GetContentAt(contentAt, u"hi @Bob and @Carol");
    EXPECT_EQ(contentAt, "bob");
    Handler(group)->GetContentAt(contentAt, u"@Carol @all");
    EXPECT_EQ(contentAt, "all");
}

}  // namespace
