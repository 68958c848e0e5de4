// Windows: fake handles in a process-wide registry, a root control built
// from the layout of the window's name, focus and notifier lists.
#include "sdk/ui/WindowUI.h"

#include <algorithm>
#include <map>

#include "sim/core/Loop.h"
#include "sim/core/Reset.h"
#include "sim/ui/UiDriver.h"
#include "sim/ui/UiInternal.h"

namespace {

struct WindowState {
    std::map<HWND, CWindowUI*> windows;
    uintptr_t nextHandle = 0x10010;
    int dpiScale = 100;
};

WindowState& State() {
    static WindowState state;
    return state;
}

// Windows belong to their owners; a reset only forgets the handles' numbering
// once none is left, so handles stay unique within a process.
const bool kRegistered = sim::RegisterReset([] {
    State().dpiScale = 100;
    if (State().windows.empty()) State().nextHandle = 0x10010;
});

constexpr uint32_t kWmPaint = 0x000F;

HWND NewHandle() {
    const uintptr_t value = State().nextHandle;
    State().nextHandle += 0x10;
    return reinterpret_cast<HWND>(value);
}

}  // namespace

int CDPI::Scale(int length) { return length * State().dpiScale / 100; }
int CDPI::GetScale() { return State().dpiScale; }

namespace sim {
void SetDpiScale(int percent) { State().dpiScale = percent > 0 ? percent : 100; }
std::vector<CWindowUI*> Windows() {
    std::vector<CWindowUI*> all;
    for (const auto& [hwnd, window] : State().windows) all.push_back(window);
    return all;
}
}  // namespace sim

bool IsWindow(HWND hwnd) { return hwnd && State().windows.count(hwnd) != 0; }

CWindowUI* CWindowUI::FromHandle(HWND hwnd) {
    auto it = State().windows.find(hwnd);
    return it == State().windows.end() ? nullptr : it->second;
}

CWindowUI::CWindowUI() = default;

CWindowUI::~CWindowUI() {
    if (m_hwnd) State().windows.erase(m_hwnd);
    m_hwnd = nullptr;
    CContainerUI* root = m_root;
    m_root = nullptr;
    m_focus = nullptr;
    CControlUI::Destroy(root);
}

HWND CWindowUI::Create(HWND parent, const char16_t* name, uint32_t style, uint32_t exStyle, int x, int y, int width,
                       int height) {
    if (m_hwnd) return nullptr;
    m_hwnd = NewHandle();
    State().windows[m_hwnd] = this;
    m_parent = parent;
    m_name = name ? name : u"";
    m_style = style;
    m_exStyle = exStyle;
    m_rect = RECT{x, y, x + width, y + height};
    auto* root = new CContainerUI;
    root->SetCoordinate(0, 0, 0, 0, UIANCHOR_FILL);
    // A window without a layout of its name is an empty root.
    sim::ui::BuildLayout(m_name, root);
    AttachRoot(root);
    OnCreate();
    return m_hwnd;
}

void CWindowUI::AttachRoot(CContainerUI* root) {
    CContainerUI* old = m_root;
    m_root = root;
    if (m_focus && old) m_focus = nullptr;
    if (old) CControlUI::Destroy(old);
    if (root) root->ForEach([this](CControlUI* c) { c->SetOwnerWindow(this); });
}

void CWindowUI::ShowWindow(bool show, bool) {
    const bool wasVisible = m_visible;
    m_visible = show && m_hwnd;
    if (!m_visible || wasVisible) return;
    // A window that appears is painted on the loop's next turn.
    const HWND hwnd = m_hwnd;
    sim::Post([hwnd] {
        CWindowUI* window = FromHandle(hwnd);
        if (window && window->IsWindowVisible()) window->SendMessage(kWmPaint);
    });
}

void CWindowUI::ShowWindow(int command) { ShowWindow(command != SW_HIDE); }

void CWindowUI::CloseWindow(int code) {
    if (!m_hwnd || m_closing || !OnClose(code)) return;
    m_closeCode = code;
    m_closing = true;
    m_visible = false;
    // Closing is posted, as the platform does: the caller (often a handler
    // of a control inside this window) finishes before the controls go.
    const HWND hwnd = m_hwnd;
    sim::Post([hwnd] {
        if (CWindowUI* window = FromHandle(hwnd)) window->DestroyNow();
    });
}

void CWindowUI::DestroyNow() {
    const HWND hwnd = m_hwnd;
    State().windows.erase(m_hwnd);
    m_hwnd = nullptr;
    CContainerUI* root = m_root;
    m_root = nullptr;
    m_focus = nullptr;
    CControlUI::Destroy(root);
    OnFinalMessage(hwnd);
}

bool CWindowUI::OnClose(int) { return true; }

void CWindowUI::MoveWindow(int x, int y, int width, int height) { m_rect = RECT{x, y, x + width, y + height}; }

