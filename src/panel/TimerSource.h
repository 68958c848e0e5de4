// A timer owned by a panel: it ticks through one of the panel's control
// timers, so that it runs on the UI framework's clock like every other.
#pragma once

#include <cstdint>
#include <functional>

class CControlUI;

namespace tavi {

class CTimerSource {
public:
    // `interval` between ticks, the first after `delay` (interval when 0);
    // a one-shot timer stops after its first tick.
    CTimerSource(uint32_t interval, uint32_t delay, bool oneShot)
        : m_interval(interval), m_delay(delay), m_oneShot(oneShot) {}

    // The control whose timer id carries the ticks, and what a tick does.
    void Bind(CControlUI* control, uint32_t timerId, std::function<void()> onTick);
    void Start();
    void Stop();
    bool IsRunning() const { return m_running; }
    // Answers true when the timer event was this timer's.
    bool OnTimerEvent(uint32_t timerId);

private:
    uint32_t m_interval;
    uint32_t m_delay;
    bool m_oneShot;
    bool m_running = false;
    bool m_firstTick = true;
    CControlUI* m_control = nullptr;
    uint32_t m_timerId = 0;
    std::function<void()> m_onTick;
};

}  // namespace tavi
