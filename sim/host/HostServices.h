// Objects that the host itself offers through its class factory.
#pragma once

#include "sdk/pfx.h"

namespace sim {

// A new object of a host service (count 1); false for other classes.
bool CreateHostService(pfx::IObject** out, const pfx::GUID& classId);

// Records a use reported to the application object.
void RecordUsageReport(const char* event, const char* action);

}  // namespace sim
