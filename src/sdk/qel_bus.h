// The current account's service bus: one object behind one identifier
// offers the client's e-mail and group-top operations (and whatever else
// the client hangs there); callers take the part they need.
#pragma once

#include "sdk/email.h"
#include "sdk/qel_account.h"
#include "sdk/qel_grptop.h"

inline constexpr const char* kQelBusServiceId = "8305C1B6-6F7C-43A6-B341-2CDCA27ED9B4";

struct IQelBusService : IEmailService, IQelGrpTopService {
protected:
    ~IQelBusService() = default;
};

// Null when the account has no service bus.
inline IQelBusService* QelBusService(qel_handle account) {
    return static_cast<IQelBusService*>(qel_get_bus_interface(account, kQelBusServiceId));
}
