// A timer object of the framework, independent of controls: it fires
// first after `delayMs`, then every `periodMs` (never again when 0), on
// the UI thread; its handler is bound once.
#pragma once

#include <cstdint>
#include <functional>

class CTimerSource {
public:
    CTimerSource() = default;
    // autoStart starts it at once.
    CTimerSource(uint32_t delayMs, uint32_t periodMs, bool autoStart);
    ~CTimerSource();
    CTimerSource(const CTimerSource&) = delete;
    CTimerSource& operator=(const CTimerSource&) = delete;

    void Bind(std::function<void()> handler) { m_handler = std::move(handler); }
    void SetParams(uint32_t delayMs, uint32_t periodMs);
    // Starting a running timer starts it over.
    void Start();
    void Stop();
    bool IsRunning() const;

private:
    void Schedule(uint32_t ms);

    std::function<void()> m_handler;
    uint32_t m_delayMs = 0;
    uint32_t m_periodMs = 0;
    uint64_t m_task = 0;
    uint64_t m_generation = 0;
    uint64_t m_epoch = 0;
};
