// Reading XML from the network: broken UTF-8 is repaired, too large or too
// deeply nested text is refused before the parser sees it, and spaces in
// message text are kept.
#include <gtest/gtest.h>

#include <tinyxml.h>

#include <string>
#include <string_view>

#include "util/SafeXml.h"

namespace {

const std::string kFix = "\xEF\xBF\xBD";  // U+FFFD

// The text as a view into a longer buffer: what follows the view must
// never be read.
std::string_view InLongerBuffer(const std::string& text, const std::string& after, std::string& buffer) {
    buffer = text + after;
    return std::string_view(buffer).substr(0, text.size());
}

TEST(SafeXml, OnlyWellFormedUtf8IsValidAndEveryStrayByteIsReplaced) {
    struct Case {
        std::string bytes;
        bool valid;
        std::string repaired;  // empty: the same bytes
    };
    const Case cases[] = {
        {"plain \x7F", true, ""},
        {"\xC2\x80 \xDF\xBF", true, ""},
        {"\xE0\xA0\x80 \xED\x9F\xBF \xEE\x80\x80 \xEF\xBF\xBF", true, ""},
        {"\xF0\x90\x80\x80 \xF4\x8F\xBF\xBF \xF1\x80\x80\x80", true, ""},
        {"\x80", false, kFix},
        {"\xC1\xBF", false, kFix + kFix},                // overlong two bytes
        {"\xC2\x7F", false, kFix + "\x7F"},              // no continuation
        {"\xC2\xC0", false, kFix + kFix},
        {"\xE0\x9F\xBF", false, kFix + kFix + kFix},     // overlong three bytes
        {"\xED\xA0\x80", false, kFix + kFix + kFix},     // a surrogate
        {"\xE2\x82\xC0", false, kFix + kFix + kFix},     // bad third byte
        {"\xE2\x82\x7F", false, kFix + kFix + "\x7F"},
        {"\xF0\x8F\xBF\xBF", false, kFix + kFix + kFix + kFix},  // overlong four bytes
        {"\xF4\x90\x80\x80", false, kFix + kFix + kFix + kFix},  // above U+10FFFF
        {"\xF5\x80\x80\x80", false, kFix + kFix + kFix + kFix},
        {"\xF0\x90\x80\xC0", false, kFix + kFix + kFix + kFix},  // bad fourth byte
        {"ok\xE2\x82", false, "ok" + kFix + kFix},      // cut off by the end
        {"\xF0\x90\x80", false, kFix + kFix + kFix},
    };
    std::string buffer;
    for (const Case& c : cases) {
        const std::string_view view = InLongerBuffer(c.bytes, "\xFF\x80", buffer);
        EXPECT_EQ(util::IsValidUtf8(view), c.valid) << testing::PrintToString(c.bytes);
        EXPECT_EQ(util::RepairUtf8(view), c.repaired.empty() ? c.bytes : c.repaired)
            << testing::PrintToString(c.bytes);
    }
}

TEST(SafeXml, NestingDepthCountsTheElementsAReaderWouldOpen) {
    const std::pair<std::string, size_t> cases[] = {
        {"no markup", 0},
        {"<a/><b/>", 1},
        {"<a><b><c/></b></a>", 3},
        {"<a>t</a><b><c></c></b>", 2},
        {"<a><b/><c/><d/></a>", 2},
        {"<a>x</a>", 1},
        // Comments and character data open nothing, even with markup inside.
        {"<!-- <a><b> -->", 0},
        {"<![CDATA[<a><b>]]><c/>", 1},
        {"<!-- never closed <a>", 0},
        // A ">" inside a quoted value does not end the tag.
        {"<a title=\"x>y\"><b/></a>", 2},
        {"<a><b/><c x='>' y=\"/>\"></c><d>t</d></a>", 2},
        {"<a t='it\"s'><b><c/></b></a>", 3},
        {"<a x=\"open><b><c>", 1},
        // What opens an element: a letter, "_" or a byte from 0x7F up.
        {"<_a><Zb><\xC3\xA4></\xC3\xA4></Zb></_a>", 3},
        {"<1a><a/>", 1},
        {"< a><b></b>", 1},
        {"<><a/>", 1},
        // A closing tag with nothing open closes nothing.
        {"</x></y><a><b/></a>", 2},
        // An element cut off by the end still counts.
        {"<a><b", 2},
        // The declaration's quoted values are read as values.
        {"<?xml version=\"1.0\"?><a/>", 1},
        {"<?XML version = '1.0' encoding=\"UTF-8\" standalone=yes?><a><b/></a>", 2},
        {"<?xml version=\"1.0><a><b>", 0},
        {"<?xml version ?><a/>", 0},
        {"<?xml version=1'0?><a/>", 0},
        {"<?xml version=", 0},
        {"<?xml other='1.0' ?><a/>", 1},
        // Tabs and line breaks part them as spaces do.
        {"<?xml\tversion='<x><y>'?><a/>", 1},
        {"<?xml\nversion\r\n=\n'<x><y>'?><a/>", 1},
        {"<?xml\rversion\r=\r'<x><y>'?><a/>", 1},
        {"<?xml ", 0},
        {"<?xml version ", 0},
    };
    std::string buffer;
    for (const auto& [text, depth] : cases)
        EXPECT_EQ(util::XmlNestingDepth(InLongerBuffer(text, "  = '1'?><p><q>", buffer)), depth) << text;
}

std::string Nested(size_t depth) {
    std::string text;
    for (size_t i = 0; i < depth; ++i) text += "<e>";
    for (size_t i = 0; i < depth; ++i) text += "</e>";
    return text;
}

TEST(SafeXml, ParsingRefusesTooLargeOrTooDeepTextAndTextWithoutRoot) {
    TiXmlDocument doc;
    util::SXmlLimits limits;
    limits.maxBytes = Nested(4).size();
    limits.maxDepth = 4;
    EXPECT_TRUE(util::ParseXmlSafely(doc, Nested(4), limits));
    EXPECT_FALSE(util::ParseXmlSafely(doc, Nested(4) + " ", limits));  // one byte too many
    limits.maxBytes = 1000;
    EXPECT_FALSE(util::ParseXmlSafely(doc, Nested(5), limits));
    EXPECT_EQ(doc.RootElement(), nullptr);  // nothing of an earlier parse stays

    EXPECT_TRUE(util::ParseXmlSafely(doc, Nested(64)));
    EXPECT_FALSE(util::ParseXmlSafely(doc, Nested(65)));
    EXPECT_FALSE(util::ParseXmlSafely(doc, std::string((1u << 20) + 1, ' ') + "<a/>"));

    EXPECT_FALSE(util::ParseXmlSafely(doc, "just text"));
    EXPECT_FALSE(util::ParseXmlSafely(doc, "<!-- only a comment -->"));
    EXPECT_FALSE(util::ParseXmlSafely(doc, "<a><b></a>"));
}

TEST(SafeXml, ParsingRepairsUtf8KeepsSpacesAndPrintsCompactly) {
    TiXmlBase::SetCondenseWhiteSpace(true);
    TiXmlDocument doc;
    ASSERT_TRUE(util::ParseXmlSafely(doc, "<a x=\"1\" y=\"2\"><b>  two  spaces \xFF</b></a>"));
    EXPECT_EQ(std::string(doc.RootElement()->FirstChildElement("b")->GetText()), "  two  spaces " + kFix);
    EXPECT_TRUE(TiXmlBase::IsWhiteSpaceCondensed());  // the caller's setting is back
    EXPECT_EQ(util::PrintXmlCompact(*doc.RootElement()), "<a x=\"1\" y=\"2\"><b>  two  spaces " + kFix + "</b></a>");
}

}  // namespace
