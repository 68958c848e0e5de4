// The messaging SDK as the component sees it: logging, text conversion,
// time and errors. Objects (accounts, conversations, messages, ...) are
// opaque handles; more of the SDK is declared beside this file.
#pragma once

#include <cstdint>

extern "C" {

// Level bits of the SDK's logger: 8 for ordinary lines, 1 for failures.
int qel_log_get_level();
bool qel_is_trace_log_enable(const char* channel);

// The returned text lives until the next call of the same function on
// this thread: callers copy it at once.
const char16_t* qel_utf8_to_unicode(const char* text);
const char* qel_unicode_to_utf8(const char16_t* text);

// Server-adjusted time in seconds since 1970.
int64_t qel_get_adjusted_time();

int qel_get_last_error_code();
const char* qel_get_last_error_msg();

}  // extern "C"

namespace qel_cxx_helper::internal {
void Log(int level, const char* text);
void Trace(const char* channel, const char* text);
}  // namespace qel_cxx_helper::internal

// Every SDK object (account, conversation, buddy, buddy group, message,
// attribute set, preference set) is an opaque handle.
struct qel_object;
using qel_handle = qel_object*;
