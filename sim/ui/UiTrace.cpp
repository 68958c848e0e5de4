// Framework traces: which event types are traced, and the handlers traced so far.
#include <set>

#include "sdk/ui/UIDefs.h"
#include "sim/core/Reset.h"
#include "sim/ui/UiDriver.h"
#include "sim/ui/UiInternal.h"

namespace {

struct TraceState {
    std::set<int32_t> types;
    std::vector<std::string> traces;
};

TraceState& State() {
    static TraceState state;
    return state;
}

uint64_t g_resetEpoch = 0;

const bool kRegistered = sim::RegisterReset([] {
    State() = TraceState{};
    ++g_resetEpoch;
});

}  // namespace

namespace sim::ui {
uint64_t ResetEpoch() { return g_resetEpoch; }
}  // namespace sim::ui

namespace sim {
void EnableUiTrace(int32_t type) { State().types.insert(type); }
const std::vector<std::string>& UiTraces() { return State().traces; }
}  // namespace sim

bool IsTraceUIMsgType(int32_t type) { return State().types.count(type) != 0; }

CUITrace::CUITrace(int32_t, const std::string& name) { State().traces.push_back(name); }

CUITrace::~CUITrace() = default;
