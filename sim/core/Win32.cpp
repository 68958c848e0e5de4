// The operating-system calls: module files and key state.
#include <dlfcn.h>
#include <unistd.h>

#include <map>
#include <string>

#include "sdk/win32.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/driver.h"

namespace sim {
namespace {
std::map<int, bool>& Keys() {
    static std::map<int, bool> keys;
    return keys;
}
const bool kRegistered = RegisterReset([] { Keys().clear(); });
}  // namespace

void SetKeyDown(int virtualKey, bool down) { Keys()[virtualKey] = down; }

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
    auto it = sim::Keys().find(virtualKey);
    return it != sim::Keys().end() && it->second ? int16_t(0x8000) : int16_t(0);
}
