// Framework traces: which event types are traced, and the handlers traced so far.
#include <set>

#include "sdk/ui/UIDefs.h"
#include "sim/core/Reset.h"
#include "sim/ui/UiDriver.h"

namespace {

struct TraceState {
    std::set<int32_t> types;
    std::vector<std::string> traces;
};

TraceState& State() {
    static TraceState state;
    return state;
}

const bool kRegistered = sim::RegisterReset([] { State() = TraceState{}; });

}  // namespace

namespace sim {
void EnableUiTrace(int32_t type) { State().types.insert(type); }
const std::vector<std::string>& UiTraces() { return State().traces; }
}  // namespace sim

bool IsTraceUIMsgType(int32_t type) { return State().types.count(type) != 0; }

CUITrace::CUITrace(int32_t, const std::string& name) { State().traces.push_back(name); }

CUITrace::~CUITrace() = default;
