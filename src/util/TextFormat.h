// Filling the placeholders of localised texts (notices, tips, counts).
// printf would do it differently per C runtime: numbered placeholders
// ("%2$s") are not filled by every one, and a text from a skin file that
// holds more placeholders than the caller passes, or ones of another kind,
// would read past the arguments. This fills them with our own code: the
// same output on every system, and nothing is read that was not passed.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace util {

// `%N$s` (N counted from 1) takes the N-th argument wherever it stands, so
// that a language may put them in its own order; `%s` takes the next
// argument in order; `%%` is one percent sign. The conversion letter may be
// s, d, i or u: every argument is already text. A placeholder whose argument
// is missing, and any other `%`, stay as they stand. What an argument holds
// is never read as placeholders itself.
std::u16string FillPlaceholders(std::u16string_view text, std::initializer_list<std::u16string_view> args);

}  // namespace util
