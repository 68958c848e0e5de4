// Timer objects on the virtual clock.
#include "sdk/ui/TimerSource.h"

#include "sim/core/Loop.h"

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
    if (m_task) sim::Cancel(m_task);
    m_task = 0;
    // A world reset may have dropped the task; the generation tells a stale tick.
    ++m_generation;
}

void CTimerSource::Schedule(uint32_t ms) {
    const uint64_t generation = m_generation;
    m_task = sim::PostDelayed(ms, [this, generation] {
        if (generation != m_generation) return;
        m_task = 0;
        if (m_periodMs > 0) Schedule(m_periodMs);
        if (m_handler) m_handler();
    });
}
