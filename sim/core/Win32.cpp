// The operating-system calls: module files and key state.
#include <map>
#include <string>

#include "sdk/pfx.h"
#include "sdk/win32.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/driver.h"
#include "sim/os/Os.h"

namespace sim {
namespace {
struct Win32State {
    std::map<int, bool> keys;
    // Identifiers are numbered so that transcripts stay the same run to run.
    uint32_t nextGuid = 1;
    int failGuids = 0;
};
Win32State& State() {
    static Win32State state;
    return state;
}
const bool kRegistered = RegisterReset([] { State() = Win32State{}; });
}  // namespace

void SetKeyDown(int virtualKey, bool down) { State().keys[virtualKey] = down; }
void FailNextGuids(int count) { State().failGuids = count; }

}  // namespace sim

HMODULE GetModuleHandleFromAddress(const void* address) { return sim::os::ModuleOfAddress(address); }

std::u16string GetModuleFileNameW(HMODULE module) { return sim::os::ModuleFileName(module); }

int16_t GetKeyState(int virtualKey) {
    const auto& keys = sim::State().keys;
    auto it = keys.find(virtualKey);
    return it != keys.end() && it->second ? int16_t(0x8000) : int16_t(0);
}

bool CoCreateGuid(pfx::GUID* out) {
    if (!out) return false;
    if (sim::State().failGuids > 0) {
        --sim::State().failGuids;
        return false;
    }
    *out = pfx::GUID{};
    out->Data1 = 0x7A710000u + sim::State().nextGuid++;
    out->Data2 = 0x1D;
    out->Data3 = 0xabc;
    return true;
}
