// The largest message body the client's readers take, and how deep its
// elements may nest. The component's reader and the client's renderer
// refuse the same bodies.
#pragma once

#include <cstddef>

inline constexpr size_t kMaxBodyBytes = size_t(1) << 20;
inline constexpr size_t kMaxBodyDepth = 64;
