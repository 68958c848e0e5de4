#include <gtest/gtest.h>

#include <random>

#include "sim/core/Text.h"
#include "util/Utf8Reference.h"

TEST(SimText, RoundTripsAndReplacesWhatIsNoTextWithoutReadingPastTheEnd) {
    const std::string utf8 = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // a é € 😀
    const std::u16string wide = sim::ToWide(utf8);
    EXPECT_EQ(wide, (std::u16string{u'a', 0x00E9, 0x20AC, 0xD83D, 0xDE00}));
    EXPECT_EQ(sim::ToUtf8(wide), utf8);
    EXPECT_EQ(sim::ToWide(static_cast<const char*>(nullptr)), u"");
    const char16_t r = 0xFFFD;
    EXPECT_EQ(sim::ToWide("\xFF" "a"), (std::u16string{r, u'a'}));
    EXPECT_EQ(sim::ToWide("\xC0\xAF"), (std::u16string{r, r}));           // overlong '/'
    EXPECT_EQ(sim::ToWide("\xED\xA0\x80"), (std::u16string{r, r, r}));    // encoded surrogate
    EXPECT_EQ(sim::ToWide("\xF4\x90\x80\x80"), std::u16string(4, r));  // beyond U+10FFFF
    EXPECT_EQ(sim::ToUtf8(std::u16string{0xD800, u'x'}), "\xEF\xBF\xBD" "x");  // lone high
    EXPECT_EQ(sim::ToUtf8(std::u16string{0xDC00}), "\xEF\xBF\xBD");            // lone low
    // The bytes after the view would complete the sequence; they must not be read.
    const char euro[] = "\xE2\x82\xAC";
    EXPECT_EQ(sim::ToWide(std::string_view(euro, 2)), (std::u16string{r}));
    const char16_t pair[] = {0xD83D, 0xDE00, 0};
    EXPECT_EQ(sim::ToUtf8(std::u16string_view(pair, 1)), "\xEF\xBF\xBD");
}

TEST(SimText, DamagedSequencesBecomeOneReplacementEachLikeTheReference) {
    constexpr char16_t r = 0xFFFD;
    EXPECT_EQ(sim::ToWide("a\xF0\x9F\x98 b"), (std::u16string{u'a', r, u' ', u'b'}));
    EXPECT_EQ(sim::ToWide("\xE1\x80\xE1\x80\x80"), (std::u16string{r, 0x1000}));
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(size_t(random() % 12), '\0');
        for (char& c : bytes) c = char(0x70 + random() % 0x90);
        ASSERT_EQ(sim::ToWide(bytes), test::ReferenceToWide(bytes)) << round;
    }
}
