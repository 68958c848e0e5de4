#include "sim/core/Reset.h"

#include <vector>

namespace sim {

namespace {
std::vector<std::function<void()>>& Resets() {
    static std::vector<std::function<void()>> resets;
    return resets;
}
}  // namespace

bool RegisterReset(std::function<void()> reset) {
    Resets().push_back(std::move(reset));
    return true;
}

void ResetAll() {
    for (auto& reset : Resets()) reset();
}

}  // namespace sim
