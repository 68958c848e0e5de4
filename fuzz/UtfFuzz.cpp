// The text converters against a slow decoder written from the table of
// well-formed sequences: any bytes decode alike, and what comes out of a
// conversion converts back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "util/Strings.h"
#include "util/Utf8Reference.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string wide = util::Utf8ToWide(bytes);
    if (wide != test::ReferenceToWide(bytes)) __builtin_trap();
    if (util::Utf8ToWide(util::WideToUtf8(wide)) != wide) __builtin_trap();

    // The same bytes read as UTF-16 units: lone surrogates become U+FFFD,
    // pairs survive, and the result is valid UTF-8.
    std::u16string units(size / 2, u'\0');
    if (!units.empty()) std::memcpy(units.data(), data, units.size() * 2);
    const std::string narrow = util::WideToUtf8(units);
    if (test::ReferenceToWide(narrow) != util::Utf8ToWide(narrow)) __builtin_trap();
    if (util::WideToUtf8(util::Utf8ToWide(narrow)) != narrow) __builtin_trap();
    return 0;
}
