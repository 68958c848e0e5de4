// The two process-wide maps between the id a message is shown under (a
// provisional id until the SDK answers a send) and the SDK's message id.
// Everything that finds a shown message in the SDK, or a stored message in
// the view, goes through them.
#pragma once

#include <cstdint>

namespace tavi {

// Remembers that the message shown under `shownId` is stored under `sdkId`.
void RecordMsgIdPair(int64_t shownId, uint64_t sdkId);
// False when the shown id was never paired.
bool FindSdkMsgId(int64_t shownId, uint64_t& sdkId);
// False when the SDK id was never paired.
bool FindShownMsgId(uint64_t sdkId, int64_t& shownId);

}  // namespace tavi
