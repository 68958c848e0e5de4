// Client configuration values by section and key, and the clocks the
// component reads.
#include <map>
#include <string>
#include <utility>

#include "sdk/common.h"
#include "sdk/qel.h"
#include "sdk/win32.h"
#include "sim/core/Loop.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/driver.h"

namespace sim {

namespace {
using Key = std::pair<std::u16string, std::u16string>;
struct ConfigState {
    std::map<Key, std::u16string> exe;
    std::map<Key, std::u16string> module;
};

ConfigState& State() {
    static ConfigState state;
    return state;
}

const bool kRegistered = RegisterReset([] { State() = ConfigState{}; });

const std::u16string* Find(const std::map<Key, std::u16string>& values, const char16_t* section, const char16_t* key) {
    if (!section || !key) return nullptr;
    auto it = values.find(Key(section, key));
    return it == values.end() ? nullptr : &it->second;
}

int ToInt(const std::u16string& text, int fallback) {
    try {
        return std::stoi(ToUtf8(text));
    } catch (...) {
        return fallback;
    }
}
}  // namespace

void SetExeConfig(const std::string& section, const std::string& key, const std::string& value) {
    State().exe[Key(ToWide(section), ToWide(key))] = ToWide(value);
}

void SetModuleConfig(const std::string& section, const std::string& key, const std::string& value) {
    State().module[Key(ToWide(section), ToWide(key))] = ToWide(value);
}

}  // namespace sim

namespace common {

int GetEXEConfig(const char16_t* section, const char16_t* key, int defaultValue) {
    const std::u16string* v = sim::Find(sim::State().exe, section, key);
    return v ? sim::ToInt(*v, defaultValue) : defaultValue;
}

std::u16string GetEXEConfigStr(const char16_t* section, const char16_t* key, const char16_t* defaultValue) {
    const std::u16string* v = sim::Find(sim::State().exe, section, key);
    return v ? *v : std::u16string(defaultValue ? defaultValue : u"");
}

int GetModuleConfig(const char16_t* section, const char16_t* key, int defaultValue) {
    const std::u16string* v = sim::Find(sim::State().module, section, key);
    return v ? sim::ToInt(*v, defaultValue) : defaultValue;
}

std::u16string GetModuleConfigStr(const char16_t* section, const char16_t* key, const char16_t* defaultValue) {
    const std::u16string* v = sim::Find(sim::State().module, section, key);
    return v ? *v : std::u16string(defaultValue ? defaultValue : u"");
}

}  // namespace common

extern "C" int64_t qel_get_adjusted_time() { return sim::kEpochSeconds + int64_t(sim::NowMs() / 1000); }

uint32_t GetTickCount() { return uint32_t(sim::kTickBase + sim::NowMs()); }
