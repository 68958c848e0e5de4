// The SDK's C++ helpers: weak handles, handle arrays and signal listeners.
// Signals and timer signals are delivered on the UI thread, on a later
// turn than the change that caused them; a listener that is destroyed is
// unsubscribed and receives nothing more.
#pragma once

#include <cstdint>

#include "sdk/qel_attribs.h"

namespace qel_cxx_helper {

// Keeps an SDK object without owning it: converts back to null once the
// SDK has dropped the object.
class WeakHandle {
public:
    WeakHandle() = default;
    WeakHandle(qel_handle object) : m_ref(qel_object_weak_ref(object)) {}
    WeakHandle& operator=(qel_handle object) {
        m_ref = qel_object_weak_ref(object);
        return *this;
    }
    qel_handle get() const { return m_ref ? qel_object_from_weak_ref(m_ref) : nullptr; }
    operator qel_handle() const { return get(); }
    void reset() { m_ref = 0; }

private:
    uint64_t m_ref = 0;
};

// Owns an array of handles that the SDK filled; element 0 first.
class HandleArray {
public:
    HandleArray() = default;
    ~HandleArray() { qel_release_handle_array(m_list); }
    HandleArray(const HandleArray&) = delete;
    HandleArray& operator=(const HandleArray&) = delete;
    // Out parameters for the SDK's list calls; the old list is released.
    qel_handle** out_list() {
        qel_release_handle_array(m_list);
        m_list = nullptr;
        m_count = 0;
        return &m_list;
    }
    int* out_count() { return &m_count; }
    int count() const { return m_list ? m_count : 0; }
    qel_handle operator[](int i) const { return i >= 0 && i < count() ? m_list[i] : nullptr; }
    qel_handle* data() const { return m_list; }

private:
    qel_handle* m_list = nullptr;
    int m_count = 0;
};

class SignalsListener {
public:
    SignalsListener();
    virtual ~SignalsListener();
    SignalsListener(const SignalsListener&) = delete;
    SignalsListener& operator=(const SignalsListener&) = delete;

    // Attribute changes of this object (any of its attribute sets).
    void subscribe_attrib_changed(qel_handle object);
    void unsubscribe_all();

    // `attribs` is the set that changed, `names` the changed keys.
    virtual void on_sig_attrib_changed(qel_handle attribs, const char** names, int count);
    // A buddy group's attributes changed; every subscribed listener hears it.
    virtual void on_sig_buddy_group_attrib_changed(qel_handle group);

    uint64_t listener_id() const { return m_id; }

private:
    uint64_t m_id;
};

class TimerSignalsListener {
public:
    TimerSignalsListener();
    virtual ~TimerSignalsListener();
    TimerSignalsListener(const TimerSignalsListener&) = delete;
    TimerSignalsListener& operator=(const TimerSignalsListener&) = delete;

    // The first signal comes `first` SDK seconds from now, then every
    // `period` seconds, `count` times in all. Answers the subscription id.
    uint64_t subscribe_timer_signal(int first, int period, int count, void* userdata);
    void unsubscribe_timer_signal(uint64_t subscription);
    void unsubscribe_all_timer_signals();

    virtual void on_sig_timeout(void* userdata);

    uint64_t listener_id() const { return m_id; }

private:
    uint64_t m_id;
};

}  // namespace qel_cxx_helper
