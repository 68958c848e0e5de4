// The control base: state, attributes, coordinates, timers, events.
#include "sdk/ui/ControlUI.h"

#include <map>
#include <unordered_set>

#include "sdk/ui/ContainerUI.h"
#include "sdk/ui/WindowUI.h"
#include "sim/core/Loop.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/ui/UiInternal.h"

namespace {

struct ControlState {
    std::unordered_set<const CControlUI*> alive;
    std::map<std::pair<const CControlUI*, uint32_t>, sim::TaskId> timers;
};

ControlState& State() {
    static ControlState state;
    return state;
}

// Controls outlive a reset (tests own them); only their timers are forgotten.
const bool kRegistered = sim::RegisterReset([] { State().timers.clear(); });

std::u16string LastPart(const std::u16string& name) {
    const size_t dot = name.rfind(u'.');
    return dot == std::u16string::npos ? name : name.substr(dot + 1);
}

bool ParseBool(const std::u16string& v) { return v == u"true" || v == u"1"; }

int32_t ParseInt(const std::u16string& v) {
    int64_t n = 0;
    bool neg = false;
    size_t i = 0;
    while (i < v.size() && v[i] == u' ') ++i;
    if (i < v.size() && (v[i] == u'-' || v[i] == u'+')) neg = v[i++] == u'-';
    for (; i < v.size() && v[i] >= u'0' && v[i] <= u'9' && n < 1000000000; ++i) n = n * 10 + (v[i] - u'0');
    return int32_t(neg ? -n : n);
}

// One axis of the anchor table: 0 near, 1 far, 2 stretch.
void AnchorModes(int32_t anchor, int& horizontal, int& vertical) {
    static const int kModes[9][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {2, 0}, {1, 2}, {2, 1}, {0, 2}, {2, 2}};
    const int a = anchor >= 0 && anchor <= 8 ? anchor : 0;
    horizontal = kModes[a][0];
    vertical = kModes[a][1];
}

void Place(int mode, int32_t lo, int32_t hi, int32_t a, int32_t b, int32_t& outLo, int32_t& outHi) {
    switch (mode) {
        case 1: outLo = hi - a; outHi = hi - b; break;
        case 2: outLo = lo + a; outHi = hi - b; break;
        default: outLo = lo + a; outHi = lo + b; break;
    }
}

}  // namespace

namespace sim::ui {
void ControlBorn(CControlUI* control) { State().alive.insert(control); }
void ControlDied(CControlUI* control) { State().alive.erase(control); }
bool IsAlive(const CControlUI* control) { return State().alive.count(control) != 0; }
}  // namespace sim::ui

int CEventSource::Bind(Handler handler) {
    if (!handler) return 0;
    m_handlers.emplace_back(m_next, std::move(handler));
    return m_next++;
}

void CEventSource::Unbind(int cookie) {
    for (auto it = m_handlers.begin(); it != m_handlers.end(); ++it) {
        if (it->first == cookie) {
            m_handlers.erase(it);
            return;
        }
    }
}

bool CEventSource::Fire(TEventUI& event) {
    // A handler may bind or unbind while it runs: walk a copy.
    const auto handlers = m_handlers;
    for (const auto& [cookie, handler] : handlers) {
        if (!handler(event)) return false;
    }
    return true;
}

CControlUI::CControlUI() { sim::ui::ControlBorn(this); }

CControlUI::~CControlUI() {
    KillAllTimers();
    if (m_window) m_window->ForgetControl(this);
    sim::ui::ControlDied(this);
}

void CControlUI::Destroy(CControlUI* control) {
    if (!control) return;
    control->FireDestroy();
    delete control;
}

void CControlUI::FireDestroy() {
    if (m_destroyed) return;
    // One walk, each control before its children; a control told before is
    // not told again. (Each child starting a walk of its own made closing a
    // window cost its size times its depth.)
    ForEach([](CControlUI* c) {
        if (c->m_destroyed) return;
        c->m_destroyed = true;
        c->OnDestroy();
    });
}

void CControlUI::SetVisible(bool visible) {
    if (m_visible == visible) return;
    m_visible = visible;
    NeedParentUpdate();
}

