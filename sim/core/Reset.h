// Every part of the stand-in registers how to forget its world, so that
// each test starts from nothing.
#pragma once

#include <functional>

namespace sim {

// Returns true so that it can initialise a namespace-scope constant.
bool RegisterReset(std::function<void()> reset);
void ResetAll();

}  // namespace sim
