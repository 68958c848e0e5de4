// The host's own objects: the context-menu provider its class factory
// makes, and the services its registry offers by name.
#pragma once

#include <string>

#include "sdk/pfx.h"

namespace sim {

// A new object of a class that the host itself implements; null otherwise.
pfx::IObject* CreateHostObject(const pfx::GUID& classId);
// A service of the host's registry (not a new reference); null when not offered.
pfx::IObject* FindHostService(const std::u16string& name);

}  // namespace sim
