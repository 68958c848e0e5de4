// The stand-in platform reset before and after one fuzz input: what the
// code under test logged or left in it goes with the input, so that no
// input sees another's and the fuzzer's leak check finds nothing pending.
#pragma once

#include "sim/driver.h"

namespace fuzz {

struct FreshStandIn {
    FreshStandIn() { sim::ResetAll(); }
    ~FreshStandIn() { sim::ResetAll(); }
    FreshStandIn(const FreshStandIn&) = delete;
    FreshStandIn& operator=(const FreshStandIn&) = delete;
};

}  // namespace fuzz
