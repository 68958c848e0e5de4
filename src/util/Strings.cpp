#include "util/Strings.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <cstring>

namespace util {

// The SDK's converters take zero-terminated text, so a body holding a NUL
// would be cut there, and every call would copy twice; the component
// converts length-aware itself, in one pass over the input. Invalid input
// becomes U+FFFD, one for each maximal invalid subsequence, as Unicode
// recommends, so that a damaged byte does not swallow the text after it.
namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr uint64_t kAsciiBytes = 0x8080808080808080ull;
constexpr uint64_t kAsciiUnits = 0xFF80FF80FF80FF80ull;

inline bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// For every lead byte: the length of its sequence (0: it starts none) and
// the allowed range of the byte after it; the rest of a sequence is plain
// continuation bytes. The ranges exclude overlong forms, surrogates and
// code points past U+10FFFF.
struct SLead {
    uint8_t length, low, high;
};
constexpr auto kLeads = [] {
    std::array<SLead, 256> leads{};
    for (int c = 0xC2; c <= 0xDF; ++c) leads[size_t(c)] = {2, 0x80, 0xBF};
    for (int c = 0xE0; c <= 0xEF; ++c) leads[size_t(c)] = {3, 0x80, 0xBF};
    for (int c = 0xF0; c <= 0xF4; ++c) leads[size_t(c)] = {4, 0x80, 0xBF};
    leads[0xE0].low = 0xA0;
    leads[0xED].high = 0x9F;
    leads[0xF0].low = 0x90;
    leads[0xF4].high = 0x8F;
    return leads;
}();

// Widens a run of ASCII: as many whole blocks as hold nothing else. Both
// return how many were done.
size_t WidenAscii(const unsigned char* in, size_t size, char16_t* out) {
    size_t done = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; size - done >= 16; done += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + done));
        if (_mm_movemask_epi8(bytes)) break;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + done), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + done + 8), _mm_unpackhi_epi8(bytes, zero));
    }
#endif
    for (; size - done >= 8; done += 8) {
        uint64_t word;
        std::memcpy(&word, in + done, sizeof(word));
        if (word & kAsciiBytes) break;
        for (size_t k = 0; k < 8; ++k) out[done + k] = char16_t(in[done + k]);
    }
    return done;
}

size_t NarrowAscii(const char16_t* in, size_t size, unsigned char* out) {
    size_t done = 0;
#if defined(__SSE2__)
    const __m128i high = _mm_set1_epi16(short(0xFF80));
    const __m128i zero = _mm_setzero_si128();
    for (; size - done >= 8; done += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + done));
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(units, high), zero)) != 0xFFFF) break;
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + done), _mm_packus_epi16(units, units));
    }
#endif
    for (; size - done >= 4; done += 4) {
        uint64_t word;
        std::memcpy(&word, in + done, sizeof(word));
        if (word & kAsciiUnits) break;
        for (size_t k = 0; k < 4; ++k) out[done + k] = static_cast<unsigned char>(in[done + k]);
    }
    return done;
}

}  // namespace

std::u16string Utf8ToWide(std::string_view text) {
    // Never more UTF-16 units than UTF-8 bytes.
    std::u16string out(text.size(), u'\0');
    char16_t* o = out.data();
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = p + text.size();
    while (p < end) {
        const unsigned char lead = *p;
        if (lead < 0x80) {
            const size_t done = WidenAscii(p, size_t(end - p), o);
            p += done;
            o += done;
            for (; p < end && *p < 0x80; ++p) *o++ = char16_t(*p);
            continue;
        }
        const ptrdiff_t left = end - p;
        // Most of what is not ASCII in chat is three bytes (CJK): a
        // well-formed one goes straight through, anything odd below.
        if ((lead & 0xF0) == 0xE0 && left >= 3 && IsContinuation(p[1]) && IsContinuation(p[2])) {
            const char16_t unit = char16_t((lead & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F));
            if (unit >= 0x800 && (unit < 0xD800 || unit > 0xDFFF)) {
                *o++ = unit;
                p += 3;
                continue;
            }
        }
        const SLead rule = kLeads[lead];
        if (rule.length == 0 || left < 2 || p[1] < rule.low || p[1] > rule.high) {
            *o++ = kReplacement;
            ++p;
            continue;
        }
        if (rule.length == 2) {
            *o++ = char16_t((lead & 0x1F) << 6 | (p[1] & 0x3F));
            p += 2;
            continue;
        }
        // The maximal subpart: as many bytes as still fit the sequence.
        if (left < 3 || !IsContinuation(p[2])) {
            *o++ = kReplacement;
            p += 2;
            continue;
        }
        // Three bytes that fit their lead's rule went through above, so
        // what is still whole here is the start of four.
        if (left < 4 || !IsContinuation(p[3])) {
            *o++ = kReplacement;
            p += 3;
            continue;
        }
        const char32_t cp = (char32_t(lead & 0x07) << 18 | char32_t(p[1] & 0x3F) << 12 | char32_t(p[2] & 0x3F) << 6 |
                             char32_t(p[3] & 0x3F)) -
                            0x10000;
        *o++ = char16_t(0xD800 + (cp >> 10));
        *o++ = char16_t(0xDC00 + (cp & 0x3FF));
        p += 4;
    }
    out.resize(size_t(o - out.data()));
    return out;
}

