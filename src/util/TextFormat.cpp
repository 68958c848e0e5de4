#include "util/TextFormat.h"

#include <cstddef>

namespace util {
namespace {

// The unit at `i`, or none past the end.
char16_t At(std::u16string_view text, size_t i) { return i < text.size() ? text[i] : u'\0'; }

bool IsConversion(char16_t c) { return c == u's' || c == u'd' || c == u'i' || c == u'u'; }

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// One placeholder at text[at] == '%': its length and which argument it takes
// (counted from 0); length 0 when it is not one.
struct SPlaceholder {
    size_t length;
    size_t argument;
};

SPlaceholder ReadPlaceholder(std::u16string_view text, size_t at, size_t& nextInOrder) {
    size_t end = at + 1;
    if (IsConversion(At(text, end))) return {2, nextInOrder++};
    // "%N$s": a few digits are plenty; more could only overflow.
    size_t number = 0;
    while (IsDigit(At(text, end)) && end - at <= 4) number = number * 10 + size_t(text[end++] - u'0');
    if (number == 0 || At(text, end) != u'$' || !IsConversion(At(text, end + 1))) return {};
    return {end + 2 - at, number - 1};
}

}  // namespace

std::u16string FillPlaceholders(std::u16string_view text, std::initializer_list<std::u16string_view> args) {
    std::u16string filled;
    size_t nextInOrder = 0;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] != u'%') {
            filled += text[i++];
            continue;
        }
        if (At(text, i + 1) == u'%') {
            filled += u'%';
            i += 2;
            continue;
        }
        const SPlaceholder placeholder = ReadPlaceholder(text, i, nextInOrder);
        if (placeholder.length == 0) {
            filled += text[i++];
            continue;
        }
        // A placeholder without its argument stays as it stands.
        if (placeholder.argument >= args.size()) {
            filled += text.substr(i, placeholder.length);
            i += placeholder.length;
            continue;
        }
        filled += args.begin()[placeholder.argument];
        i += placeholder.length;
    }
    return filled;
}

}  // namespace util
