// The desktop around the chat windows: monitors, the cursor, installed
// font families, the colour dialog and the configuration folders.
#include <algorithm>
#include <deque>
#include <optional>

#include "sdk/confinfo.h"
#include "sdk/win32.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/driver.h"

namespace sim {
namespace {

struct DesktopState {
    std::vector<RECT> monitors{RECT{0, 0, 1920, 1080}};
    POINT cursor;
    std::vector<std::u16string> fonts{u"Tavi Sans", u"Arial", u"Courier New", u"Tavi Serif", u"Arial"};
    int fontEnumerations = 0;
    std::deque<std::optional<ColorAnswer>> colorAnswers;
    std::vector<ColorDialogCall> colorCalls;
    std::optional<std::u16string> miscPath;
    std::optional<std::u16string> moduleConfPath;
};

DesktopState& State() {
    static DesktopState state;
    return state;
}

const bool kRegistered = RegisterReset([] { State() = DesktopState{}; });

// A monitor handle is its index plus one.
HMONITOR MonitorHandle(size_t index) { return reinterpret_cast<HMONITOR>(uintptr_t(index + 1)); }

int64_t DistanceTo(const RECT& r, POINT p) {
    const int64_t dx = p.x < r.left ? r.left - p.x : p.x >= r.right ? p.x - r.right + 1 : 0;
    const int64_t dy = p.y < r.top ? r.top - p.y : p.y >= r.bottom ? p.y - r.bottom + 1 : 0;
    return dx * dx + dy * dy;
}

}  // namespace

void SetMonitors(const std::vector<RECT>& monitors) {
    State().monitors = monitors.empty() ? std::vector<RECT>{RECT{0, 0, 1920, 1080}} : monitors;
}
void SetCursorPoint(int32_t x, int32_t y) { State().cursor = POINT{x, y}; }
void SetInstalledFonts(const std::vector<std::u16string>& families) { State().fonts = families; }
int FontEnumerationCount() { return State().fontEnumerations; }
void QueueColorAnswer(const ColorAnswer& answer) { State().colorAnswers.emplace_back(answer); }
void QueueColorCancel() { State().colorAnswers.emplace_back(std::nullopt); }
const std::vector<ColorDialogCall>& ColorDialogCalls() { return State().colorCalls; }
void SetConfMiscPath(const std::u16string& folder) { State().miscPath = folder; }
void SetModuleConfPath(const std::u16string& folder) { State().moduleConfPath = folder; }

}  // namespace sim

bool GetCursorPos(POINT* point) {
    if (!point) return false;
    *point = sim::State().cursor;
    return true;
}

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const int64_t product = int64_t(a) * b;
    const int64_t half = (c < 0 ? -int64_t(c) : int64_t(c)) / 2;
    const bool negative = (product < 0) != (c < 0);
    const int64_t magnitude = ((product < 0 ? -product : product) + half) / (c < 0 ? -int64_t(c) : int64_t(c));
    return int(negative ? -magnitude : magnitude);
}

// The user answers with the next queued answer; without one the dialog is
// cancelled. The custom colours the user edits are written back, as the
// platform's dialog does.
bool ChooseColorW(CHOOSECOLORW* choose) {
    if (!choose) return false;
    sim::ColorDialogCall call;
    call.owner = choose->hwndOwner;
    call.initial = choose->rgbResult;
    call.flags = choose->Flags;
    call.hooked = choose->lpfnHook != nullptr;
    if (choose->lpCustColors) call.custom.assign(choose->lpCustColors, choose->lpCustColors + 16);
    sim::State().colorCalls.push_back(call);
    // The hook sees the dialog's first message, as on the platform.
    if (choose->lpfnHook && (choose->lpfnHook(nullptr, 0x0110, 0, 0) != 0)) return false;
    auto& answers = sim::State().colorAnswers;
    if (answers.empty()) return false;
    const std::optional<sim::ColorAnswer> answer = answers.front();
    answers.pop_front();
    if (!answer) return false;
    choose->rgbResult = answer->color & 0xFFFFFFu;
    if (choose->lpCustColors) {
        for (const auto& [index, color] : answer->custom) {
            if (index >= 0 && index < 16) choose->lpCustColors[index] = color;
        }
    }
    return true;
}

HDC GetDC(HWND) { return reinterpret_cast<HDC>(uintptr_t(0xDC)); }
int ReleaseDC(HWND, HDC) { return 1; }

int EnumFontFamiliesExW(HDC dc, LOGFONTW* filter, FONTENUMPROCW proc, intptr_t lParam, uint32_t) {
    if (!dc || !filter || !proc) return 0;
    ++sim::State().fontEnumerations;
    int last = 1;
    for (const std::u16string& family : sim::State().fonts) {
        LOGFONTW font;
        const size_t n = std::min(family.size(), size_t(31));
        std::copy_n(family.begin(), n, font.lfFaceName);
        last = proc(&font, nullptr, 4, lParam);
        if (last == 0) break;
    }
    return last;
}

HMONITOR MonitorFromPoint(POINT point, uint32_t) {
    const auto& monitors = sim::State().monitors;
    size_t best = 0;
    for (size_t i = 1; i < monitors.size(); ++i) {
        if (sim::DistanceTo(monitors[i], point) < sim::DistanceTo(monitors[best], point)) best = i;
    }
    return sim::MonitorHandle(best);
}

bool GetMonitorInfoW(HMONITOR monitor, MONITORINFO* info) {
    const size_t index = reinterpret_cast<uintptr_t>(monitor);
    const auto& monitors = sim::State().monitors;
    if (!info || index == 0 || index > monitors.size()) return false;
    info->rcMonitor = monitors[index - 1];
    info->rcWork = monitors[index - 1];
    info->dwFlags = index == 1 ? 1 : 0;
    return true;
}

// The first monitor is the primary one; the virtual screen spans them all.
int GetSystemMetrics(int index) {
    const auto& monitors = sim::State().monitors;
    switch (index) {
        case SM_CXSCREEN: return monitors[0].right - monitors[0].left;
        case SM_CYSCREEN: return monitors[0].bottom - monitors[0].top;
        case SM_CXVIRTUALSCREEN: {
            int32_t left = monitors[0].left, right = monitors[0].right;
            for (const RECT& r : monitors) {
                left = std::min(left, r.left);
                right = std::max(right, r.right);
            }
            return right - left;
        }
        default: return 0;
    }
}

namespace confinfo_handle {
std::u16string GetConfMiscPath() { return sim::State().miscPath.value_or(u""); }
}  // namespace confinfo_handle

// The stand-in keeps a module's configuration files with its skin.
std::u16string GetModuleConfPath(HMODULE module) {
    if (sim::State().moduleConfPath) return *sim::State().moduleConfPath;
    const std::u16string path = GetModuleFileNameW(module);
    const size_t cut = path.find_last_of(u"\\/");
    return cut == std::u16string::npos ? std::u16string() : path.substr(0, cut + 1) + u"skin/";
}
