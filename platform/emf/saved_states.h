#pragma once
// Which saved device-context state RESTOREDC brings back. The saved states
// form a stack: -n pops n states and restores the last one popped; a positive
// n restores the n-th state counted from the bottom and drops it and those
// above it. Both the processor and playback use this one rule.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace vs {

// The index of the state to restore on a stack of `depth` states; the stack
// is cut to that many states afterwards. Empty when n names no saved state
// (0, or beyond the stack): nothing changes then.
inline std::optional<size_t> RestoredStateIndex(size_t depth, int32_t n) {
  if (n < 0) {
    const uint64_t pops = static_cast<uint64_t>(-static_cast<int64_t>(n));
    if (pops > depth) return std::nullopt;
    return depth - static_cast<size_t>(pops);
  }
  if (n > 0 && static_cast<size_t>(n) <= depth) return static_cast<size_t>(n) - 1;
  return std::nullopt;
}

}  // namespace vs
