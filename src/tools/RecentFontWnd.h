// The pop-up window of recently used fonts, one per process.
#pragma once

#include "sdk/ui/WindowUI.h"

namespace tavi {

class CRecentFontWnd : public CWindowUI {
protected:
    // The window forgets itself in the process state, so the next request
    // builds a new one.
    void OnFinalMessage(HWND hwnd) override;
};

}  // namespace tavi
