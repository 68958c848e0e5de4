// The panel tables' creator: builds a plug-in's panel of class P.
#pragma once

#include "module/ChatPlugin.h"
#include "sdk/ui/CompositeUI.h"

namespace tavi {

template <typename P>
bool CreatePluginPanel(CControlUI* parent, const char16_t* layout, const char16_t* ctrlName,
                       pfx::IStr2StrMap* attributes, bool) {
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
    return true;
}

}  // namespace tavi
