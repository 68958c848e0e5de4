#include "util/Strings.h"

#include <cstdio>
#include <vector>

#include "sdk/qel.h"

namespace util {

std::u16string Utf8ToWide(std::string_view text) {
    // The SDK converts zero-terminated text; copy the result at once.
    std::string copy(text);
    const char16_t* wide = qel_utf8_to_unicode(copy.c_str());
    return wide ? std::u16string(wide) : std::u16string();
}

std::string WideToUtf8(std::u16string_view text) {
    std::u16string copy(text);
    const char* narrow = qel_unicode_to_utf8(copy.c_str());
    return narrow ? std::string(narrow) : std::string();
}

int CompareNoCase(std::u16string_view a, std::u16string_view b) {
    auto fold = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; };
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const char16_t x = fold(a[i]), y = fold(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
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

int WToI(std::u16string_view text) { return ParseLeadingInt<int>(text); }
int64_t WToI64(std::u16string_view text) { return ParseLeadingInt<int64_t>(text); }

}  // namespace util
