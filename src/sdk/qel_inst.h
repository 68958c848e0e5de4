// An SDK instance as the host hands it out: the account of a window.
#pragma once

#include "sdk/pfx.h"
#include "sdk/qel.h"

namespace qel {

struct IQelInst : pfx::IObject {
    virtual qel_handle GetAccount() = 0;
};

}  // namespace qel
