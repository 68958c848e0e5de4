#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

#include "util/Strings.h"
#include "util/Utf8Reference.h"

namespace {

using namespace std::string_literals;

std::string RandomBytes(std::mt19937& random, size_t size) {
    // Mostly pieces of real sequences, so that the decoder's every branch is
    // reached, with stray bytes in between.
    static const char* const pieces[] = {"a", "Z", " ", "\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80", "\xED\x9F\xBF",
                                         "\xEF\xBF\xBD", "\xF4\x8F\xBF\xBF", "\x80", "\xBF", "\xC0", "\xC1", "\xE0", "\xED",
                                         "\xF0", "\xF4", "\xF5", "\xFF", "\xE0\x80", "\xED\xA0", "\xF0\x8F", "\xF4\x90", "\0"};
    std::string out;
    while (out.size() < size) {
        const char* piece = pieces[random() % std::size(pieces)];
        out += *piece ? std::string(piece) : std::string(1, '\0');
    }
    return out;
}

TEST(UtfConversion, MixedTextRoundTripsBothWays) {
    const std::u16string text = u"Hello, \u4F60\u597D \U0001F600 caf\u00E9 \u0000 end"s;
    EXPECT_EQ(util::WideToUtf8(text), "Hello, \xE4\xBD\xA0\xE5\xA5\xBD \xF0\x9F\x98\x80 caf\xC3\xA9 \0 end"s);
    EXPECT_EQ(util::Utf8ToWide(util::WideToUtf8(text)), text);
    // Long runs of ASCII go through eight bytes at a time; the tail too.
    // What follows the given text is never read, and the result stays a
    // terminated string for whoever hands on its c_str().
    for (size_t n : {0, 1, 7, 8, 9, 15, 16, 17, 1000}) {
        const std::string ascii(n, 'x');
        const std::string buffer = ascii + "yyyyyyyyyyyyyyyy";
        const std::u16string wide = util::Utf8ToWide(std::string_view(buffer).substr(0, n));
        EXPECT_EQ(wide, std::u16string(n, u'x'));
        EXPECT_EQ(wide.c_str()[n], u'\0') << n;
        EXPECT_EQ(util::WideToUtf8(std::u16string(n, u'x') + u"\u00E9"), ascii + "\xC3\xA9");
    }
}

TEST(UtfConversion, InvalidUtf8BecomesOneReplacementPerMaximalSubpart) {
    const std::u16string R(1, char16_t(0xFFFD));
    // The example of the Unicode Standard: a truncated four-byte sequence,
    // a truncated three-byte one, stray continuation bytes.
    EXPECT_EQ(util::Utf8ToWide("\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64"),
              u"a" + R + R + R + u"b" + R + u"c" + R + R + u"d");
    EXPECT_EQ(util::Utf8ToWide("\xC0\xAF"), R + R);                  // overlong
    EXPECT_EQ(util::Utf8ToWide("\xE0\x80\x80"), R + R + R);          // overlong
    EXPECT_EQ(util::Utf8ToWide("\xED\xA0\x80"), R + R + R);          // a surrogate
    EXPECT_EQ(util::Utf8ToWide("\xF4\x90\x80\x80"), R + R + R + R);  // past U+10FFFF
    EXPECT_EQ(util::Utf8ToWide("x\xF0\x9F\x98"), u"x" + R);          // cut at the end
    EXPECT_EQ(util::Utf8ToWide("\xF0\x9F\x98x"), R + u"x");
    EXPECT_EQ(util::Utf8ToWide("\xFF\xFE"), R + R);
}

TEST(UtfConversion, LoneSurrogatesBecomeReplacements) {
    EXPECT_EQ(util::WideToUtf8(u"a\xD800"), "a\xEF\xBF\xBD");
    EXPECT_EQ(util::WideToUtf8(u"\xDC00" u"b"), "\xEF\xBF\xBD" "b");
    EXPECT_EQ(util::WideToUtf8(u"\xDC00\xD800"), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(util::WideToUtf8(u"\xD83D\xD83D\xDE00"), "\xEF\xBF\xBD\xF0\x9F\x98\x80");
}

TEST(UtfConversion, RandomInputMatchesTheTableDecoder) {
    std::mt19937 random(20261206);
    for (int round = 0; round < 3000; ++round) {
        const std::string bytes = RandomBytes(random, random() % 64);
        const std::u16string wide = util::Utf8ToWide(bytes);
        ASSERT_EQ(wide, test::ReferenceToWide(bytes)) << "round " << round;
        // What came out is valid, so it converts back and forth unchanged.
        ASSERT_EQ(util::Utf8ToWide(util::WideToUtf8(wide)), wide);
    }
}

}  // namespace
