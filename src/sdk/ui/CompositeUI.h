// A control built from a layout resource named by a dialog id
// ("skin/layout/<dialog id>.xml" in the registered resource folders).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "sdk/ui/ContainerUI.h"

class CCompositeUI : public CLayoutUI, public INotifyUI {
public:
    using Attributes = std::vector<std::pair<std::u16string, std::u16string>>;

    const char16_t* GetClassName() const override { return u"Composite"; }

    // Builds the children from the layout, adds itself to parent when that
    // is a container, then runs OnCreate. False (and nothing added) when
    // the layout is missing or malformed.
    bool Create(const char16_t* dialogId, CControlUI* parent);
    // The same, then applies the attributes (after the layout's own).
    bool CreateEx(const char16_t* dialogId, CControlUI* parent, const Attributes& attributes);
    const std::u16string& GetDialogId() const { return m_dialogId; }

    // Notifications of the children; no handler here.
    bool ProcessNotify(TNotifyUI& msg) override;

private:
    std::u16string m_dialogId;
};
