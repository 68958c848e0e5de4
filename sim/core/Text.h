// UTF-8 <-> UTF-16 for the stand-in itself. Invalid input is replaced
// with U+FFFD rather than refused, as the SDK does.
#pragma once

#include <string>
#include <string_view>

namespace sim {

std::u16string ToWide(std::string_view utf8);
std::string ToUtf8(std::u16string_view utf16);
inline std::u16string ToWide(const char* utf8) { return utf8 ? ToWide(std::string_view(utf8)) : std::u16string(); }
inline std::string ToUtf8(const char16_t* utf16) { return utf16 ? ToUtf8(std::u16string_view(utf16)) : std::string(); }

}  // namespace sim
