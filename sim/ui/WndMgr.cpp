// The host's window manager over the stand-in's windows.
#include <map>
#include <string>

#include "sdk/pfx_wndmgr.h"
#include "sdk/ui/WindowUI.h"
#include "sim/core/Reset.h"
#include "sim/ui/UiDriver.h"
#include "sim/ui/UiInternal.h"

namespace {

struct WndMgrState {
    std::map<std::pair<HWND, std::u16string>, CControlUI*> controls;
    std::vector<sim::WndMgrCall> calls;
};

WndMgrState& State() {
    static WndMgrState state;
    return state;
}

const bool kRegistered = sim::RegisterReset([] { State() = WndMgrState{}; });

class WndMgr final : public pfx::IWndMgr {
public:
    CControlUI* FindCtrl(HWND window, const char16_t* key) override {
        if (!key || !*key) return nullptr;
        auto it = State().controls.find({window, key});
        if (it != State().controls.end()) {
            if (sim::ui::IsAlive(it->second)) return it->second;
            State().controls.erase(it);
        }
        CWindowUI* w = CWindowUI::FromHandle(window);
        return w ? w->FindControl(key) : nullptr;
    }

    bool AddCtrl(HWND window, const char16_t* key, CControlUI* control) override {
        if (!key || !*key) return false;
        Record("add", window, key);
        if (!control) return State().controls.erase({window, key}) != 0;
        State().controls[{window, key}] = control;
        return true;
    }

    bool ActivateCtrl(HWND window, const char16_t* key) override {
        CControlUI* control = FindCtrl(window, key);
        Record("activate", window, key);
        if (!control) return false;
        control->SetVisible(true);
        return true;
    }

    bool SetCtrlParam(HWND window, const char16_t* key, intptr_t param) override {
        Record("param", window, key, param);
        return FindCtrl(window, key) != nullptr;
    }

    void RefreshWnd(HWND window) override {
        Record("refresh", window, nullptr);
        if (CWindowUI* w = CWindowUI::FromHandle(window); w && w->GetRoot()) w->GetRoot()->NeedUpdate();
    }

    bool RemoveCtrl(HWND window, const char16_t* key) override {
        Record("remove", window, key);
        CControlUI* control = FindCtrl(window, key);
        State().controls.erase({window, key ? key : u""});
        if (!control) return false;
        auto* parent = dynamic_cast<CContainerUI*>(control->GetParent());
        if (parent) return parent->Remove(control);
        // A control outside any container (a window's root) stays with its window.
        return false;
    }

private:
    static void Record(const char* op, HWND window, const char16_t* key, intptr_t param = 0) {
        State().calls.push_back(sim::WndMgrCall{op, window, key ? key : u"", param});
    }
};

}  // namespace

namespace sim {
pfx::IWndMgr* HostWndMgr() {
    static WndMgr manager;
    return &manager;
}
const std::vector<WndMgrCall>& WndMgrCalls() { return State().calls; }
}  // namespace sim
