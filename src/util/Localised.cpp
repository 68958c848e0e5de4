#include "util/Localised.h"

#include "sdk/ui.h"
#include "util/Strings.h"

namespace util {

std::u16string Localised(const char16_t* key) { return SafeWide(I18NSTR(key, 0)); }

}  // namespace util
