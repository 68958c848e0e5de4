// The client common library's control binder.
#include <map>
#include <string>

#include "sdk/ctrlbinder.h"
#include "sim/core/Reset.h"

namespace {
std::map<std::u16string, CControlUI*>& Bound() {
    static std::map<std::u16string, CControlUI*> bound;
    return bound;
}
const bool kRegistered = sim::RegisterReset([] { Bound().clear(); });
}  // namespace

void SCtrlValidBinder::SetCtrlPtr(const char16_t* key, CControlUI* control) {
    if (!key) return;
    if (control) Bound()[key] = control;
    else Bound().erase(key);
}

CControlUI* SCtrlValidBinder::GetCtrlPtr(const char16_t* key) {
    if (!key) return nullptr;
    auto it = Bound().find(key);
    return it == Bound().end() ? nullptr : it->second;
}
