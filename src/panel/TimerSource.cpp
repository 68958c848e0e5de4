#include "panel/TimerSource.h"

#include "sdk/ui/ControlUI.h"

namespace tavi {

void CTimerSource::Bind(CControlUI* control, uint32_t timerId, std::function<void()> onTick) {
    m_control = control;
    m_timerId = timerId;
    m_onTick = std::move(onTick);
}

void CTimerSource::Start() {
    if (!m_control) return;
    m_running = true;
    m_firstTick = true;
    m_control->SetTimer(m_timerId, m_delay ? m_delay : m_interval);
}

void CTimerSource::Stop() {
    if (m_control && m_running) m_control->KillTimer(m_timerId);
    m_running = false;
}

bool CTimerSource::OnTimerEvent(uint32_t timerId) {
    if (timerId != m_timerId || !m_running) return false;
    if (m_oneShot) {
        Stop();
    } else if (m_firstTick && m_delay && m_delay != m_interval) {
        // After the first delay the timer settles on its interval.
        m_control->SetTimer(m_timerId, m_interval);
    }
    m_firstTick = false;
    if (m_onTick) m_onTick();
    return true;
}

}  // namespace tavi
