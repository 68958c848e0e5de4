// A slow UTF-8 decoder for checking the fast one, in tests and fuzzers.
#pragma once

#include <algorithm>
#include <string>

namespace test {

// A slow decoder written from the table of well-formed byte sequences: at
// each position take the longest prefix that still fits a row of the
// table; a whole row is one code point, anything shorter is one U+FFFD.
inline std::u16string ReferenceToWide(const std::string& in) {
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

}  // namespace test
