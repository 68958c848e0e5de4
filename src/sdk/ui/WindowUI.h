// A top-level or popup window of the framework: a handle, a root control
// built from the layout of the window's name, focus and visibility.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sdk/ui/ContainerUI.h"

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;
constexpr int SW_SHOWNOACTIVATE = 4;

class CWindowUI {
public:
    CWindowUI();
    virtual ~CWindowUI();
    CWindowUI(const CWindowUI&) = delete;
    CWindowUI& operator=(const CWindowUI&) = delete;

    // Creates the window: a new handle, the root built from the layout
    // named `name` when there is one (an empty container otherwise), then
    // OnCreate. Null when the window exists already.
    HWND Create(HWND parent, const char16_t* name, uint32_t style = 0, uint32_t exStyle = 0, int x = 0, int y = 0,
                int width = 0, int height = 0);
    HWND GetHWND() const { return m_hwnd; }
    HWND GetParentHWND() const { return m_parent; }
    const std::u16string& GetWindowName() const { return m_name; }
    uint32_t GetStyle() const { return m_style; }
    uint32_t GetExStyle() const { return m_exStyle; }

    void ShowWindow(bool show = true, bool takeFocus = true);
    void ShowWindow(int command);
    bool IsWindowVisible() const { return m_hwnd && m_visible; }
    // Asks OnClose; when it agrees, hides the window and, on the loop's next
    // turn, destroys the root and the handle and calls OnFinalMessage
    // (which may delete the object).
    void CloseWindow(int code = 0);
    int GetCloseCode() const { return m_closeCode; }
    bool IsClosing() const { return m_closing; }

    void MoveWindow(int x, int y, int width, int height);
    void SetWindowPos(int x, int y, int width, int height, uint32_t flags);
    RECT GetWindowRect() const;
    RECT GetClientRect() const;
    // Client coordinates (those of controls) to the screen's and back.
    TPointUI ClientToScreen(TPointUI point) const;
    TPointUI ScreenToClient(TPointUI point) const;
    RECT ClientToScreen(const RECT& rect) const;
    void Invalidate() { ++m_invalidateCount; }
    int GetInvalidateCount() const { return m_invalidateCount; }
    void SetForegroundWindow() { ++m_foregroundCount; }
    int GetForegroundCount() const { return m_foregroundCount; }
    void EnableMove(bool enable) { m_movable = enable; }
    bool IsMovable() const { return m_movable; }
    void SetLayerWindow(bool layered, bool alpha);
    bool IsLayered() const { return m_layered; }
    // The smallest size the window takes: its layout's "mininfo" ("w,h"),
    // (0, 0) when the layout names none.
    TSizeUI GetMinInfo() const;

    CContainerUI* GetRoot() const { return m_root; }
    // Replaces the root (the old one is destroyed); takes ownership.
    void AttachRoot(CContainerUI* root);
    CControlUI* FindControl(const std::u16string& name) const;

    CControlUI* GetFocus() const { return m_focus; }
    // Moves the focus: kill-focus event to the old control, set-focus event
    // and notification to the new one.
    void SetFocus(CControlUI* control);

    void AddNotifier(INotifyUI* notifier);
    void RemoveNotifier(INotifyUI* notifier);
    // The window's receivers in order (the window itself first when it
    // receives notifications); true when one took it.
    bool DispatchNotify(TNotifyUI& msg);

    // Window messages that reach the window (the driver sends them).
    virtual intptr_t WindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam);
    // The message filters first, then WindowProc.
    intptr_t SendMessage(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
    void AddMessageFilter(IMessageFilterUI* filter);
    void RemoveMessageFilter(IMessageFilterUI* filter);

    // The window whose handle this is, null when none.
    static CWindowUI* FromHandle(HWND hwnd);

    // Framework internals.
    void ForgetControl(CControlUI* control);

protected:
    virtual void OnCreate() {}
    // False keeps the window open.
    virtual bool OnClose(int code);
    virtual void OnFinalMessage(HWND) {}

private:
    void DestroyNow();

    HWND m_hwnd = nullptr;
    HWND m_parent = nullptr;
    std::u16string m_name;
    uint32_t m_style = 0;
    uint32_t m_exStyle = 0;
    RECT m_rect;
    bool m_visible = false;
    bool m_movable = true;
    bool m_layered = false;
    int m_closeCode = -1;
    bool m_closing = false;
    int m_foregroundCount = 0;
    int m_invalidateCount = 0;
    CContainerUI* m_root = nullptr;
    CControlUI* m_focus = nullptr;
    std::vector<INotifyUI*> m_notifiers;
    std::vector<IMessageFilterUI*> m_filters;
};

// A popup that shows without taking activation from the window under it.
class CNoActiveWindowUI : public CWindowUI {};

// A window with named attributes of its own (such as "msghead").
class CWindowExUI : public CWindowUI {
public:
    void SetWindowAttribute(const std::u16string& name, const std::u16string& value) { m_attributes[name] = value; }
    // "" when the window has no such attribute.
    std::u16string GetWindowAttribute(const std::u16string& name) const;

private:
    std::map<std::u16string, std::u16string> m_attributes;
};

// True while a window with this handle exists.
bool IsWindow(HWND hwnd);
