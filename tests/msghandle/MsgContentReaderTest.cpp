#include <gtest/gtest.h>
#include <tinyxml.h>

#include "ContentTestNodes.h"
#include "msghandle/MsgContentPacker.h"
#include "msghandle/MsgContentReader.h"
#include "support/FreshWorld.h"

using namespace tavi;
using namespace tavi::testing;

namespace {

class MsgContentReaderTest : public support::FreshWorldTest {
protected:
    static MsgNodeList Read(const std::string& type, const std::string& body, bool expectOk = true) {
        MsgNodeList nodes;
        EXPECT_EQ(CMsgContentReader::ReadContent(nodes, type, body), expectOk) << body.substr(0, 80);
        return nodes;
    }

    static const STextMsgNode& TextAt(const MsgNodeList& nodes, size_t i) {
        return dynamic_cast<const STextMsgNode&>(*nodes.at(i));
    }
    static const SImageMsgMode& ImageAt(const MsgNodeList& nodes, size_t i) {
        return dynamic_cast<const SImageMsgMode&>(*nodes.at(i));
    }

    static std::string Repack(const MsgNodeList& nodes, const std::u16string& style, bool email = false) {
        std::string body, summary;
        EXPECT_TRUE(CMsgContentPacker::PackRichXmlMsg(body, summary, style, RefsOf(nodes), email));
        return body;
    }
};

TEST_F(MsgContentReaderTest, PlainTextStaysOneRunWithItsSmileyText) {
    MsgNodeList nodes = Read("text/plain", "ab[smile] \xE4\xB8\xAD");
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(TextAt(nodes, 0).m_strValue, u"ab[smile] \u4e2d");
    EXPECT_EQ(TextAt(nodes, 0).m_strStyle, u"");
    EXPECT_TRUE(Read("text/plain", "").empty());
    Read("file/xml", "<file />", false);
}

TEST_F(MsgContentReaderTest, RichBodyRoundTripsThroughNodes) {
    const std::u16string style = u"font-size:9pt; font-family:A; color:#ff0000;";
    MsgNodeList sent = List(Text(u"  two  spaces\nand <tags> & \"quotes\""), Smiley(u"s"),
                            Picture(u"", u"/p.jpg", u"KEY\nD1"), Text(u"tail \u00e9"));
    std::string body, summary;
    ASSERT_TRUE(CMsgContentPacker::PackRichXmlMsg(body, summary, style, RefsOf(sent), false));

    MsgNodeList read = Read("rich/xml", body);
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(TextAt(read, 0).m_strValue, u"  two  spaces\nand <tags> & \"quotes\"[s]");
    EXPECT_EQ(TextAt(read, 0).m_strStyle, style);
    const SImageMsgMode& image = ImageAt(read, 1);
    EXPECT_EQ(image.m_strUploadRecord, u"KEY\nD1");
    EXPECT_EQ(image.m_strMime, u"jpg");
    EXPECT_EQ(image.m_strFileName, u"img.jpeg");
    EXPECT_EQ(image.m_nFileSize, 20480u);
    EXPECT_EQ(image.m_nWidth, 640);
    EXPECT_EQ(image.m_nHeight, 480);
    EXPECT_EQ(TextAt(read, 2).m_strValue, u"tail \u00e9");
    EXPECT_EQ(Repack(read, style), body);
}

TEST_F(MsgContentReaderTest, RunsOfWhiteSpaceAloneSurviveReadingAndRewriting) {
    MsgNodeList sent = List(Picture(u"a.jpg", u"/a.jpg"), Text(u" \t\n "), Picture(u"b.jpg", u"/b.jpg"));
    std::string body, summary;
    ASSERT_TRUE(CMsgContentPacker::PackRichXmlMsg(body, summary, u"", RefsOf(sent), false));
    MsgNodeList read = Read("rich/xml", body);
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(TextAt(read, 1).m_strValue, u" \t\n ");

    std::string rewritten = body;
    ASSERT_TRUE(CMsgContentReader::RewriteImageSrcs(rewritten, {{"a.jpg", "K"}}));
    EXPECT_NE(rewritten.find("<span> &#x09;&#x0A; </span>"), std::string::npos) << rewritten;

    // An empty span stays empty.
    std::string empty = "<div><span></span><img src=\"a.jpg\" /></div>";
    ASSERT_TRUE(CMsgContentReader::RewriteImageSrcs(empty, {{"a.jpg", "K"}}));
    EXPECT_EQ(empty, "<div><span /><img src=\"K\" /></div>");
}

TEST_F(MsgContentReaderTest, PictureBodiesRoundTripInEveryForm) {
    struct Case {
        std::u16string cacheName, record;
        bool email;
    };
    for (const Case& c : {Case{u"", u"KEY\nD1", false}, Case{u"abcd.png", u"", true}, Case{u"abcd.png", u"", false}}) {
        MsgNodeList sent = List(Picture(c.cacheName, u"/home/u/a.png", c.record, u"png"));
        std::string type, body, summary;
        ASSERT_TRUE(CMsgContentPacker::PackOneElemMsg(type, body, summary, RefsOf(sent), c.email));
        MsgNodeList read = Read(type, body);
        ASSERT_EQ(read.size(), 1u);
        std::string again;
        ASSERT_TRUE(CMsgContentPacker::PackOneElemMsg(type, again, summary, RefsOf(read), c.email));
        EXPECT_EQ(again, body);
    }

    MsgNodeList local = Read("img/xml", "<localimg src=\"/a.png\" mime=\"png\" md5=\"abcd\" />");
    EXPECT_EQ(ImageAt(local, 0).m_strValue, u"abcd.png");
    EXPECT_EQ(ImageAt(local, 0).m_strFileKey, u"/a.png");
    EXPECT_EQ(ImageAt(local, 0).m_strUploadRecord, u"");

    MsgNodeList smiley = Read("img/xml", "<img mime=\"gif\" src=\"smiley://[k1]\" width=\"x\" size=\"-4\" md5=\"m\" />");
    EXPECT_EQ(ImageAt(smiley, 0).m_strSmileyKey, "k1");
    EXPECT_EQ(ImageAt(smiley, 0).m_nWidth, 0);
    EXPECT_EQ(ImageAt(smiley, 0).m_nFileSize, 0u);
    Read("img/xml", "<div><img src=\"a\" /></div>", false);
}

TEST_F(MsgContentReaderTest, UploadedKeysReplaceSourcesByDigestOrCacheName) {
    std::string body =
        "<div><span>x</span><img src=\"/a.jpg\" mime=\"jpg\" md5=\"aaaa\" /><img src=\"/a2.jpg\" md5=\"aaaa\" />"
        "<img src=\"bbbb.gif\" md5=\"other\" /><localimg src=\"/l.jpg\" md5=\"aaaa\" /></div>";
    std::map<std::string, std::string> digests;
    ASSERT_TRUE(CMsgContentReader::RewriteImageSrcs(body, {{"aaaa.jpg", "K-A"}, {"bbbb.gif", "K-B"}}, &digests));
    EXPECT_EQ(body,
              "<div><span>x</span><img src=\"K-A\" mime=\"jpg\" md5=\"aaaa\" /><img src=\"K-A\" md5=\"aaaa\" />"
              "<img src=\"K-B\" md5=\"other\" /><localimg src=\"/l.jpg\" md5=\"aaaa\" /></div>");
    EXPECT_EQ(digests["aaaa.jpg"], "aaaa");
    EXPECT_EQ(digests["bbbb.gif"], "other");

    std::string img = "<img src=\"/a.jpg\" size=\"1\" md5=\"dd\" />";
    std::string digest;
    ASSERT_TRUE(CMsgContentReader::SetRootImageSrc(img, "K", &digest));
    EXPECT_EQ(img, "<img src=\"K\" size=\"1\" md5=\"dd\" />");
    EXPECT_EQ(digest, "dd");

    std::string broken = "<div><img src=\"a\"></div>";
    EXPECT_FALSE(CMsgContentReader::RewriteImageSrcs(broken, {{"a", "K"}}));
    EXPECT_FALSE(CMsgContentReader::SetRootImageSrc(broken, "K"));
    EXPECT_EQ(broken, "<div><img src=\"a\"></div>");
}

TEST_F(MsgContentReaderTest, MalformedBodiesAreRefusedOrRepairedWithoutHarm) {
    Read("rich/xml", "<div><span>a</div>", false);
    Read("rich/xml", "", false);
    Read("rich/xml", "just text", false);
    Read("rich/xml", "<v>\xF4", false);
    Read("img/xml", "<img src=\"\xF0\x9F", false);

    // Bytes that are not UTF-8 become U+FFFD; the rest of the message stays.
    MsgNodeList repaired = Read("rich/xml", "<div><span>a\xFF\xC0" "b\xED\xA0\x80</span></div>");
    EXPECT_EQ(TextAt(repaired, 0).m_strValue, u"a\uFFFD\uFFFDb\uFFFD\uFFFD\uFFFD");

    const std::string huge(2u << 20, 'x');
    Read("img/xml", "<img src=\"" + huge + "\" />", false);
    MsgNodeList large = Read("img/xml", "<img md5=\"m\" src=\"" + huge.substr(0, 500000) + "\" />");
    EXPECT_EQ(ImageAt(large, 0).m_strUploadRecord.size(), 500002u);

    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<div>";
    Read("rich/xml", deep, false);
    std::string declared;  // declarations hide no nesting from the depth check
    for (int i = 0; i < 100000; ++i) declared += "<a><?xml version=\"</a>\"?>";
    Read("rich/xml", declared, false);
}

}  // namespace
