// A grid of equal rows (faces, emoticons) that scrolls by whole rows: the
// content is always offset by a multiple of the scroll step, so that no
// row stands cut at the top.
#pragma once

#include "sdk/ui/ContainerUI.h"

namespace tavi {

class CScrollExLayout final : public CLayoutUI {
public:
    const char16_t* GetClassName() const override { return u"ScrollExLayout"; }
    // "scroll_step" (any case) sets the step in pixels; every other
    // attribute is the layout's.
    void SetAttribute(const std::u16string& name, const std::u16string& value) override;
    int32_t GetScrollStep() const { return m_scrollStep; }

protected:
    void OnChildSize(TSizeUI& size, const RECT& area, const RECT& content) override;

private:
    // The step the layout scrolls by: the one set, or one row of the grid
    // when none (or none above 0) was set.
    int32_t EffectiveStep(const TLayoutParams& params) const;

    int32_t m_scrollStep = 0;
};

}  // namespace tavi