bool CControlUI::IsReallyVisible() const {
    for (const CControlUI* c = this; c; c = c->m_parent) {
        if (!c->IsVisible()) return false;
    }
    return true;
}

void CControlUI::SetAttribute(const std::u16string& name, const std::u16string& value) {
    if (name == u"name") {
        m_name = value;
        if (m_id.empty()) m_id = LastPart(value);
    } else if (name == u"id") {
        m_id = value;
    } else if (name == u"visible") {
        m_visible = ParseBool(value);
    } else if (name == u"enabled") {
        m_enabled = ParseBool(value);
    } else if (name == u"selected") {
        m_selected = ParseBool(value);
    } else if (name == u"mouse") {
        m_mouseEnabled = ParseBool(value);
    } else if (name == u"text") {
        SetText(value);
    } else if (name == u"tooltip") {
        m_toolTip = value;
    } else if (name == u"pos") {
        int32_t v[4] = {0, 0, 0, 0};
        size_t start = 0;
        for (int i = 0; i < 4 && start <= value.size(); ++i) {
            size_t comma = value.find(u',', start);
            if (comma == std::u16string::npos) comma = value.size();
            v[i] = ParseInt(value.substr(start, comma - start));
            start = comma + 1;
        }
        SetCoordinate(v[0], v[1], v[2], v[3], m_anchor);
    } else if (name == u"anchor") {
        SetCoordinate(m_left, m_top, m_right, m_bottom, ParseInt(value));
    } else if (name == u"width") {
        m_right = m_left + ParseInt(value);
    } else if (name == u"height") {
        m_bottom = m_top + ParseInt(value);
    }
    m_attributes[name] = value;
}

std::u16string CControlUI::GetAttribute(const std::u16string& name) const {
    if (name == u"name") return m_name;
    if (name == u"id") return m_id;
    if (name == u"text") return GetText();
    if (name == u"tooltip") return m_toolTip;
    if (name == u"visible") return IsVisible() ? u"true" : u"false";
    auto it = m_attributes.find(name);
    return it == m_attributes.end() ? std::u16string() : it->second;
}

bool CControlUI::HasAttribute(const std::u16string& name) const { return m_attributes.count(name) != 0; }

void CControlUI::SetCoordinate(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t anchor) {
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;
    m_anchor = anchor;
    m_posFixed = false;
    NeedParentUpdate();
}

void CControlUI::MirrorCoordinate() {
    // Horizontal mode by anchor: near (0, 3, 7), far (1, 2, 5), stretch (4, 6, 8).
    static const int32_t kMirrored[9] = {1, 0, 3, 2, 4, 7, 6, 5, 8};
    const int32_t anchor = m_anchor >= 0 && m_anchor <= 8 ? kMirrored[m_anchor] : m_anchor;
    SetCoordinate(m_right, m_top, m_left, m_bottom, anchor);
}

void CControlUI::GetCoordinate(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom, int32_t& anchor) const {
    left = m_left;
    top = m_top;
    right = m_right;
    bottom = m_bottom;
    anchor = m_anchor;
}

RECT CControlUI::GetPos() const {
    if (m_posFixed) return m_fixedPos;
    RECT outer;
    if (m_parent) {
        outer = m_parent->GetPos();
    } else if (m_window) {
        outer = m_window->GetClientRect();
    }
    int h = 0, v = 0;
    AnchorModes(m_anchor, h, v);
    RECT r;
    Place(h, outer.left, outer.right, m_left, m_right, r.left, r.right);
    Place(v, outer.top, outer.bottom, m_top, m_bottom, r.top, r.bottom);
    return r;
}

void CControlUI::SetPos(const RECT& rect) {
    m_fixedPos = rect;
    m_posFixed = true;
}

int32_t CControlUI::GetWidth() const {
    const RECT r = GetPos();
    return r.right - r.left;
}

int32_t CControlUI::GetTextWidth() const { return CDPI::Scale(8 * int32_t(GetText().size())); }

int32_t CControlUI::GetHeight() const {
    const RECT r = GetPos();
    return r.bottom - r.top;
}

