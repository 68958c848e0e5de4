// Animated page changes: actions that run frame by frame on the control's
// timer, and a container whose pages slide from one to the next.
#pragma once

#include <cstdint>
#include <memory>

#include "sdk/ui/ContainerUI.h"

// Maps an action's progress (0 to 1) to the eased progress (0 to 1).
class ICurveObj {
public:
    virtual ~ICurveObj() = default;
    virtual double Evaluate(double t) const = 0;
};

enum UIActionState : int32_t {
    UIACTION_IDLE = 0,
    UIACTION_STARTED = 1,
    UIACTION_RUNNING = 2,
    UIACTION_FINISHED = 4,
};

class CAction {
public:
    CAction(uint32_t durationMs, int32_t steps);
    virtual ~CAction();
    int32_t GetState() const { return m_state; }
    // A linear curve unless one was set.
    ICurveObj* GetCurveObj() const { return m_curve.get(); }
    void SetCurveObj(std::unique_ptr<ICurveObj> curve);
    uint32_t GetDuration() const { return m_duration; }
    int32_t GetTotalSteps() const { return m_steps; }
    int32_t GetCurrentStep() const { return m_step; }

    // Framework internals.
    void SetState(int32_t state) { m_state = state; }
    void SetCurrentStep(int32_t step) { m_step = step; }

    // Frames of `frameMs` each, `frames` of them; the delay, repeat count
    // and flags of other kinds of action are kept but unused by slides.
    void SetParam(uint32_t frameMs, int32_t frames, int32_t delayMs, int32_t repeat, int32_t flags);
    uint32_t GetFrameInterval() const { return m_frameMs; }

private:
    uint32_t m_duration;
    int32_t m_steps;
    uint32_t m_frameMs = 40;
    int32_t m_delayMs = 0;
    int32_t m_repeat = 0;
    int32_t m_flags = 0;
    int32_t m_step = 0;
    int32_t m_state = UIACTION_IDLE;
    std::unique_ptr<ICurveObj> m_curve;
};

// The change from one page to another.
class TransitionAnimation : public CAction {
public:
    TransitionAnimation(CControlUI* out, CControlUI* in, uint32_t durationMs, int32_t steps)
        : CAction(durationMs, steps), m_out(out), m_in(in) {}
    CControlUI* GetOut() const { return m_out; }
    CControlUI* GetIn() const { return m_in; }

private:
    CControlUI* m_out;
    CControlUI* m_in;
};

// The page change of a transition container: its timing (CAction's
// parameters) and the direction in which the pages slide.
class SlideTransition : public CAction {
public:
    enum : int32_t { SLIDE_LEFT = 1, SLIDE_RIGHT = 2, SLIDE_UP = 3, SLIDE_DOWN = 4 };
    SlideTransition() : CAction(400, 10) {}
    void SetSlideType(int32_t type) { m_type = type; }
    int32_t GetSlideType() const { return m_type; }

private:
    int32_t m_type = SLIDE_LEFT;
};

struct ActionInterval {
    // The value between from and to at this step of `steps`, along the curve
    // (linear when null).
    static int32_t FadeInterval(const ICurveObj* curve, int32_t from, int32_t to, int32_t step, int32_t steps);
};

class IActionListener {
public:
    virtual ~IActionListener() = default;
    virtual void OnActionStep(CAction* action, int32_t step) = 0;
    virtual void OnActionStateChanged(CAction* action) = 0;
};

// Shows one child (page) at a time; SelectPage slides to another over the
// "duration" attribute (ms, default 400) in frames of 40 ms.
class CTransitionUI : public CContainerUI, public IActionListener {
public:
    ~CTransitionUI() override;
    const char16_t* GetClassName() const override { return u"Transition"; }
    void SetAttribute(const std::u16string& name, const std::u16string& value) override;

    int GetCurPage() const { return m_page; }
    // Starts the slide to the page; a slide under way finishes at once first.
    bool SelectPage(int index);
    bool NextPage();
    bool IsAnimating() const { return m_action != nullptr; }
    // Runs a slide under way to its end now.
    void FinishAnimation();
    // The slide that page changes run: its timing and direction.
    SlideTransition* GetTransition() { return &m_transition; }
    // Drops a slide under way where it stands, without finishing it: the
    // next slide starts from frame 0.
    void RewindAnimation();
    // Starts a slide to the page, also to the page shown now (which then
    // slides out and in again, as a line whose content changed does).
    bool StartTransition(int index);
    // How many slides have started, and the direction of the last one.
    int GetSlideCount() const { return m_slides; }

    void OnActionStep(CAction* action, int32_t step) override;
    // Started: the incoming page shows; finished: the outgoing page hides
    // and both are fully opaque again.
    void OnActionStateChanged(CAction* action) override;
    void DoEvent(TEventUI& event) override;

private:
    void Step();

    int m_page = 0;
    int m_target = -1;
    int m_slides = 0;
    SlideTransition m_transition;
    std::unique_ptr<TransitionAnimation> m_action;
};
