#include <gtest/gtest.h>

#include <tuple>

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

TEST(CutBeforeUnits, NeverPartsASurrogatePair) {
    const std::u16string text = u"ab\U0001F600c";  // a, b, pair, c
    EXPECT_EQ(util::CutBeforeUnits(text, 0), 0u);
    EXPECT_EQ(util::CutBeforeUnits(text, 2), 2u);
    EXPECT_EQ(util::CutBeforeUnits(text, 3), 2u);  // would part the pair
    EXPECT_EQ(util::CutBeforeUnits(text, 4), 4u);
    EXPECT_EQ(util::CutBeforeUnits(text, 9), text.size());
    // Lone halves are cut like any other unit.
    EXPECT_EQ(util::CutBeforeUnits(u"a\xD83Dx", 2), 2u);
    EXPECT_EQ(util::CutBeforeUnits(u"a\xDE00x", 1), 1u);
    // The highest and lowest halves are halves too.
    EXPECT_EQ(util::CutBeforeUnits(u"a\xDBFF\xDFFF", 2), 1u);
    EXPECT_EQ(util::CutBeforeUnits(u"a\xD800\xDC00", 2), 1u);
}

TEST(CompareNoCase, OrdersWithAsciiLettersFolded) {
    const auto sign = [](int v) { return (v > 0) - (v < 0); };
    const std::tuple<const char16_t*, const char16_t*, int> cases[] = {
        {u"", u"", 0},        {u"Ab", u"aB", 0},    {u"abc", u"ABD", -1}, {u"b", u"A", 1},
        {u"ab", u"abc", -1},  {u"abc", u"AB", 1},   {u"[", u"a", -1},     {u"\u00C9", u"\u00E9", -1},
    };
    for (const auto& [a, b, expected] : cases) {
        EXPECT_EQ(sign(util::CompareNoCase(a, b)), expected) << util::WideToUtf8(a) << " / " << util::WideToUtf8(b);
        EXPECT_EQ(sign(util::CompareNoCase(b, a)), -expected);
        EXPECT_EQ(util::EqualsNoCase(a, b), expected == 0);
    }
    // A view into longer text compares only what it holds.
    const std::u16string_view cut = std::u16string_view(u"abz").substr(0, 2);
    EXPECT_LT(util::CompareNoCase(cut, u"abc"), 0);
    EXPECT_GT(util::CompareNoCase(u"abc", cut), 0);
}

TEST(ListContains, MatchesWholeEntriesOnly) {
    EXPECT_TRUE(util::ListContains("all", "all"));
    EXPECT_TRUE(util::ListContains("bob,all", "all"));
    EXPECT_TRUE(util::ListContains("all,bob", "bob"));
    EXPECT_FALSE(util::ListContains("ball,bobby", "all"));
    EXPECT_FALSE(util::ListContains("ball,bobby", "bob"));
    EXPECT_FALSE(util::ListContains("", "bob"));
    // An empty entry is one of the list's entries, between two commas.
    EXPECT_TRUE(util::ListContains("a,,b", ""));
    EXPECT_FALSE(util::ListContains("a,b", ""));
}
