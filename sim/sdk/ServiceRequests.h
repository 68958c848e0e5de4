// Requests of the bus and host services follow the SDK's rules: the driver
// may refuse or fail the next one, and completions come later (or wait
// while held).
#pragma once

#include <functional>
#include <optional>

#include "sdk/qel.h"
#include "sdk/qel_bus.h"
#include "sim/sdk/SdkDriver.h"

namespace sim::sdk {

// The code the next request of that kind answers at once (0: taken).
int TakeServiceRefusal(SdkCall call);
// The code its completion reports instead of success, if the driver set one.
std::optional<int> TakeServiceFailure(SdkCall call);
void CompleteLater(std::function<void()> completion);

}  // namespace sim::sdk

namespace sim::sdk {
// The parts of the account's service bus; null when switched off.
IEmailService* EmailServiceOf(qel_handle account);
// The account's service bus: null for an unknown account, or while any of
// its parts is switched off (a client without the bus offers none of them).
IQelBusService* BusServiceOf(qel_handle account);
}  // namespace sim::sdk
