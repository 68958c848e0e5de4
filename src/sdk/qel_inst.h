// An SDK instance as the host hands it out: the account of a window.
#pragma once

#include <string>

#include "sdk/pfx.h"
#include "sdk/qel.h"

namespace qel {

struct IQelInst : pfx::IObject {
    virtual qel_handle GetAccount() = 0;
    // The instance's text that display records carry (their sender lookup uses it).
    virtual std::u16string GetInstText() = 0;
    // The protocol the instance speaks ("prpl-kiv-vt", ...).
    virtual std::string GetProtocolId() { return std::string(); }
};

}  // namespace qel
