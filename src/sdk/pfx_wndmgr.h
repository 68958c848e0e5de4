// The host's window manager: the controls that plug-ins put into host
// windows, kept by (window, key).
#pragma once

#include <cstdint>

#include "sdk/pfx.h"
#include "sdk/win32.h"

class CControlUI;

namespace pfx {

struct IWndMgr {
    virtual ~IWndMgr() = default;
    // The control registered for (window, key), else the control of that
    // name or id in the window; null when there is none.
    virtual CControlUI* FindCtrl(HWND window, const char16_t* key) = 0;
    // Registers (or, with a null control, forgets) the control of (window, key).
    virtual bool AddCtrl(HWND window, const char16_t* key, CControlUI* control) = 0;
    // Brings the control to the front of its window and shows it.
    virtual bool ActivateCtrl(HWND window, const char16_t* key) = 0;
    // Hands the control its parameter.
    virtual bool SetCtrlParam(HWND window, const char16_t* key, intptr_t param) = 0;
    // Re-lays out and repaints the window.
    virtual void RefreshWnd(HWND window) = 0;
    // Takes the control out of its window and destroys it.
    virtual bool RemoveCtrl(HWND window, const char16_t* key) = 0;
};

}  // namespace pfx
