// What kind of group a conversation is with, as the send rules and the
// panel ask it: only groups tagged -1 or 4 carry a conversation type.
#pragma once

#include <optional>

#include "sdk/qel.h"

namespace tavi {

// The conversation type that has mentions switched off.
inline constexpr int kConvTypeNoMentions = 6;
// A conversation type the client does not know yet.
inline constexpr int kConvTypeUnknown = -1;

// The "conv-type" of the group's "ext" attributes (kConvTypeUnknown when it
// has none), or nothing when `group` is null or not a group of that tag.
std::optional<int> GroupConvType(qel_handle group);

}  // namespace tavi
