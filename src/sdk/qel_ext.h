// The SDK's extension library: scope tracing.
#pragma once

namespace Performance {

// Marks a named scope ("Class::Method"); the SDK records entry and exit.
class Clocker {
public:
    explicit Clocker(const char* name);
    ~Clocker();
    Clocker(const Clocker&) = delete;
    Clocker& operator=(const Clocker&) = delete;

private:
    const char* m_name;
};

}  // namespace Performance
