#include "controls/NewsAnimeUI.h"

#include "panel/TaviPanel.h"

namespace tavi {

namespace {
constexpr int32_t kOpaque = 255;
constexpr int32_t kTransparent = 0;

void SetPageAlpha(CControlUI* page, int32_t alpha) {
    if (page) page->SetAlpha(uint8_t(alpha));
}
}  // namespace

CNewsAnimeUI::~CNewsAnimeUI() = default;

void CNewsAnimeUI::OnActionStep(CAction* action, int32_t step) {
    auto* slide = dynamic_cast<TransitionAnimation*>(action);
    if (!slide) return;
    const ICurveObj* curve = action->GetCurveObj();
    const int32_t steps = action->GetTotalSteps();
    SetPageAlpha(slide->GetOut(), ActionInterval::FadeInterval(curve, kOpaque, kTransparent, step, steps));
    SetPageAlpha(slide->GetIn(), ActionInterval::FadeInterval(curve, kTransparent, kOpaque, step, steps));
}

void CNewsAnimeUI::OnActionStateChanged(CAction* action) {
    CTransitionUI::OnActionStateChanged(action);
    auto* slide = dynamic_cast<TransitionAnimation*>(action);
    if (!slide) return;
    switch (action->GetState()) {
        case UIACTION_STARTED:
            SetPageAlpha(slide->GetOut(), kOpaque);
            SetPageAlpha(slide->GetIn(), kTransparent);
            return;
        case UIACTION_FINISHED:
            if (m_pOwner) m_pOwner->OnNewsAnimeUIFinish();
            return;
        default: return;
    }
}

}  // namespace tavi
