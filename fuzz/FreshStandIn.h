// The stand-in platform forgotten when one fuzz input is done: what the
// code under test logged or left in it goes with the input, so that no
// input sees another's and the fuzzer's leak check finds nothing pending.
// The process starts with a stand-in that holds nothing, so that a reset
// after each input is all the next one needs.
#pragma once

#include "sim/driver.h"

namespace fuzz {

struct FreshStandIn {
    FreshStandIn() = default;
    ~FreshStandIn() { sim::ResetAll(); }
    FreshStandIn(const FreshStandIn&) = delete;
    FreshStandIn& operator=(const FreshStandIn&) = delete;
};

}  // namespace fuzz