void CWindowUI::SetWindowPos(int x, int y, int width, int height, uint32_t flags) {
    constexpr uint32_t kNoSize = 0x1;
    constexpr uint32_t kNoMove = 0x2;
    const int w = flags & kNoSize ? m_rect.right - m_rect.left : width;
    const int h = flags & kNoSize ? m_rect.bottom - m_rect.top : height;
    const int nx = flags & kNoMove ? m_rect.left : x;
    const int ny = flags & kNoMove ? m_rect.top : y;
    MoveWindow(nx, ny, w, h);
}

RECT CWindowUI::GetWindowRect() const { return m_rect; }

RECT CWindowUI::GetClientRect() const { return RECT{0, 0, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top}; }

TPointUI CWindowUI::ClientToScreen(TPointUI point) const { return TPointUI{point.x + m_rect.left, point.y + m_rect.top}; }

TPointUI CWindowUI::ScreenToClient(TPointUI point) const { return TPointUI{point.x - m_rect.left, point.y - m_rect.top}; }

RECT CWindowUI::ClientToScreen(const RECT& rect) const {
    return RECT{rect.left + m_rect.left, rect.top + m_rect.top, rect.right + m_rect.left, rect.bottom + m_rect.top};
}

void CWindowUI::SetLayerWindow(bool layered, bool) { m_layered = layered; }

TSizeUI CWindowUI::GetMinInfo() const {
    if (!m_root) return TSizeUI{};
    const std::u16string value = m_root->GetAttribute(u"mininfo");
    const size_t comma = value.find(u',');
    if (comma == std::u16string::npos) return TSizeUI{};
    const auto number = [](const std::u16string& text) {
        int32_t n = 0;
        for (char16_t c : text) {
            if (c < u'0' || c > u'9' || n > 100000) break;
            n = n * 10 + (c - u'0');
        }
        return n;
    };
    return TSizeUI{number(value.substr(0, comma)), number(value.substr(comma + 1))};
}

CControlUI* CWindowUI::FindControl(const std::u16string& name) const {
    if (!m_root || name.empty()) return nullptr;
    return m_root->GetName() == name ? m_root : m_root->FindSubControl(name);
}

void CWindowUI::SetFocus(CControlUI* control) {
    if (control == m_focus) return;
    if (control && control->GetWindow() != this) return;
    CControlUI* old = m_focus;
    m_focus = control;
    if (old) {
        TEventUI lost;
        lost.Type = UIEVENT_KILLFOCUS;
        lost.pSender = old;
        old->Event(lost);
    }
    if (!control || m_focus != control) return;
    TEventUI gained;
    gained.Type = UIEVENT_SETFOCUS;
    gained.pSender = control;
    control->Event(gained);
    if (sim::ui::IsAlive(control)) control->SendNotify(UINOTIFY_SETFOCUS);
}

void CWindowUI::AddNotifier(INotifyUI* notifier) {
    if (notifier && std::find(m_notifiers.begin(), m_notifiers.end(), notifier) == m_notifiers.end())
        m_notifiers.push_back(notifier);
}

void CWindowUI::RemoveNotifier(INotifyUI* notifier) {
    m_notifiers.erase(std::remove(m_notifiers.begin(), m_notifiers.end(), notifier), m_notifiers.end());
}

bool CWindowUI::DispatchNotify(TNotifyUI& msg) {
    if (auto* self = dynamic_cast<INotifyUI*>(this); self && self->ProcessNotify(msg)) return true;
    const auto notifiers = m_notifiers;
    for (INotifyUI* n : notifiers) {
        if (std::find(m_notifiers.begin(), m_notifiers.end(), n) == m_notifiers.end()) continue;
        if (n->ProcessNotify(msg)) return true;
    }
    return false;
}

intptr_t CWindowUI::WindowProc(uint32_t, uintptr_t, intptr_t) { return 0; }

intptr_t CWindowUI::SendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    const HWND hwnd = m_hwnd;
    const auto filters = m_filters;
    for (IMessageFilterUI* filter : filters) {
        if (std::find(m_filters.begin(), m_filters.end(), filter) == m_filters.end()) continue;
        bool handled = false;
        const intptr_t result = filter->MessageFilter(message, wParam, lParam, handled);
        if (handled) return result;
        // A filter may close the window; then the message has nowhere to go.
        if (hwnd && !IsWindow(hwnd)) return 0;
    }
    return WindowProc(message, wParam, lParam);
}

void CWindowUI::AddMessageFilter(IMessageFilterUI* filter) {
    if (filter && std::find(m_filters.begin(), m_filters.end(), filter) == m_filters.end()) m_filters.push_back(filter);
}

void CWindowUI::RemoveMessageFilter(IMessageFilterUI* filter) {
    m_filters.erase(std::remove(m_filters.begin(), m_filters.end(), filter), m_filters.end());
}

void CWindowUI::ForgetControl(CControlUI* control) {
    if (m_focus == control) m_focus = nullptr;
}

std::u16string CWindowExUI::GetWindowAttribute(const std::u16string& name) const {
    auto it = m_attributes.find(name);
    return it == m_attributes.end() ? std::u16string() : it->second;
}
