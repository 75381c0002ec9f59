#pragma once
// Small numeric helpers the metafile processor's handlers share.
#include <cmath>
#include <cstdint>
#include <limits>

namespace vs::metafile {

// Nearest integer, halves to even; out-of-range values are clamped and a
// value that is not a number gives 0, so record data can never overflow.
inline int RoundInt(double v) {
  if (std::isnan(v)) return 0;
  constexpr double lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
  return static_cast<int>(std::nearbyint(std::fmax(lo, std::fmin(hi, v))));
}

// An integer extent scaled by num / denom with truncation; a zero denominator
// leaves it unchanged.
inline int32_t ScaleExtent(int32_t extent, int32_t num, int32_t denom) {
  if (denom == 0) return extent;
  int64_t v = static_cast<int64_t>(extent) * num / denom;
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

}  // namespace vs::metafile
