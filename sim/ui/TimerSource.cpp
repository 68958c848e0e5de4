// Timer objects on the virtual clock.
#include "sdk/ui/TimerSource.h"

#include "sim/core/Loop.h"
#include "sim/ui/UiInternal.h"

CTimerSource::CTimerSource(uint32_t delayMs, uint32_t periodMs, bool autoStart)
    : m_delayMs(delayMs), m_periodMs(periodMs) {
    if (autoStart) Start();
}

CTimerSource::~CTimerSource() { Stop(); }

void CTimerSource::SetParams(uint32_t delayMs, uint32_t periodMs) {
    m_delayMs = delayMs;
    m_periodMs = periodMs;
}

void CTimerSource::Start() {
    Stop();
    Schedule(m_delayMs);
}

void CTimerSource::Stop() {
    if (m_task && m_epoch == sim::ui::ResetEpoch()) sim::Cancel(m_task);
    m_task = 0;
    // A tick already taken off the loop must not run for an old start.
    ++m_generation;
}

bool CTimerSource::IsRunning() const { return m_task != 0 && m_epoch == sim::ui::ResetEpoch(); }

void CTimerSource::Schedule(uint32_t ms) {
    const uint64_t generation = m_generation;
    m_epoch = sim::ui::ResetEpoch();
    m_task = sim::PostDelayed(ms, [this, generation] {
        if (generation != m_generation) return;
        m_task = 0;
        if (m_periodMs > 0) Schedule(m_periodMs);
        if (m_handler) m_handler();
    });
}
