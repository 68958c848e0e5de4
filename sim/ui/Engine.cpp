// The engine's and resources' queries that the driver sets.
#include "sdk/ui.h"
#include "sim/core/Reset.h"
#include "sim/ui/UiDriver.h"

namespace {

struct EngineState {
    bool rtl = false;
    std::u16string fontName = u"Tavi Sans";
    int fontSize = 9;
    std::vector<sim::EngineNotice> notices;
};

EngineState& State() {
    static EngineState state;
    return state;
}

const bool kRegistered = sim::RegisterReset([] { State() = EngineState{}; });

}  // namespace

namespace sim {
void SetRTLLayout(bool rtl) { State().rtl = rtl; }
void SetDefaultFont(const std::u16string& name, int size) {
    State().fontName = name;
    State().fontSize = size;
}
const std::vector<EngineNotice>& EngineNotices() { return State().notices; }
}  // namespace sim

bool IUIEngine::IsRTLLayout() { return State().rtl; }
void IUIEngine::NotifyHost(int code, HWND window) { State().notices.push_back(sim::EngineNotice{code, window}); }
std::u16string IUIRes::GetDefaultFontName() { return State().fontName; }
int IUIRes::GetDefaultFontSize() { return State().fontSize; }
