// Labels and buttons. A click reaches the notify receivers as UINOTIFY_CLICK.
#pragma once

#include "sdk/ui/ControlUI.h"

class CLabelUI : public CControlUI {
public:
    const char16_t* GetClassName() const override { return u"Label"; }
};

class CButtonUI : public CLabelUI {
public:
    const char16_t* GetClassName() const override { return u"Button"; }
    // What a click of the user does: a click notification when enabled.
    virtual bool Activate();
    void DoEvent(TEventUI& event) override;
};

// A button that stays pressed (selected) until pressed again.
class COptionUI : public CButtonUI {
public:
    const char16_t* GetClassName() const override { return u"Option"; }
    bool Activate() override;
};
