// Page slides on the container's own timer.
#include "sdk/ui/TransitionUI.h"

#include <algorithm>
#include <cmath>

#include "sim/ui/UiInternal.h"

namespace {

constexpr uint32_t kFrameMs = 40;
// The timer id of a slide; high enough to stay clear of ids of users.
constexpr uint32_t kTransitionTimer = 0x7FFF0001;

class LinearCurve : public ICurveObj {
public:
    double Evaluate(double t) const override { return t; }
};

}  // namespace

CAction::CAction(uint32_t durationMs, int32_t steps)
    : m_duration(durationMs), m_steps(std::max(1, steps)), m_curve(std::make_unique<LinearCurve>()) {}

CAction::~CAction() = default;

void CAction::SetParam(uint32_t frameMs, int32_t frames, int32_t delayMs, int32_t repeat, int32_t flags) {
    m_frameMs = std::max<uint32_t>(1, frameMs);
    m_steps = std::max(1, frames);
    m_duration = m_frameMs * uint32_t(m_steps);
    m_delayMs = delayMs;
    m_repeat = repeat;
    m_flags = flags;
}

void CAction::SetCurveObj(std::unique_ptr<ICurveObj> curve) {
    if (curve) m_curve = std::move(curve);
}

int32_t ActionInterval::FadeInterval(const ICurveObj* curve, int32_t from, int32_t to, int32_t step, int32_t steps) {
    if (steps <= 0) return to;
    const double t = std::clamp(double(step) / steps, 0.0, 1.0);
    const double eased = std::clamp(curve ? curve->Evaluate(t) : t, 0.0, 1.0);
    return int32_t(std::lround(from + (to - from) * eased));
}

CTransitionUI::~CTransitionUI() { KillTimer(kTransitionTimer); }

void CTransitionUI::SetAttribute(const std::u16string& name, const std::u16string& value) {
    if (name == u"duration") {
        uint32_t ms = 0;
        for (char16_t c : value) {
            if (c < u'0' || c > u'9' || ms > 600000) break;
            ms = ms * 10 + uint32_t(c - u'0');
        }
        m_transition.SetParam(kFrameMs, int32_t(std::max<uint32_t>(1, ms / kFrameMs)), 0, 0, 0);
    }
    CContainerUI::SetAttribute(name, value);
}

bool CTransitionUI::SelectPage(int index) {
    FinishAnimation();
    if (index == m_page) return false;
    return StartTransition(index);
}

bool CTransitionUI::StartTransition(int index) {
    FinishAnimation();
    if (index < 0 || index >= GetCount()) return false;
    CControlUI* out = GetItemAt(m_page);
    CControlUI* in = GetItemAt(index);
    m_target = index;
    ++m_slides;
    m_action = std::make_unique<TransitionAnimation>(out, in, m_transition.GetDuration(),
                                                     m_transition.GetTotalSteps());
    m_action->SetState(UIACTION_STARTED);
    OnActionStateChanged(m_action.get());
    if (!sim::ui::IsAlive(this) || !m_action) return true;
    SetTimer(kTransitionTimer, m_transition.GetFrameInterval());
    return true;
}

void CTransitionUI::RewindAnimation() {
    if (!m_action) return;
    KillTimer(kTransitionTimer);
    m_action.reset();
}

bool CTransitionUI::NextPage() { return GetCount() > 1 && SelectPage((m_page + 1) % GetCount()); }

void CTransitionUI::FinishAnimation() {
    while (m_action) Step();
}

void CTransitionUI::Step() {
    TransitionAnimation* action = m_action.get();
    const int32_t step = action->GetCurrentStep() + 1;
    action->SetCurrentStep(step);
    action->SetState(UIACTION_RUNNING);
    OnActionStep(action, step);
    if (step < action->GetTotalSteps()) return;
    KillTimer(kTransitionTimer);
    std::unique_ptr<TransitionAnimation> done = std::move(m_action);
    m_page = m_target;
    done->SetState(UIACTION_FINISHED);
    OnActionStateChanged(done.get());
}

void CTransitionUI::OnActionStep(CAction*, int32_t) {}

void CTransitionUI::OnActionStateChanged(CAction* action) {
    auto* slide = dynamic_cast<TransitionAnimation*>(action);
    if (!slide) return;
    if (action->GetState() == UIACTION_STARTED && slide->GetIn()) slide->GetIn()->SetVisible(true);
    if (action->GetState() != UIACTION_FINISHED) return;
    if (slide->GetOut() && slide->GetOut() != slide->GetIn()) {
        slide->GetOut()->SetVisible(false);
        slide->GetOut()->SetAlpha(255);
    }
    if (slide->GetIn()) slide->GetIn()->SetAlpha(255);
}

void CTransitionUI::DoEvent(TEventUI& event) {
    if (event.Type == UIEVENT_TIMER && event.wParam == kTransitionTimer && m_action) Step();
}
