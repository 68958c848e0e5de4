// The two chat plug-ins the module offers the host.
#pragma once

#include "sdk/pfx.h"

namespace tavi {

bool CreateConvWndPlugin(pfx::IObject** out);
bool CreateShakePlugin(pfx::IObject** out);

}  // namespace tavi
