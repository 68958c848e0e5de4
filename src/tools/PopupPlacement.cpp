#include "tools/PopupPlacement.h"

#include "sdk/ui.h"

namespace tavi {

bool IsMultiChoiceKeyDown() {
    for (int key : {VK_LCONTROL, VK_RCONTROL, VK_LSHIFT, VK_RSHIFT}) {
        if (GetKeyState(key) & 0x8000) return true;
    }
    return false;
}

RECT PlaceBesideAnchor(const RECT& anchor, TSizeUI size) {
    MONITORINFO info;
    HMONITOR monitor = MonitorFromPoint(POINT{anchor.left, anchor.top}, MONITOR_DEFAULTTONEAREST);
    if (!GetMonitorInfoW(monitor, &info)) info.rcMonitor = RECT{};
    const RECT& screen = info.rcMonitor;
    RECT rect;
    rect.left = anchor.left - size.cx / 2;
    if (rect.left < screen.left) rect.left = screen.left;
    const bool lowerHalf = anchor.top > (screen.bottom - screen.top) / 2;
    rect.bottom = lowerHalf ? anchor.top : anchor.bottom + size.cy;
    rect.top = rect.bottom - size.cy;
    rect.right = rect.left + size.cx;
    return rect;
}

void KeepInsideScreen(RECT& rect) {
    IUIEngine* engine = GetUIEngine();
    if (!engine || !engine->IsRTLLayout()) return;
    const int virtualWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int32_t shift = 0;
    if (virtualWidth < rect.right) shift = rect.right - (virtualWidth - 2);
    else if (rect.right > screenWidth && rect.left < screenWidth) shift = rect.right - (screenWidth - 2);
    rect.left -= shift;
    rect.right -= shift;
}

}  // namespace tavi
