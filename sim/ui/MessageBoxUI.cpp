// Message boxes answered by the driver, and tool tips recorded as shown.
#include "sdk/ui/MessageBoxUI.h"

#include <deque>
#include <functional>

#include "sim/core/Loop.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/ui/UiDriver.h"

namespace {

struct BoxState {
    std::deque<int> answers;
    int defaultAnswer = IDBUTTON_FIRST;
    std::vector<sim::ShownBox> shown;
    std::vector<sim::ShownTip> tips;
    std::function<void(const sim::ShownBox&)> observer;
};

BoxState& State() {
    static BoxState state;
    return state;
}

// The observer belongs to the host program, not to the world: it stays.
const bool kRegistered = sim::RegisterReset([] {
    auto observer = std::move(State().observer);
    State() = BoxState{};
    State().observer = std::move(observer);
});

std::u16string Str(const char16_t* s) { return s ? s : u""; }

}  // namespace

namespace sim {
void QueueBoxAnswer(int answer) { State().answers.push_back(answer); }
void SetDefaultBoxAnswer(int answer) { State().defaultAnswer = answer; }
void SetBoxObserver(std::function<void(const ShownBox&)> observer) { State().observer = std::move(observer); }
const std::vector<ShownBox>& ShownBoxes() { return State().shown; }
const std::vector<ShownTip>& ShownTips() { return State().tips; }
void RecordTip(const ShownTip& tip) { State().tips.push_back(tip); }
}  // namespace sim

int UIMessageBox(HWND parent, const char16_t* text, const char16_t* caption, const char16_t* buttons, int type,
                 const char16_t* icon, int width, int height, bool) {
    BoxState& s = State();
    s.shown.push_back(sim::ShownBox{parent, Str(text), Str(caption), Str(buttons), type, Str(icon), width, height});
    if (s.observer) s.observer(s.shown.back());
    if (s.answers.empty()) return s.defaultAnswer;
    const int answer = s.answers.front();
    s.answers.pop_front();
    return answer;
}

CToolTipUI::CToolTipUI(const std::u16string& text) : m_text(text) {
    m_hideTimer.Bind([this] { m_visible = false; });
}

void CToolTipUI::ShowTip(int32_t x, int32_t y, const std::u16string& align, int32_t width, uint32_t displayMs,
                         int showMode) {
    m_visible = true;
    m_displayMs = displayMs;
    sim::RecordTip(sim::ShownTip{m_text, x, y, align, width, displayMs, showMode});
    StartHideTimer();
}

void CToolTipUI::Hide() {
    m_visible = false;
    m_hideTimer.Stop();
}

void CToolTipUI::LockTimer(bool lock) {
    m_locked = lock;
    if (lock) m_hideTimer.Stop();
    else if (m_visible) StartHideTimer();
}

void CToolTipUI::StartHideTimer() {
    m_hideTimer.Stop();
    if (m_locked || m_displayMs == 0) return;
    m_hideTimer.SetParams(m_displayMs, 0);
    m_hideTimer.Start();
}
