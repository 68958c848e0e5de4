// The host's own objects: the services and the context-menu provider its
// class factory makes, the services its registry offers by name, and the
// usage reports it keeps.
#pragma once

#include <string>

#include "sdk/pfx.h"

namespace sim {

// A new object of a host service (count 1); false for other classes.
bool CreateHostService(pfx::IObject** out, const pfx::GUID& classId);

// Records a use reported to the application object.
void RecordUsageReport(const char* event, const char* action);
// A new object of a class that the host itself implements; null otherwise.
pfx::IObject* CreateHostObject(const pfx::GUID& classId);
// A service of the host's registry (not a new reference); null when not offered.
pfx::IObject* FindHostService(const std::u16string& name);

}  // namespace sim
