// Process-wide message ids of the send path: the provisional ids that
// messages are shown under before the SDK has answered, and the maps
// between them and the SDK's ids.
#pragma once

#include <cstdint>
#include <optional>

namespace tavi {

inline constexpr int64_t kFirstProvisionalMsgId = -100001;
// Ids from -2 up belong to others (the draft's record, then the SDK's own
// message ids), and the lowest ids to the view's own lines (the offer of
// older messages, the history marker). So after this one the counter goes
// on from halfway down, where nothing else lives: a client that has shown a
// hundred thousand messages must not show the next one under an id that a
// real message or a line of the view already has.
inline constexpr int64_t kLastProvisionalMsgIdBeforeWrap = -3;
inline constexpr int64_t kProvisionalMsgIdAfterWrap = INT64_MIN / 2;

// The current provisional id; the counter moves on by one (see above).
int64_t TakeProvisionalMsgId();
// The id the next message will be shown under.
int64_t PeekProvisionalMsgId();

// Filled by send completions: provisional id <-> SDK message id, kept for
// the window (`owner`, its message handler) that showed the message.
void RecordSentMsgId(int64_t provisionalId, uint64_t msgId, const void* owner);
// Drops every pair recorded for `owner`: once its window is gone an SDK id
// that comes again (a new account, a new SDK instance) must not find it.
void ForgetSentMsgIdsOf(const void* owner);
std::optional<uint64_t> FindSdkMsgId(int64_t provisionalId);
std::optional<int64_t> FindProvisionalMsgId(uint64_t msgId);

// The message stored as pending while its pictures upload, by provisional id.
void RecordPendingMsgId(int64_t provisionalId, uint64_t msgId);
std::optional<uint64_t> FindPendingMsgId(int64_t provisionalId);
void ForgetPendingMsgId(int64_t provisionalId);

}  // namespace tavi
