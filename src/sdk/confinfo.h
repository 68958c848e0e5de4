// Where the client keeps configuration files: its miscellaneous
// configuration folder and each module's own configuration folder. Both
// paths end with a separator, so that a file name can be appended.
#pragma once

#include <string>

#include "sdk/win32.h"

namespace confinfo_handle {
// Empty when the client has no such folder.
std::u16string GetConfMiscPath();
}  // namespace confinfo_handle

std::u16string GetModuleConfPath(HMODULE module);
