// The stand-in's renderer reads message bodies within the client's limits.
#include <gtest/gtest.h>

#include "sdk/body_limits.h"
#include "sim/host/BodyReader.h"
#include "sim/host/DisplayInternal.h"

namespace {

std::string Nested(size_t depth, const std::string& inner = "<span>x</span>") {
    std::string body;
    for (size_t i = 0; i < depth; ++i) body += "<b>";
    body += inner;
    for (size_t i = 0; i < depth; ++i) body += "</b>";
    return body;
}

}  // namespace

TEST(SimDisplay, RichBodiesShowTheirTextWithinTheLimits) {
    EXPECT_EQ(sim::ContentText("rich/xml", "<msg><span>hi</span><img src='a'/><span>there</span></msg>"),
              u"hi[img]there");
    // Depth counts the root: the limit itself still reads.
    EXPECT_EQ(sim::ContentText("rich/xml", Nested(kMaxBodyDepth - 1, "<msg/>")), u"");
    EXPECT_EQ(sim::ContentText("rich/xml", Nested(kMaxBodyDepth, "<msg/>")), u"[?]");
}

TEST(SimDisplay, HostileBodiesShowOnePlaceholder) {
    EXPECT_EQ(sim::ContentText("rich/xml", Nested(100000)), u"[?]");  // would overflow the stack
    EXPECT_EQ(sim::ContentText("rich/xml", "<msg><span>\xC3</span></msg>"), u"[?]");
    const std::string large = "<msg><span>" + std::string(kMaxBodyBytes, 'a') + "</span></msg>";
    EXPECT_EQ(sim::ContentText("rich/xml", large), u"[?]");
    EXPECT_EQ(sim::ContentText("rich/xml", "not xml"), u"[?]");
}

TEST(SimDisplay, NestingIsCountedAsTheParserSeesIt) {
    // Closing marks inside quoted values, comments and CDATA close nothing.
    EXPECT_EQ(sim::BodyNestingDepth("<a x='</a>'><b y=\"/>\"><c><!-- </c> --><![CDATA[</b>]]></c></b></a>"), 3u);
    EXPECT_EQ(sim::BodyNestingDepth("<a><b/><b/><b/></a>"), 2u);
    EXPECT_EQ(sim::BodyNestingDepth("<?xml version='1.0'?><a></a>"), 1u);
}
