// Attribute-change and timer signals. Listeners are known by id: a
// posted signal finds its listener again when it runs, so a listener
// that died in between hears nothing.
#include <set>

#include "sdk/qel_cxx_helper.h"
#include "sim/core/Loop.h"
#include "sim/core/Reset.h"
#include "sim/sdk/World.h"

namespace sim::sdk {

namespace {

struct Timer {
    uint64_t listener = 0;
    int period = 0;
    int remaining = 0;
    void* userdata = nullptr;
    TaskId task = 0;
};

struct SignalState {
    std::map<uint64_t, qel_cxx_helper::SignalsListener*> listeners;
    std::map<uint64_t, std::set<uint64_t>> subscribers;  // object's weak ref -> listener ids
    std::map<uint64_t, std::set<uint64_t>> subscribed;   // listener id -> objects' weak refs
    std::map<uint64_t, qel_cxx_helper::TimerSignalsListener*> timerListeners;
    std::map<uint64_t, Timer> timers;  // subscription id -> timer
};

SignalState& State() {
    static SignalState& state = *new SignalState;
    return state;
}

uint64_t g_nextId = 1;  // listener and subscription ids, never reused

const bool kRegistered = RegisterReset([] {
    for (auto& [id, timer] : State().timers) Cancel(timer.task);
    State().subscribers.clear();
    State().subscribed.clear();
    State().timers.clear();
});

qel_cxx_helper::SignalsListener* Listener(uint64_t id) {
    auto it = State().listeners.find(id);
    return it == State().listeners.end() ? nullptr : it->second;
}

void PostAttribSignal(uint64_t listener, uint64_t setRef, const std::string& key) {
    Post([listener, setRef, key] {
        qel_cxx_helper::SignalsListener* target = Listener(listener);
        qel_object* set = FromWeakRef(setRef);
        if (!target || !set) return;
        const char* names[] = {key.c_str()};
        target->on_sig_attrib_changed(set, names, 1);
    });
}

void PostGroupSignal(uint64_t listener, uint64_t groupRef) {
    Post([listener, groupRef] {
        qel_cxx_helper::SignalsListener* target = Listener(listener);
        qel_object* group = FromWeakRef(groupRef);
        if (target && group) target->on_sig_buddy_group_attrib_changed(group);
    });
}

uint32_t SecondsToMs(int seconds) {
    if (seconds <= 0) return 0;
    const int64_t ms = int64_t(seconds) * 1000;
    return ms > int64_t(UINT32_MAX) ? UINT32_MAX : uint32_t(ms);
}

void ScheduleTimer(uint64_t subscription, uint32_t delayMs) {
    State().timers[subscription].task = PostDelayed(delayMs, [subscription] {
        auto it = State().timers.find(subscription);
        if (it == State().timers.end()) return;
        Timer& timer = it->second;
        auto listener = State().timerListeners.find(timer.listener);
        if (listener == State().timerListeners.end()) return;
        void* userdata = timer.userdata;
        if (--timer.remaining > 0) {
            ScheduleTimer(subscription, SecondsToMs(timer.period));
        } else {
            State().timers.erase(it);
        }
        listener->second->on_sig_timeout(userdata);
    });
}

void CancelTimersOf(uint64_t listener) {
    auto& timers = State().timers;
    for (auto it = timers.begin(); it != timers.end();) {
        if (it->second.listener != listener) {
            ++it;
            continue;
        }
        Cancel(it->second.task);
        it = timers.erase(it);
    }
}

}  // namespace

void NotifyAttribChanged(Attribs* set, const std::string& key) {
    if (!set || !set->root) return;
    const uint64_t rootRef = WeakRef(set->root);
    const uint64_t setRef = WeakRef(set);
    auto subs = State().subscribers.find(rootRef);
    if (subs != State().subscribers.end()) {
        for (uint64_t listener : subs->second) PostAttribSignal(listener, setRef, key);
    }
    if (!As<BuddyGroup>(set->root)) return;
    for (const auto& [listener, objects] : State().subscribed) {
        if (!objects.empty()) PostGroupSignal(listener, rootRef);
    }
}

}  // namespace sim::sdk

namespace qel_cxx_helper {

using sim::sdk::State;

SignalsListener::SignalsListener() : m_id(sim::sdk::g_nextId++) { State().listeners[m_id] = this; }

SignalsListener::~SignalsListener() {
    unsubscribe_all();
    State().listeners.erase(m_id);
}

void SignalsListener::subscribe_attrib_changed(qel_handle object) {
    if (!object) return;
    const uint64_t ref = sim::sdk::WeakRef(object);
    State().subscribers[ref].insert(m_id);
    State().subscribed[m_id].insert(ref);
}

void SignalsListener::unsubscribe_all() {
    auto it = State().subscribed.find(m_id);
    if (it == State().subscribed.end()) return;
    for (uint64_t ref : it->second) {
        auto subs = State().subscribers.find(ref);
        if (subs == State().subscribers.end()) continue;
        subs->second.erase(m_id);
        if (subs->second.empty()) State().subscribers.erase(subs);
    }
    State().subscribed.erase(it);
}

void SignalsListener::on_sig_attrib_changed(qel_handle, const char**, int) {}
void SignalsListener::on_sig_buddy_group_attrib_changed(qel_handle) {}

TimerSignalsListener::TimerSignalsListener() : m_id(sim::sdk::g_nextId++) { State().timerListeners[m_id] = this; }

TimerSignalsListener::~TimerSignalsListener() {
    unsubscribe_all_timer_signals();
    State().timerListeners.erase(m_id);
}

uint64_t TimerSignalsListener::subscribe_timer_signal(int first, int period, int count, void* userdata) {
    if (count <= 0) return 0;
    const uint64_t subscription = sim::sdk::g_nextId++;
    State().timers[subscription] = {m_id, period, count, userdata, 0};
    sim::sdk::ScheduleTimer(subscription, sim::sdk::SecondsToMs(first));
    return subscription;
}

void TimerSignalsListener::unsubscribe_timer_signal(uint64_t subscription) {
    auto it = State().timers.find(subscription);
    if (it == State().timers.end() || it->second.listener != m_id) return;
    sim::Cancel(it->second.task);
    State().timers.erase(it);
}

void TimerSignalsListener::unsubscribe_all_timer_signals() { sim::sdk::CancelTimersOf(m_id); }

void TimerSignalsListener::on_sig_timeout(void*) {}

}  // namespace qel_cxx_helper
