#include <gtest/gtest.h>
#include <tinyxml.h>

#include "ContentTestNodes.h"
#include "msghandle/MsgContentPacker.h"
#include "support/FreshWorld.h"

using namespace tavi;
using namespace tavi::testing;

namespace {

class MsgContentPackerTest : public support::FreshWorldTest {
protected:
    struct Packed {
        bool ok = false;
        std::string type, body, summary;
    };

    static Packed One(const MsgNodeList& nodes, bool email = false) {
        Packed p;
        p.summary = "keep";
        p.ok = CMsgContentPacker::PackOneElemMsg(p.type, p.body, p.summary, RefsOf(nodes), email);
        return p;
    }

    static Packed Part(const MsgNodeList& nodes, const std::u16string& style, bool smileyFlag, bool plainMode = false) {
        Packed p;
        p.ok = CMsgContentPacker::PackTextPartMsg(p.type, p.body, p.summary, RefsOf(nodes), style, smileyFlag,
                                                  plainMode, false);
        return p;
    }

    static std::u16string Style(int size, uint32_t color, uint32_t effects, std::u16string face) {
        std::u16string style;
        EXPECT_TRUE(CMsgContentPacker::CreateStyleMsg(style, SMsgFontRecord{effects, size, color, std::move(face)}));
        return style;
    }
};

TEST_F(MsgContentPackerTest, StyleStringKeepsItsExactSpacing) {
    EXPECT_EQ(Style(10, 255, kFontBold, u"Arial"), u"font-size:10pt; font-family:Arial; color:#ff0000;font-weight: bold;");
    EXPECT_EQ(Style(9, 0x00123456, kFontBold | kFontItalic | kFontUnderline, u"Segoe UI"),
              u"font-size:9pt; font-family:Segoe UI; color:#563412;font-weight: bold; font-style: italic;"
              u"text-decoration: underline;");
    // Size 0 leaves "pt; " joined to the key, so two spaces stand before font-family.
    EXPECT_EQ(Style(0, 0, 0, u"X"), u"font-size:pt;  font-family:X; color:#000000;");
    EXPECT_EQ(Style(12, 0x00FF0000, kFontItalic, u"\u5b8b\u4f53"),
              u"font-size:12pt; font-family:\u5b8b\u4f53; color:#0000ff; font-style: italic;");
}

TEST_F(MsgContentPackerTest, InputStyleIsEmptyOnlyForThePlainDefaultFont) {
    std::u16string style = u"old";
    const SMsgFontRecord plain{0, 12, 0, u"Tahoma"};
    CMsgContentPacker::MakeInputStyle(style, plain, u"Tahoma");
    EXPECT_EQ(style, u"");

    CMsgContentPacker::MakeInputStyle(style, plain, u"tahoma");  // the face compares exactly
    EXPECT_EQ(style, u"font-size:12pt; font-family:Tahoma; color:#000000;");
    CMsgContentPacker::MakeInputStyle(style, SMsgFontRecord{0, 13, 0, u"Tahoma"}, u"Tahoma");
    EXPECT_EQ(style, u"font-size:13pt; font-family:Tahoma; color:#000000;");
    CMsgContentPacker::MakeInputStyle(style, SMsgFontRecord{kFontUnderline, 12, 0, u"Tahoma"}, u"Tahoma");
    EXPECT_EQ(style, u"font-size:12pt; font-family:Tahoma; color:#000000;text-decoration: underline;");

    CMsgContentPacker::MakeInputStyle(style, SMsgFontRecord{kFontBold, 20, 255, u"Arial"}, nullptr);
    EXPECT_EQ(style, u"");
}

TEST_F(MsgContentPackerTest, SingleTextIsPlainWithoutStyleAndRichWithIt) {
    Packed plain = One(List(Text(u"h\u00e9llo")));
    EXPECT_TRUE(plain.ok);
    EXPECT_EQ(plain.type, "text/plain");
    EXPECT_EQ(plain.body, "h\xC3\xA9llo");
    EXPECT_EQ(plain.summary, "h\xC3\xA9llo");

    Packed rich = One(List(Text(u"a<b & \"c\"\n", u"font-size:10pt;")));
    EXPECT_TRUE(rich.ok);
    EXPECT_EQ(rich.type, "rich/xml");
    EXPECT_EQ(rich.body, "<div style=\"font-size:10pt;\"><span>a&lt;b &amp; &quot;c&quot;&#x0A;</span></div>");
    EXPECT_EQ(rich.summary, "a<b & \"c\"\n");
}

TEST_F(MsgContentPackerTest, SingleNodeOfOtherKinds) {
    Packed smiley = One(List(Smiley(u"wink")));
    EXPECT_TRUE(smiley.ok);
    EXPECT_EQ(smiley.type, "text/plain");
    EXPECT_EQ(smiley.body, "[wink]");
    EXPECT_EQ(smiley.summary, " ");

    EXPECT_FALSE(One(List()).ok);
    EXPECT_FALSE(One(List(Text(u"a"), Text(u"b"))).ok);
    // A text node without its style record cannot be packed.
    EXPECT_FALSE(One(List(std::make_unique<SNormalMsgNode>(kMsgNodeText, u"x"))).ok);
}

TEST_F(MsgContentPackerTest, UploadedPictureAloneIsImgXml) {
    Packed p = One(List(Picture(u"", u"/home/u/p.jpg", u"KEY-1\nd1g3st")));
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.type, "img/xml");
    EXPECT_EQ(p.body,
              "<img src=\"KEY-1\" size=\"20480\" mime=\"jpg\" width=\"640\" height=\"480\" md5=\"d1g3st\" "
              "name=\"img.jpeg\" fullimage=\"true\" />");
    EXPECT_EQ(p.summary, "keep");

