// The conversation's message lists as history loading reads them. Every
// list is newest first: element 0 is the newest message, the last element
// the oldest.
#pragma once

#include <climits>
#include <cstdint>

#include "sdk/qel_conversation.h"
#include "sdk/qel_cxx_helper.h"
#include "sdk/qel_ext_api.h"
#include "sdk/qel_msg.h"

namespace tavi {

// Bounds of a page range that leave that end open.
inline constexpr uint64_t kOldestMsgId = 0;
inline constexpr uint64_t kNewestMsgId = UINT64_MAX;
inline constexpr int kNoPageLimit = INT_MAX;

// Messages with begin <= id <= end, at most `limit` (the newest of them).
inline int GetPageRecord(qel_handle conversation, uint64_t beginId, uint64_t endId, int limit,
                         qel_cxx_helper::HandleArray& list) {
    return qel_conversation_get_page_record(conversation, beginId, endId, 0, limit, 1, list.out_list(),
                                            list.out_count(), 0);
}

inline int GetUnreadRecord(qel_handle conversation, qel_cxx_helper::HandleArray& list) {
    return qel_ext::QelConvGetUnreadPageRecord(conversation, 0, kNoPageLimit, list.out_list(), list.out_count(),
                                               false);
}

inline int GetNewestReadRecord(qel_handle conversation, int limit, qel_cxx_helper::HandleArray& list) {
    return qel_ext::QelConvGetReadPageRecord(conversation, 0, limit, list.out_list(), list.out_count());
}

inline uint64_t NewestMsgId(const qel_cxx_helper::HandleArray& list) { return qel_msg_get_id(list[0]); }
// 0 for an empty list.
inline uint64_t OldestMsgId(const qel_cxx_helper::HandleArray& list) {
    return qel_msg_get_id(list[list.count() - 1]);
}

}  // namespace tavi
