// Containers own their children and pass their window down to them.
#include "sdk/ui/ContainerUI.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "sdk/ui/ButtonUI.h"
#include "sdk/ui/WindowUI.h"

CContainerUI::~CContainerUI() {
    // Deleting from the back keeps indexes of the rest valid if a child looks around.
    while (!m_items.empty()) {
        CControlUI* child = m_items.back();
        m_items.pop_back();
        CControlUI::Destroy(child);
    }
}

bool CContainerUI::Add(CControlUI* control) { return AddAt(control, GetCount()); }

bool CContainerUI::AddAt(CControlUI* control, int index) {
    if (!control || control->GetParent()) return false;
    // A control may not hold one of its own ancestors.
    for (const CControlUI* c = this; c; c = c->GetParent()) {
        if (c == control) return false;
    }
    index = std::clamp(index, 0, GetCount());
    m_items.insert(m_items.begin() + index, control);
    control->SetParent(this);
    control->ForEach([this](CControlUI* c) { c->SetOwnerWindow(GetWindow()); });
    NeedUpdate();
    return true;
}

bool CContainerUI::Remove(CControlUI* control) {
    if (!RemoveNoDestroy(control)) return false;
    CControlUI::Destroy(control);
    return true;
}

// Children are looked for from the back: emptying a container removes its
// last child first, and that stays cheap for lists of thousands of rows.
bool CContainerUI::RemoveNoDestroy(CControlUI* control) {
    auto it = std::find(m_items.rbegin(), m_items.rend(), control);
    if (it == m_items.rend()) return false;
    m_items.erase(std::next(it).base());
    control->SetParent(nullptr);
    control->ForEach([](CControlUI* c) { c->SetOwnerWindow(nullptr); });
    NeedUpdate();
    return true;
}

void CContainerUI::RemoveAll() {
    while (!m_items.empty()) Remove(m_items.back());
}

CControlUI* CContainerUI::GetItemAt(int index) const {
    return index >= 0 && index < GetCount() ? m_items[size_t(index)] : nullptr;
}

int CContainerUI::GetItemIndex(CControlUI* control) const {
    auto it = std::find(m_items.rbegin(), m_items.rend(), control);
    return it == m_items.rend() ? -1 : int(m_items.rend() - it) - 1;
}

CControlUI* CContainerUI::FindChild(const std::u16string& name) const {
    for (CControlUI* c : m_items) {
        if (c->GetName() == name) return c;
    }
    return nullptr;
}

CControlUI* CContainerUI::FindControl(const std::u16string& name) { return FindSubControl(name); }

CControlUI* CContainerUI::FindSubControl(const std::u16string& name) {
    if (name.empty()) return nullptr;
    // Names first over the whole tree, then ids: names are unique, ids may not be.
    CControlUI* byId = nullptr;
    CControlUI* byName = nullptr;
    ForEach([&](CControlUI* c) {
        if (c == this || byName) return;
        if (c->GetName() == name) byName = c;
        else if (!byId && c->GetId() == name) byId = c;
    });
    return byName ? byName : byId;
}

void CContainerUI::ForEach(const std::function<void(CControlUI*)>& visit) {
    visit(this);
    // Over a copy, since a visit may add or remove children. Most containers
    // hold a few, and the walks are many (every search by name is one):
    // their copy stays off the heap.
    constexpr size_t kOnStack = 16;
    const size_t count = m_items.size();
    if (count <= kOnStack) {
        std::array<CControlUI*, kOnStack> items;
        std::copy(m_items.begin(), m_items.end(), items.begin());
        for (size_t i = 0; i < count; ++i) items[i]->ForEach(visit);
        return;
    }
    const auto items = m_items;
    for (CControlUI* c : items) c->ForEach(visit);
}

void CContainerUI::OnWindowChanged() {
    for (CControlUI* c : m_items) c->ForEach([this](CControlUI* d) { d->SetOwnerWindow(GetWindow()); });
}

bool CButtonUI::Activate() {
    if (!IsEnabled() || !IsVisible()) return false;
    SendNotify(UINOTIFY_CLICK);
    return true;
}

void CButtonUI::DoEvent(TEventUI& event) {
    if (event.Type == UIEVENT_BUTTONUP) Activate();
}

bool COptionUI::Activate() {
    if (!IsEnabled() || !IsVisible()) return false;
    SetSelected(!IsSelected());
    SendNotify(UINOTIFY_CLICK);
    return true;
}
