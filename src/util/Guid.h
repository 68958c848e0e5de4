// Identifiers as the host writes them.
#pragma once

#include <string>

#include "sdk/pfx.h"

namespace util {

// "{%08lX-%04X-%04x-%02X%02X-%02X%02X%02X%02X%02X%02X}": the third group is
// written in lower case, as the host expects it.
std::u16string FormatGuid(const pfx::GUID& guid);

}  // namespace util