void CControlUI::SetFixedSize(int32_t width, int32_t height) {
    SetCoordinate(m_left, m_top, m_left + width, m_top + height, m_anchor);
}

CWindowUI* CControlUI::GetWindow() const { return m_window; }
HWND CControlUI::GetHWND() const { return m_window ? m_window->GetHWND() : nullptr; }

void CControlUI::SetOwnerWindow(CWindowUI* window) {
    if (m_window == window) return;
    if (m_window) m_window->ForgetControl(this);
    m_window = window;
    OnWindowChanged();
}

void CControlUI::NeedParentUpdate() {
    if (m_parent) m_parent->NeedUpdate();
    NeedUpdate();
}

namespace {
void ScheduleTick(CControlUI* control, uint32_t id, uint32_t ms);

void Tick(CControlUI* control, uint32_t id, uint32_t ms) {
    if (!sim::ui::IsAlive(control)) return;
    // Rescheduled before delivery, so a handler that kills the timer stops it.
    ScheduleTick(control, id, ms);
    TEventUI event;
    event.Type = UIEVENT_TIMER;
    event.pSender = control;
    event.dwTimestamp = uint32_t(sim::NowMs());
    event.wParam = id;
    control->Event(event);
}

void ScheduleTick(CControlUI* control, uint32_t id, uint32_t ms) {
    State().timers[{control, id}] = sim::PostDelayed(ms, [control, id, ms] { Tick(control, id, ms); });
}
}  // namespace

bool CControlUI::SetTimer(uint32_t id, uint32_t ms) {
    KillTimer(id);
    // A zero period would spin the loop at one instant.
    ScheduleTick(this, id, ms == 0 ? 1 : ms);
    return true;
}

bool CControlUI::KillTimer(uint32_t id) {
    auto it = State().timers.find({this, id});
    if (it == State().timers.end()) return false;
    sim::Cancel(it->second);
    State().timers.erase(it);
    return true;
}

void CControlUI::KillAllTimers() {
    auto& timers = State().timers;
    for (auto it = timers.lower_bound({this, 0}); it != timers.end() && it->first.first == this;) {
        sim::Cancel(it->second);
        it = timers.erase(it);
    }
}

bool CControlUI::HasTimer(uint32_t id) const { return State().timers.count({this, id}) != 0; }

void CControlUI::Event(TEventUI& event) {
    if (!OnEvent.Fire(event)) return;
    DoEvent(event);
}

void CControlUI::DoEvent(TEventUI&) {}

bool CControlUI::SendNotify(int32_t type, uintptr_t wParam, intptr_t lParam) {
    TNotifyUI msg;
    msg.nType = type;
    msg.pSender = this;
    msg.dwTimestamp = uint32_t(sim::NowMs());
    msg.wParam = wParam;
    msg.lParam = lParam;
    return SendNotify(msg);
}

bool CControlUI::SendNotify(TNotifyUI& msg) {
    if (m_notifier && m_notifier->ProcessNotify(msg)) return true;
    // The receivers above: composite controls such as panels.
    for (CControlUI* c = m_parent; c; c = c->m_parent) {
        if (!sim::ui::IsAlive(this)) return true;
        auto* receiver = dynamic_cast<INotifyUI*>(c);
        if (receiver && receiver != m_notifier && receiver->ProcessNotify(msg)) return true;
    }
    if (!sim::ui::IsAlive(this)) return true;
    return m_window && m_window->DispatchNotify(msg);
}

bool CControlUI::IsFocused() const { return m_window && m_window->GetFocus() == this; }

void CControlUI::SetFocus() {
    if (m_window) m_window->SetFocus(this);
}

CControlUI* CControlUI::FindSubControl(const std::u16string&) { return nullptr; }

void CControlUI::ForEach(const std::function<void(CControlUI*)>& visit) { visit(this); }

bool SetItemVisible(CControlUI* root, const char16_t* name, bool visible) {
    if (!root || !name) return false;
    CControlUI* control = root->GetName() == name ? root : root->FindSubControl(name);
    if (!control) return false;
    control->SetVisible(visible);
    return true;
}
