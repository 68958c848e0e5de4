// The panel tables' creator: builds a plug-in's panel of class P.
#pragma once

#include "module/ChatPlugin.h"
#include "sdk/ui/CompositeUI.h"

namespace tavi {

namespace detail {
// Puts a freshly built panel where the host asked for it.
inline void PlacePanel(CControlUI* panel, int x, int y) {
    if (x == 0 && y == 0) return;
    const int32_t width = panel->GetWidth();
    const int32_t height = panel->GetHeight();
    panel->SetCoordinate(x, y, x + width, y + height, UIANCHOR_TOPLEFT);
}

// The parent's child named `name` is taken out, not destroyed (its owner
// is whoever put it there), and `panel` stands at its index; without such
// a child the panel simply stays where creation added it.
inline void ReplaceChild(CControlUI* parent, CControlUI* panel, const char16_t* name) {
    auto* container = dynamic_cast<CContainerUI*>(parent);
    if (!container) return;
    CControlUI* old = nullptr;
    for (CControlUI* child : container->GetItems()) {
        if (child != panel && child->GetName() == name) old = child;
    }
    if (old) {
        const int index = container->GetItemIndex(old);
        container->RemoveNoDestroy(old);
        container->RemoveNoDestroy(panel);
        container->AddAt(panel, index);
    }
    container->Resize();
    container->Invalidate();
}
}  // namespace detail

template <typename P>
bool CreatePluginPanel(CControlUI* parent, const char16_t* layout, const char16_t* ctrlName,
                       pfx::IStr2StrMap* attributes, int x, int y, bool replace) {
    if (!parent || !layout || !*layout || !ctrlName || !*ctrlName) return false;
    CCompositeUI::Attributes copied;
    if (attributes) {
        attributes->ForEach(
            [](const char16_t* key, const char16_t* value, void* user) {
                static_cast<CCompositeUI::Attributes*>(user)->emplace_back(key, value);
            },
            &copied);
    }
    auto* panel = new P();
    // The panel's control id is the plug-in's instance id; the panel finds
    // its plug-in through it.
    panel->SetId(ctrlName);
    panel->SetName(ctrlName);
    if (!panel->CreateEx(layout, parent, copied)) {
        CControlUI::Destroy(panel);
        return false;
    }
    detail::PlacePanel(panel, x, y);
    if (replace) detail::ReplaceChild(parent, panel, ctrlName);
    return true;
}

}  // namespace tavi
