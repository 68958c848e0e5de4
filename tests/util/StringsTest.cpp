#include <gtest/gtest.h>

#include "util/Strings.h"

TEST(WToI, ParsesLeadingIntegerLikeThePlatform) {
    EXPECT_EQ(util::WToI(u"42"), 42);
    EXPECT_EQ(util::WToI(u"  \t-17abc"), -17);
    EXPECT_EQ(util::WToI(u"+8"), 8);
    EXPECT_EQ(util::WToI(u"x12"), 0);
    EXPECT_EQ(util::WToI(u"- 3"), 0);
    EXPECT_EQ(util::WToI(u""), 0);
    EXPECT_EQ(util::WToI64(u"-9223372036854775808"), INT64_MIN);
    // Far too many digits: whatever comes out, nothing traps (UBSan build).
    (void)util::WToI(u"99999999999999999999999999999");
    (void)util::WToI64(u"-99999999999999999999999999999");
}