std::string WideToUtf8(std::u16string_view text) {
    // At most three bytes for each unit: a pair of two units makes four.
    std::string out(text.size() * 3, '\0');
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    const char16_t* p = text.data();
    const char16_t* const end = p + text.size();
    while (p < end) {
        if (*p < 0x80) {
            const size_t done = NarrowAscii(p, size_t(end - p), o);
            p += done;
            o += done;
            for (; p < end && *p < 0x80; ++p) *o++ = static_cast<unsigned char>(*p);
            continue;
        }
        char32_t cp = *p++;
        if (cp < 0x800) {
            *o++ = static_cast<unsigned char>(0xC0 | (cp >> 6));
            *o++ = static_cast<unsigned char>(0x80 | (cp & 0x3F));
            continue;
        }
        if ((cp & 0xF800) == 0xD800) {
            // A high surrogate followed by a low one is one code point;
            // any other surrogate stands alone and is replaced.
            if (cp <= 0xDBFF && p < end && *p >= 0xDC00 && *p <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (char32_t(*p++) - 0xDC00);
                *o++ = static_cast<unsigned char>(0xF0 | (cp >> 18));
                *o++ = static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
                *o++ = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
                *o++ = static_cast<unsigned char>(0x80 | (cp & 0x3F));
                continue;
            }
            cp = kReplacement;
        }
        *o++ = static_cast<unsigned char>(0xE0 | (cp >> 12));
        *o++ = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
        *o++ = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    }
    out.resize(size_t(o - reinterpret_cast<unsigned char*>(out.data())));
    return out;
}

int CompareNoCase(std::u16string_view a, std::u16string_view b) {
    auto fold = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; };
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const char16_t x = fold(a[i]), y = fold(b[i]);
        if (x != y) return int(x) - int(y);
    }
    return int(a.size() > b.size()) - int(a.size() < b.size());
}

std::string FormatV(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed <= 0) return std::string();
    std::vector<char> buffer(size_t(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    return std::string(buffer.data(), size_t(needed));
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    return text;
}

std::u16string WFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    return Utf8ToWide(text);
}

namespace {
template <typename T>
T ParseLeadingInt(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    // Accumulate unsigned so that overflow wraps instead of being undefined.
    uint64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) value = value * 10 + uint64_t(text[i] - u'0');
    if (negative) value = uint64_t(0) - value;
    return T(value);
}
}  // namespace

size_t CutBeforeUnits(std::u16string_view text, size_t units) {
    if (units >= text.size()) return text.size();
    const bool high = units > 0 && text[units - 1] >= 0xD800 && text[units - 1] <= 0xDBFF;
    const bool low = text[units] >= 0xDC00 && text[units] <= 0xDFFF;
    return high && low ? units - 1 : units;
}

bool ListContains(std::string_view list, std::string_view entry) {
    size_t start = 0;
    while (start <= list.size()) {
        const size_t end = std::min(list.find(',', start), list.size());
        if (list.substr(start, end - start) == entry) return true;
        start = end + 1;
    }
    return false;
}

int WToI(std::u16string_view text) { return ParseLeadingInt<int>(text); }
int64_t WToI64(std::u16string_view text) { return ParseLeadingInt<int64_t>(text); }

}  // namespace util
