// The base of every control of the windowless UI framework: identity,
// state, attributes, coordinates, timers, events and notifications.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "sdk/ui/UIDefs.h"

class CWindowUI;
class CContainerUI;

// Handlers bound to a control's events. A handler answers false to keep
// the event from the handlers after it and from the control's own handling.
class CEventSource {
public:
    using Handler = std::function<bool(TEventUI&)>;
    // Returns a cookie for Unbind.
    int Bind(Handler handler);
    void Unbind(int cookie);
    CEventSource& operator+=(Handler handler) {
        Bind(std::move(handler));
        return *this;
    }
    // False when a handler stopped the event.
    bool Fire(TEventUI& event);
    bool IsEmpty() const { return m_handlers.empty(); }

private:
    std::vector<std::pair<int, Handler>> m_handlers;
    int m_next = 1;
};

// How a control's coordinates (left, top, right, bottom) relate to its
// parent's rectangle, per axis: near edge (both values are offsets from
// the parent's left/top), far edge (both are distances back from the
// parent's right/bottom) or stretched (left/top from the near edge,
// right/bottom from the far edge).
// The corners and then the sides go round clockwise from the top left:
//   0: near/near (top-left)     1: far/near (top-right)
//   2: far/far (bottom-right)   3: near/far (bottom-left)
//   4: stretch/near (a band along the top)   5: far/stretch (a column at the right)
//   6: stretch/far (a band along the bottom) 7: near/stretch (a column at the left)
//   8: stretch/stretch (fills the parent inside the four insets)
// (horizontal/vertical). A band along the top with (0, 0, 0, 24) is 24 high;
// a bottom-right button (91, 29, 30, 5) is 61 wide, 30 from the right edge.
enum UIAnchor : int32_t {
    UIANCHOR_TOPLEFT = 0,
    UIANCHOR_TOPRIGHT = 1,
    UIANCHOR_BOTTOMRIGHT = 2,
    UIANCHOR_BOTTOMLEFT = 3,
    UIANCHOR_TOP = 4,
    UIANCHOR_RIGHT = 5,
    UIANCHOR_BOTTOM = 6,
    UIANCHOR_LEFT = 7,
    UIANCHOR_FILL = 8,
};

class CControlUI {
public:
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    // Runs OnDestroy on the control and everything under it, then deletes it.
    static void Destroy(CControlUI* control);

    virtual const char16_t* GetClassName() const { return u"Control"; }

    const std::u16string& GetName() const { return m_name; }
    void SetName(const std::u16string& name) { m_name = name; }
    // The control id that notifications are dispatched on; a layout gives
    // the last dot-separated part of the name when it names none.
    const std::u16string& GetId() const { return m_id; }
    void SetId(const std::u16string& id) { m_id = id; }

    virtual bool IsVisible() const { return m_visible; }
    virtual void SetVisible(bool visible);
    // Visible and every ancestor visible.
    bool IsReallyVisible() const;
    virtual bool IsEnabled() const { return m_enabled; }
    virtual void SetEnabled(bool enabled) { m_enabled = enabled; }
    virtual bool IsSelected() const { return m_selected; }
    virtual void SetSelected(bool selected) { m_selected = selected; }
    virtual std::u16string GetText() const { return m_text; }
    virtual void SetText(const std::u16string& text) { m_text = text; }
    const std::u16string& GetToolTip() const { return m_toolTip; }
    void SetToolTip(const std::u16string& tip) { m_toolTip = tip; }
    // Opacity while fading: 0 (transparent) to 255 (opaque).
    uint8_t GetAlpha() const { return m_alpha; }
    void SetAlpha(uint8_t alpha) { m_alpha = alpha; }
    bool IsMouseEnabled() const { return m_mouseEnabled; }
    void SetMouseEnabled(bool enabled) { m_mouseEnabled = enabled; }

    // Named attributes: the known names ("name", "id", "visible", "enabled",
    // "text", "tooltip", "pos", "anchor", "width", "height") change the
    // control; every other name is kept as it is.
    virtual void SetAttribute(const std::u16string& name, const std::u16string& value);
    std::u16string GetAttribute(const std::u16string& name) const;
    bool HasAttribute(const std::u16string& name) const;

