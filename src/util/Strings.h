// The component's one set of text helpers: UTF-8/UTF-16 conversion,
// case-insensitive comparison, printf-style formatting and number parsing.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>
#include <string_view>

#include "sdk/platform.h"

namespace util {

std::u16string Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::u16string_view text);

// A pointer that may be null, as a wide string ("" for null).
inline std::u16string SafeWide(const char16_t* text) { return text ? std::u16string(text) : std::u16string(); }

// Case-insensitive comparison with ASCII folding: <0, 0 or >0.
int CompareNoCase(std::u16string_view a, std::u16string_view b);
inline bool EqualsNoCase(std::u16string_view a, std::u16string_view b) { return CompareNoCase(a, b) == 0; }

// printf-style formatting. Wide string arguments are passed as UTF-8
// (`WideToUtf8(x).c_str()`); the result is converted once at the end.
std::string Format(const char* format, ...) TAVI_PRINTF_FORMAT(1, 2);
std::u16string WFormat(const char* format, ...) TAVI_PRINTF_FORMAT(1, 2);
std::string FormatV(const char* format, va_list args);

// Leading decimal integer like the platform's _wtoi: optional white space
// and sign, digits until the first other character, 0 when none.
int WToI(std::u16string_view text);
int64_t WToI64(std::u16string_view text);

// Where to cut `text` to keep at most `units` UTF-16 units in front: at
// `units`, or one earlier when that would part a surrogate pair (the pair
// goes behind the cut). Never beyond the text's end.
size_t CutBeforeUnits(std::u16string_view text, size_t units);

// Whether one entry of a comma-separated list (such as a mention list) is
// exactly `entry`.
bool ListContains(std::string_view list, std::string_view entry);

}  // namespace util
