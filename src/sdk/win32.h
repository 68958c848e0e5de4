// The few operating-system calls the component makes, with the platform's
// names where it has them.
#pragma once

#include <cstdint>
#include <string>

using HMODULE = void*;
using HWND = void*;

// The module that holds the given address (the platform's load
// notification hands the module its own instance handle; here the module
// asks for it with the address of one of its own functions).
HMODULE GetModuleHandleFromAddress(const void* address);
// The full path of the module's file, with the platform's separators.
std::u16string GetModuleFileNameW(HMODULE module);

uint32_t GetTickCount();
// High bit set while the key is down; VK_MENU is the Alt key.
constexpr int VK_MENU = 0x12;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_UP = 0x26;
constexpr int VK_DOWN = 0x28;
int16_t GetKeyState(int virtualKey);

struct RECT {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

namespace pfx {
struct GUID;
}
// A new unique identifier; false when none can be made.
bool CoCreateGuid(pfx::GUID* out);

// ---- Input tools: left/right modifier keys, the colour dialog, font
// families, monitors and screen metrics ----
constexpr int VK_LSHIFT = 0xA0;
constexpr int VK_RSHIFT = 0xA1;
constexpr int VK_LCONTROL = 0xA2;
constexpr int VK_RCONTROL = 0xA3;

constexpr uint32_t WM_KILLFOCUS = 0x0008;
constexpr uint32_t WM_RBUTTONUP = 0x0205;

using COLORREF = uint32_t;

struct POINT {
    int32_t x = 0;
    int32_t y = 0;
};
bool GetCursorPos(POINT* point);
// a * b / c rounded to the nearest, -1 when c is 0.
int MulDiv(int a, int b, int c);

constexpr uint32_t CC_RGBINIT = 0x1;
constexpr uint32_t CC_FULLOPEN = 0x2;
constexpr uint32_t CC_ENABLEHOOK = 0x10;
using LPCCHOOKPROC = uintptr_t (*)(HWND dialog, uint32_t message, uintptr_t wParam, intptr_t lParam);
struct CHOOSECOLORW {
    uint32_t lStructSize = sizeof(CHOOSECOLORW);
    HWND hwndOwner = nullptr;
    COLORREF rgbResult = 0;
    COLORREF* lpCustColors = nullptr;  // 16 entries, kept by the caller
    uint32_t Flags = 0;
    LPCCHOOKPROC lpfnHook = nullptr;
};
// The modal colour dialog: true when the user chose a colour (rgbResult).
bool ChooseColorW(CHOOSECOLORW* choose);

using HDC = void*;
constexpr int32_t DEFAULT_CHARSET = 1;
struct LOGFONTW {
    int32_t lfCharSet = DEFAULT_CHARSET;
    char16_t lfFaceName[32] = {};
};
// Called once per installed font family (and script); nonzero goes on.
using FONTENUMPROCW = int (*)(const LOGFONTW* font, const void* metrics, uint32_t fontType, intptr_t lParam);
int EnumFontFamiliesExW(HDC dc, LOGFONTW* filter, FONTENUMPROCW proc, intptr_t lParam, uint32_t flags);
// The screen's device context for a null window.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);

using HMONITOR = void*;
constexpr uint32_t MONITOR_DEFAULTTONEAREST = 2;
struct MONITORINFO {
    uint32_t cbSize = sizeof(MONITORINFO);
    RECT rcMonitor;
    RECT rcWork;
    uint32_t dwFlags = 0;
};
HMONITOR MonitorFromPoint(POINT point, uint32_t flags);
bool GetMonitorInfoW(HMONITOR monitor, MONITORINFO* info);
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVIRTUALSCREEN = 78;
int GetSystemMetrics(int index);
