// The current account's service bus: one object behind one identifier
// offers the client's e-mail, group-top and important-message operations;
// callers take the part they need.
#pragma once

#include "sdk/email.h"
#include "sdk/msg_services.h"
#include "sdk/qel_account.h"
#include "sdk/qel_grptop.h"

inline constexpr const char* kQelBusServiceId = "8305C1B6-6F7C-43A6-B341-2CDCA27ED9B4";

struct IQelBusService : IEmailService, IQelGrpTopService, IImportantMsgService {
protected:
    ~IQelBusService() = default;
};

// Null when the account has no service bus.
inline IQelBusService* QelBusService(qel_handle account) {
    return static_cast<IQelBusService*>(qel_get_bus_interface(account, kQelBusServiceId));
}
