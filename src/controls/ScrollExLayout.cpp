#include "controls/ScrollExLayout.h"

#include "util/Strings.h"

namespace tavi {

void CScrollExLayout::SetAttribute(const std::u16string& name, const std::u16string& value) {
    if (name.size() == 11 && util::EqualsNoCase(name, u"scroll_step")) {
        m_scrollStep = util::WToI(value);
        return;
    }
    CLayoutUI::SetAttribute(name, value);
}

int32_t CScrollExLayout::EffectiveStep(const TLayoutParams& params) const {
    if (m_scrollStep > 0) return m_scrollStep;
    const CControlUI* first = GetItemAt(0);
    return first ? first->GetHeight() + params.spaceY : 0;
}

void CScrollExLayout::OnChildSize(TSizeUI& size, const RECT& area, const RECT& content) {
    size = TSizeUI{};
    if (GetCount() == 0 || GetLayoutType() != UILAYOUT_GRID) return;
    const TLayoutParams written = GetLayoutParams();
    TLayoutParams params;
    params.startX = CDPI::Scale(written.startX);
    params.startY = CDPI::Scale(written.startY);
    params.spaceX = CDPI::Scale(written.spaceX);
    params.spaceY = CDPI::Scale(written.spaceY);
    params.hasScrollBar = HasScrollBar();
    RECT snapped = content;
    const int32_t step = EffectiveStep(params);
    if (step > 0) {
        const int32_t d = content.top - area.top;
        const int32_t shift = (d / step) * step - d;
        snapped.top += shift;
        snapped.bottom += shift;
    }
    size = UICustomControlHelper::LayoutChildGrid(area, snapped, params, GetItems());
}

}  // namespace tavi
