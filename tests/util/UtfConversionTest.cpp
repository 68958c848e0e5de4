#include <gtest/gtest.h>

#include <random>
#include <string>

#include "util/Strings.h"

namespace {

using namespace std::string_literals;

// A slow decoder written from the table of well-formed byte sequences: at
// each position take the longest prefix that still fits a row of the
// table; a whole row is one code point, anything shorter is one U+FFFD.
std::u16string ReferenceToWide(const std::string& in) {
    struct Row { unsigned char lo[4], hi[4]; int length; };
    static const Row rows[] = {
        {{0x00}, {0x7F}, 1},
        {{0xC2, 0x80}, {0xDF, 0xBF}, 2},
        {{0xE0, 0xA0, 0x80}, {0xE0, 0xBF, 0xBF}, 3},
        {{0xE1, 0x80, 0x80}, {0xEC, 0xBF, 0xBF}, 3},
        {{0xED, 0x80, 0x80}, {0xED, 0x9F, 0xBF}, 3},
        {{0xEE, 0x80, 0x80}, {0xEF, 0xBF, 0xBF}, 3},
        {{0xF0, 0x90, 0x80, 0x80}, {0xF0, 0xBF, 0xBF, 0xBF}, 4},
        {{0xF1, 0x80, 0x80, 0x80}, {0xF3, 0xBF, 0xBF, 0xBF}, 4},
        {{0xF4, 0x80, 0x80, 0x80}, {0xF4, 0x8F, 0xBF, 0xBF}, 4},
    };
    std::u16string out;
    size_t i = 0;
    while (i < in.size()) {
        int best = 0;
        const Row* whole = nullptr;
        for (const Row& row : rows) {
            int k = 0;
            while (k < row.length && i + size_t(k) < in.size() &&
                   static_cast<unsigned char>(in[i + size_t(k)]) >= row.lo[k] &&
                   static_cast<unsigned char>(in[i + size_t(k)]) <= row.hi[k]) {
                ++k;
            }
            if (k == row.length) whole = &row;
            best = std::max(best, k);
        }
        if (!whole) {
            out += char16_t(0xFFFD);
            i += size_t(std::max(best, 1));
            continue;
        }
        char32_t cp = whole->length == 1 ? char32_t(in[i]) : char32_t(static_cast<unsigned char>(in[i]) & (0x7F >> whole->length));
        for (int k = 1; k < whole->length; ++k) cp = cp << 6 | (static_cast<unsigned char>(in[i + size_t(k)]) & 0x3F);
        if (cp >= 0x10000) {
            out += char16_t(0xD800 + ((cp - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += char16_t(cp);
        }
        i += size_t(whole->length);
    }
    return out;
}

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
    for (size_t n : {0, 1, 7, 8, 9, 15, 16, 17, 1000}) {
        const std::string ascii(n, 'x');
        EXPECT_EQ(util::Utf8ToWide(ascii), std::u16string(n, u'x'));
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
        ASSERT_EQ(wide, ReferenceToWide(bytes)) << "round " << round;
        // What came out is valid, so it converts back and forth unchanged.
        ASSERT_EQ(util::Utf8ToWide(util::WideToUtf8(wide)), wide);
    }
}

}  // namespace
