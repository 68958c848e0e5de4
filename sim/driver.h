// The driver API: how a test or the host program builds a world, acts as
// the user, the peer and the server, and observes what happened.
#pragma once

#include "sim/core/CoreDriver.h"
#include "sim/host/HostDriver.h"
#include "sim/sdk/ContentDriver.h"
#include "sim/sdk/SdkDriver.h"
#include "sim/sdk/OtherWindowsDriver.h"
#include "sim/ui/UiDriver.h"
