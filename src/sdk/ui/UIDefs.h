// The UI framework's plain records: events a control receives, the
// notifications it raises, the receiver of notifications, a pointer array
// and the DPI scale.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sdk/win32.h"

class CControlUI;

struct TPointUI {
    int32_t x = 0;
    int32_t y = 0;
};

// A rectangle that compares and measures itself.
class CRectX : public RECT {
public:
    CRectX() = default;
    CRectX(const RECT& r) : RECT(r) {}
    CRectX(int32_t l, int32_t t, int32_t r, int32_t b) : RECT{l, t, r, b} {}
    int32_t GetWidth() const { return right - left; }
    int32_t GetHeight() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(TPointUI p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    friend bool operator==(const CRectX& a, const CRectX& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
    friend bool operator!=(const CRectX& a, const CRectX& b) { return !(a == b); }
};

// Event types a control receives through CControlUI::Event. The numbers
// are the framework's; handlers compare against them.
enum UIEventType : int32_t {
    UIEVENT_MOUSELEAVE = 3,
    UIEVENT_MOUSEENTER = 4,   // the pointer entered or rests over the control
    UIEVENT_MOUSEMOVE = 5,
    UIEVENT_BUTTONDOWN = 6,
    UIEVENT_BUTTONUP = 7,
    UIEVENT_DROPFILES = 8,    // wParam: the dropped-files handle
    UIEVENT_RBUTTONDOWN = 9,
    UIEVENT_DBLCLICK = 10,
    UIEVENT_KEYDOWN = 12,     // chKey: the virtual key
    UIEVENT_KEYUP = 13,
    UIEVENT_CHAR = 15,        // chKey: the character (13 for Enter)
    UIEVENT_SCROLLWHEEL = 16,
    UIEVENT_SETFOCUS = 23,
    UIEVENT_KILLFOCUS = 24,
    UIEVENT_VSCROLL = 26,
    UIEVENT_TIMER = 29,       // wParam: the timer id
    UIEVENT_WINDOWSIZE = 30,  // the control's position or size changed
    // A handler that took a key sets the event's type to this, so that the
    // control's own handling leaves it alone.
    UIEVENT_HANDLED = 914,
};

// Notification types raised by controls to their notify receivers.
enum UINotifyType : int32_t {
    UINOTIFY_CLICK = 1,           // buttons and menu items
    UINOTIFY_SELCHANGE = 5,
    UINOTIFY_SETFOCUS = 6,
    UINOTIFY_DROPFILES = 8,
    UINOTIFY_TEXTCHANGED = 9,
    UINOTIFY_DBLCLICK = 30,
    UINOTIFY_DBLCLICK_IMAGE = 31,
    UINOTIFY_LINK = 32,
    UINOTIFY_RCLICK = 47,
    UINOTIFY_RE_ZOOM = 1031,      // a rich edit's zoom changed
    UINOTIFY_RE_ADDMSG = 1032,    // a message was added to a message view
};

struct TEventUI {
    int32_t Type = 0;
    CControlUI* pSender = nullptr;
    uint32_t dwTimestamp = 0;
    TPointUI ptMouse;
    char16_t chKey = 0;
    uint16_t wKeyState = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

struct TNotifyUI {
    int32_t nType = 0;
    CControlUI* pSender = nullptr;
    uint32_t dwTimestamp = 0;
    TPointUI ptMouse;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

// Receives control notifications; true when it took the notification.
class INotifyUI {
public:
    virtual ~INotifyUI() = default;
    virtual bool ProcessNotify(TNotifyUI& msg) = 0;
};

// The framework's array of untyped pointers (lists of embedded objects).
class CStdPtrArray {
public:
    int GetSize() const { return int(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }
    void* GetAt(int index) const { return index >= 0 && index < GetSize() ? m_items[size_t(index)] : nullptr; }
    void* operator[](int index) const { return GetAt(index); }
    void Add(void* item) { m_items.push_back(item); }
    void Empty() { m_items.clear(); }

private:
    std::vector<void*> m_items;
};

// Screen scale: lengths written for 96 dpi, scaled to the current one.
class CDPI {
public:
    static int Scale(int length);
    static int GetScale();  // percent, 100 at 96 dpi
};

// Sees a window's messages before the window does (popups that close on
// a click elsewhere). Setting `handled` keeps the message from the window.
class IMessageFilterUI {
public:
    virtual ~IMessageFilterUI() = default;
    virtual intptr_t MessageFilter(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled) = 0;
};

// Whether framework events and notifications of this type are traced.
bool IsTraceUIMsgType(int32_t type);

// Traces one handling of a framework event or notification: the name of
// the handler, while it runs.
class CUITrace {
public:
    CUITrace(int32_t type, const std::string& name);
    ~CUITrace();
    CUITrace(const CUITrace&) = delete;
    CUITrace& operator=(const CUITrace&) = delete;
};
