// The tips and reminder bars over the history.
#include "panel/TaviPanel.h"
#include "sdk/ui/RichEditExUI.h"

namespace tavi {

void CTaviPanel::ShowViewTipContainer(const char16_t* name, bool show) {
    CControlUI* area = FindSubControl(u"history.view");
    CControlUI* tip = area ? FindSubControl(u"history.view." + std::u16string(name)) : nullptr;
    if (!tip) return;
    tip->SetVisible(show);
    if (m_pHistoryView) {
        int32_t left = 0, top = 0, right = 0, bottom = 0, anchor = 0;
        m_pHistoryView->GetCoordinate(left, top, right, bottom, anchor);
        if (show) top = IsViewTipCtnVisible(u"frddynamic") ? 44 : 24;
        else if (!IsViewTipCtnVisible(u"birth_tip") && !IsViewTipCtnVisible(u"loginout") &&
                 !IsViewTipCtnVisible(u"def_tip_ctn"))
            top = 0;
        m_pHistoryView->SetCoordinate(left, top, right, bottom, anchor);
    }
    area->NeedUpdate();
    area->Invalidate();
}

bool CTaviPanel::IsViewTipCtnVisible(const char16_t* name) const {
    auto* self = const_cast<CTaviPanel*>(this);
    CControlUI* tip = self->FindSubControl(u"history.view") ? self->FindSubControl(u"history.view." + std::u16string(name))
                                                             : nullptr;
    return tip && tip->IsVisible();
}

void CTaviPanel::SetCaptionBarText(const char16_t*) {}
void CTaviPanel::ShowCaptionBar(bool) {}
void CTaviPanel::InitBirthdayRemind() {}
void CTaviPanel::UpdateGrpTopUnreadMsg() {}

}  // namespace tavi

namespace tavi {

// Mentions of the user in a shown message.
void CTaviPanel::AddAtMessage(const SQelBoxMsg&) {}

}  // namespace tavi
