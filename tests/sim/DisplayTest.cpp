// The stand-in's renderer counts the nesting of a message body as a parser sees it.
#include <gtest/gtest.h>

#include "sim/host/BodyReader.h"

TEST(SimDisplay, NestingIsCountedAsTheParserSeesIt) {
    // Closing marks inside quoted values, comments and CDATA close nothing.
    EXPECT_EQ(sim::BodyNestingDepth("<a x='</a>'><b y=\"/>\"><c><!-- </c> --><![CDATA[</b>]]></c></b></a>"), 3u);
    EXPECT_EQ(sim::BodyNestingDepth("<a><b/><b/><b/></a>"), 2u);
    EXPECT_EQ(sim::BodyNestingDepth("<?xml version='1.0'?><a></a>"), 1u);
}