    void SetUserData(const std::u16string& data) { m_userData = data; }
    const std::u16string& GetUserData() const { return m_userData; }
    void SetTag(uintptr_t tag) { m_tag = tag; }
    uintptr_t GetTag() const { return m_tag; }

    void SetCoordinate(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t anchor);
    // Right-to-left layouts: the coordinates mirrored left for right
    // (near and far edges swap; stretched axes keep their insets swapped).
    void MirrorCoordinate();
    void GetCoordinate(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom, int32_t& anchor) const;
    int32_t GetAnchor() const { return m_anchor; }
    // The rectangle in window client coordinates, from the coordinates and
    // the parent's rectangle, unless SetPos fixed it.
    virtual RECT GetPos() const;
    // Fixes the rectangle until the next SetCoordinate.
    virtual void SetPos(const RECT& rect);
    int32_t GetWidth() const;
    // The width the control's text takes in its font: 8 pixels per unit at 96 dpi.
    int32_t GetTextWidth() const;
    int32_t GetHeight() const;
    // Fixed width and height of a control positioned only by its near edges.
    void SetFixedSize(int32_t width, int32_t height);

    CControlUI* GetParent() const { return m_parent; }
    CWindowUI* GetWindow() const;
    HWND GetHWND() const;

    // Repeats every `ms` of virtual time until killed; each tick reaches
    // Event as UIEVENT_TIMER with wParam = id. Setting a running id restarts it.
    bool SetTimer(uint32_t id, uint32_t ms);
    bool KillTimer(uint32_t id);
    void KillAllTimers();
    bool HasTimer(uint32_t id) const;

    // Handlers that see every event before the control does.
    CEventSource OnEvent;
    // The event entry: the bound handlers, then DoEvent.
    virtual void Event(TEventUI& event);
    virtual void DoEvent(TEventUI& event);

    // Where this control's notifications go first; by default they go to
    // the nearest ancestor that receives notifications and then the window.
    void SetNotifier(INotifyUI* notifier) { m_notifier = notifier; }
    INotifyUI* GetNotifier() const { return m_notifier; }
    // True when some receiver took it.
    bool SendNotify(int32_t type, uintptr_t wParam = 0, intptr_t lParam = 0);
    bool SendNotify(TNotifyUI& msg);

    bool IsFocused() const;
    void SetFocus();

    // Painting and layout happen in the real framework; here they are counted.
    void Invalidate() { ++m_invalidateCount; }
    void NeedUpdate() { ++m_updateCount; }
    void NeedParentUpdate();
    void Resize() { ++m_updateCount; }
    int GetInvalidateCount() const { return m_invalidateCount; }
    int GetUpdateCount() const { return m_updateCount; }

    // Lifecycle hooks: OnCreate after a control is built, OnDestroy before
    // it goes away (once).
    virtual void OnCreate() {}
    virtual void OnDestroy() {}

    // A descendant by name (or id), searching everything the control holds.
    virtual CControlUI* FindSubControl(const std::u16string& name);
    // Walks this control and what it holds, depth first.
    virtual void ForEach(const std::function<void(CControlUI*)>& visit);

    // Framework internals: the tree sets these.
    void SetParent(CControlUI* parent) { m_parent = parent; }
    void SetOwnerWindow(CWindowUI* window);
    void FireDestroy();

protected:
    virtual void OnWindowChanged() {}

private:
    std::u16string m_name;
    std::u16string m_id;
    std::u16string m_text;
    std::u16string m_toolTip;
    std::u16string m_userData;
    std::map<std::u16string, std::u16string> m_attributes;
    uintptr_t m_tag = 0;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_selected = false;
    bool m_mouseEnabled = true;
    uint8_t m_alpha = 255;
    bool m_destroyed = false;
    int32_t m_left = 0, m_top = 0, m_right = 0, m_bottom = 0, m_anchor = 0;
    bool m_posFixed = false;
    RECT m_fixedPos;
    CControlUI* m_parent = nullptr;
    CWindowUI* m_window = nullptr;
    INotifyUI* m_notifier = nullptr;
    int m_invalidateCount = 0;
    int m_updateCount = 0;
};

// Shows or hides the control of that name under root; false when there is none.
bool SetItemVisible(CControlUI* root, const char16_t* name, bool visible);
