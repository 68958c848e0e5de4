// The friend-dynamics marquee: a transition container whose page change
// slides the old line out and the new one in with a cross-fade, and tells
// its panel when a slide has finished.
#pragma once

#include "sdk/ui/TransitionUI.h"

namespace tavi {

class CTaviPanel;

class CNewsAnimeUI : public CTransitionUI {
public:
    ~CNewsAnimeUI() override;
    const char16_t* GetClassName() const override { return u"NewAnime"; }

    void OnActionStep(CAction* action, int32_t step) override;
    void OnActionStateChanged(CAction* action) override;

    // Set once by the panel; the panel outlives its controls.
    void SetOwner(CTaviPanel* owner) { m_pOwner = owner; }
    CTaviPanel* GetOwner() const { return m_pOwner; }

private:
    CTaviPanel* m_pOwner = nullptr;
};

}  // namespace tavi