    // Runs of line feeds count as one; the window kind does not matter once uploaded.
    Packed loose = One(List(Picture(u"", u"/p.jpg", u"\n\nKEY-1\n\n\nd1g3st\n")), true);
    EXPECT_EQ(loose.body, p.body);
}

TEST_F(MsgContentPackerTest, PictureNotYetUploadedUsesItsLocalPath) {
    auto picture = Picture(u"0123abcd.png", u"/home/u/shot.png", u"", u"png");
    picture->m_nFileSize = 0;  // an unknown size is left out
    MsgNodeList nodes = List(std::move(picture));
    EXPECT_EQ(One(nodes).body,
              "<img src=\"/home/u/shot.png\" mime=\"png\" width=\"640\" height=\"480\" md5=\"0123abcd\" "
              "name=\"img.png\" fullimage=\"true\" />");
    // The e-mail window keeps pictures it has not uploaded as "localimg".
    EXPECT_EQ(One(nodes, true).body,
              "<localimg src=\"/home/u/shot.png\" mime=\"png\" width=\"640\" height=\"480\" md5=\"0123abcd\" "
              "name=\"img.png\" fullimage=\"true\" />");

    // The digest is the cache name without folder and extension, either separator.
    for (const char16_t* cacheName : {u"c:\\cache\\0123abcd.png", u"/cache/0123abcd.png"}) {
        TiXmlElement element("x");
        EXPECT_TRUE(CMsgContentPacker::PackImageXmlNode(element, Picture(cacheName, u"/p").get(), false));
        EXPECT_STREQ(element.Attribute("md5"), "0123abcd");
    }
}

TEST_F(MsgContentPackerTest, MalformedUploadRecordFailsAloneAndIsLeftOutOfRichBodies) {
    for (const char16_t* record : {u"KEY", u"a\nb\nc", u"\n\n"}) {
        EXPECT_FALSE(One(List(Picture(u"", u"/p.jpg", record))).ok);
    }
    TiXmlElement element("img");
    EXPECT_FALSE(CMsgContentPacker::PackImageXmlNode(element, Text(u"x").get(), false));
    EXPECT_FALSE(CMsgContentPacker::PackImageXmlNode(element, nullptr, false));

    Packed rich = Part(List(Text(u"a"), Picture(u"", u"/p.jpg", u"only-one"), Text(u"b")), u"", true);
    EXPECT_EQ(rich.type, "rich/xml");
    EXPECT_EQ(rich.body, "<div><span>a</span><span>b</span></div>");
    EXPECT_EQ(rich.summary, "a b");
}

