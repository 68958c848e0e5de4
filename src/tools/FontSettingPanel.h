// The font setting bar above the input: face and size boxes, the bold,
// italic and underline options and the colour button. Its notifications
// go on to the chat panel, which is registered as its notifier.
#pragma once

#include "sdk/ui/CompositeUI.h"

namespace tavi {

class CFontSettingPanel final : public CCompositeUI {
public:
    const char16_t* GetClassName() const override { return u"FontSettingPanel"; }
    bool ProcessNotify(TNotifyUI& msg) override { return CCompositeUI::ProcessNotify(msg); }
};

}  // namespace tavi
