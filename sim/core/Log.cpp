// The SDK's logger, trace channels and scope traces, kept in memory for
// the driver and printed when TAVI_LOG is set.
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "sdk/qel.h"
#include "sdk/qel_ext.h"
#include "sim/core/Reset.h"
#include "sim/driver.h"

namespace sim {

namespace {
struct LogState {
    int level = 9;
    std::vector<LogEntry> lines;
    std::set<std::string> traceChannels;
    std::vector<std::string> scopes;
    int lastErrorCode = 0;
    std::string lastErrorMsg;
};

LogState& State() {
    static LogState state;
    return state;
}

const bool kRegistered = RegisterReset([] { State() = LogState{}; });

bool Echo() {
    static const bool echo = std::getenv("TAVI_LOG") != nullptr;
    return echo;
}
}  // namespace

void SetLogLevel(int level) { State().level = level; }
const std::vector<LogEntry>& LogLines() { return State().lines; }
void EnableTraceChannel(const std::string& channel) { State().traceChannels.insert(channel); }
const std::vector<std::string>& ScopeTraces() { return State().scopes; }
void SetLastError(int code, const std::string& message) {
    State().lastErrorCode = code;
    State().lastErrorMsg = message;
}

}  // namespace sim

extern "C" int qel_log_get_level() { return sim::State().level; }

extern "C" bool qel_is_trace_log_enable(const char* channel) {
    return channel && sim::State().traceChannels.count(channel) != 0;
}

extern "C" int qel_get_last_error_code() { return sim::State().lastErrorCode; }
extern "C" const char* qel_get_last_error_msg() { return sim::State().lastErrorMsg.c_str(); }

namespace qel_cxx_helper::internal {

void Log(int level, const char* text) {
    if (!text) return;
    sim::State().lines.push_back({level, "", text});
    if (sim::Echo()) std::fprintf(stderr, "[log %d] %s", level, text);
}

void Trace(const char* channel, const char* text) {
    if (!channel || !text) return;
    sim::State().lines.push_back({0, channel, text});
    if (sim::Echo()) std::fprintf(stderr, "[%s] %s\n", channel, text);
}

}  // namespace qel_cxx_helper::internal

namespace Performance {

Clocker::Clocker(const char* name) : m_name(name) {
    if (m_name) sim::State().scopes.emplace_back(m_name);
}

Clocker::~Clocker() = default;

}  // namespace Performance