TEST_F(MsgContentPackerTest, TextWithSmileyIsPlainOnlyWhenTheModuleAllowsIt) {
    MsgNodeList nodes = List(Text(u"ab"), Smiley(u"smile"));
    Packed plain = Part(nodes, u"", true);
    EXPECT_TRUE(plain.ok);
    EXPECT_EQ(plain.type, "text/plain");
    EXPECT_EQ(plain.body, "ab[smile]");
    EXPECT_EQ(plain.summary, "ab ");

    Packed rich = Part(nodes, u"", false);
    EXPECT_EQ(rich.type, "rich/xml");
    EXPECT_EQ(rich.body, "<div><span>ab[smile]</span></div>");
    EXPECT_EQ(rich.summary, "ab ");

    Packed styled = Part(nodes, u"font-size:9pt;", true);
    EXPECT_EQ(styled.type, "rich/xml");
    EXPECT_EQ(styled.body, "<div style=\"font-size:9pt;\"><span>ab[smile]</span></div>");

    // Plain mode always sends text as text.
    EXPECT_EQ(Part(nodes, u"font-size:9pt;", false, true).type, "text/plain");
}

TEST_F(MsgContentPackerTest, TextAndPicturesGoIntoOneRichBodyInInputOrder) {
    Packed p = Part(List(Text(u"ab"), Picture(u"0123abcd.jpg", u"/p.jpg"), Smiley(u"s"), Text(u"c"),
                         Picture(u"", u"/q.gif", u"K2\nD2", u"gif")),
                    u"", true);
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.type, "rich/xml");
    EXPECT_EQ(p.body,
              "<div><span>ab</span>"
              "<img src=\"/p.jpg\" size=\"20480\" mime=\"jpg\" width=\"640\" height=\"480\" md5=\"0123abcd\" "
              "name=\"img.jpeg\" fullimage=\"true\" />"
              "<span>[s]c</span>"
              "<img src=\"K2\" size=\"20480\" mime=\"gif\" width=\"640\" height=\"480\" md5=\"D2\" "
              "name=\"img.gif\" fullimage=\"true\" /></div>");
    EXPECT_EQ(p.summary, "ab  c ");
}

TEST_F(MsgContentPackerTest, CustomSmileyElement) {
    const SPictureInfo animated{24, 24, 5};
    std::string body;
    ASSERT_TRUE(CMsgContentPacker::PackSmileyImageXmlMsg(body, u"/s/happy.gif", u"k1", &animated, 5000000000ull, "ffee"));
    EXPECT_EQ(body,
              "<img mime=\"gif\" src=\"smiley://[k1]\" width=\"24\" height=\"24\" size=\"5000000000\" "
              "md5=\"ffee\" name=\"happy.gif\" />");
    EXPECT_FALSE(CMsgContentPacker::PackSmileyImageXmlMsg(body, nullptr, u"k1", &animated, 1, "x"));
    EXPECT_FALSE(CMsgContentPacker::PackSmileyImageXmlMsg(body, u"/s/a.gif", u"k1", nullptr, 1, "x"));

    EXPECT_EQ(CMsgContentPacker::GetImageMimeType(u"/s/noext", 1), u"jpg");
    EXPECT_EQ(CMsgContentPacker::GetImageMimeType(u"/s/noext", 2), u"gif");
    EXPECT_EQ(CMsgContentPacker::GetImageMimeType(u"/dir.d/Photo.JPEG", 1), u"JPEG");
    EXPECT_EQ(CMsgContentPacker::GetImageMimeType(u"/s/dotted.", 2), u"gif");
}

TEST_F(MsgContentPackerTest, MentionListFromMemberNamesAndNotes) {
    const std::vector<SGroupMember> members{
        {"u-ann", u"Ann", u""}, {"u-bob", u"Bob", u"Bobby"}, {"u-me", u"Me", u""}, {"u-zed", u"Zed", u""}};
    auto contentAt = [&](const std::u16string& text, bool failed = false) {
        std::string result = "stale";
        CMsgContentPacker::GetContentAt(result, text, members, "u-me", failed);
        return result;
    };
    EXPECT_EQ(contentAt(u"no mention"), "");
    EXPECT_EQ(contentAt(u"@Ann hi @all"), "all");
    EXPECT_EQ(contentAt(u"@Zed @Bobby and @Ann please"), "u-ann,u-bob,u-zed");
    EXPECT_EQ(contentAt(u"@Me alone"), "");
    // A name at the very end, with no space behind it, selects nobody.
    EXPECT_EQ(contentAt(u"hello @Ann"), "");
    EXPECT_EQ(contentAt(u"@Ann ", true), "");
    EXPECT_EQ(contentAt(u"@ x"), "");
}

}  // namespace
