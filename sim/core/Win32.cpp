// The operating-system calls: module files and key state.
#include <dlfcn.h>
#include <unistd.h>

#include <map>
#include <string>

#include "sdk/pfx.h"
#include "sdk/win32.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/driver.h"

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

HMODULE GetModuleHandleFromAddress(const void* address) {
    Dl_info info{};
    if (!address || dladdr(address, &info) == 0) return nullptr;
    return info.dli_fbase;
}

std::u16string GetModuleFileNameW(HMODULE module) {
    if (!module) return std::u16string();
    // dladdr on the module's base address names the file that maps it.
    Dl_info info{};
    if (dladdr(module, &info) == 0 || !info.dli_fname) return std::u16string();
    std::string path = info.dli_fname;
    if (path.empty() || path[0] != '/') {
        // The main program may be named relative to where it started.
        char resolved[4096];
        ssize_t n = readlink("/proc/self/exe", resolved, sizeof(resolved) - 1);
        if (n > 0) path.assign(resolved, size_t(n));
    }
    return sim::ToWide(path);
}

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
