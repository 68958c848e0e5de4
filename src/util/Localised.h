// The one way the component reads a text of the user's language.
#pragma once

#include <string>

namespace util {

// The localised text of a key such as "#SEND_MESSAGE"; "" when the UI
// engine has none. A copy, so it outlives the next lookup.
std::u16string Localised(const char16_t* key);

}  // namespace util
