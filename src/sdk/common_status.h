// The client common library's presence and script helpers, and the C
// library clock that the shake button reads.
#pragma once

#include <cstdint>
#include <string>

#include "sdk/qel.h"

namespace common {

// Whether the SDK knows the buddy's presence at all.
bool HasPresence(qel_handle buddy);
// The buddy's status as the client groups it: 0 and 2 are offline kinds.
int GetStatusType(qel_handle buddy, qel_handle account);
// The text in the user's script (simplified to traditional where the
// client is set up for it); unchanged otherwise.
std::u16string TryTransToFT(const std::u16string& text);

}  // namespace common

// Seconds since 1970, as the C library's time().
int64_t CrtTime();
