// Number conversions shared by the play code: rounding and saturation.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace state {

// Nearest whole number, halves to even; saturates outside the 32-bit range
// (and takes NaN as 0) so that no conversion is undefined.
inline int32_t RoundHalfEven(double v) {
  if (std::isnan(v)) return 0;
  const double r = std::nearbyint(v);  // the default rounding mode: halves to even
  if (r >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (r <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(r);
}

inline int32_t FloorToInt(double v) { return RoundHalfEven(std::floor(v)); }

inline int16_t Saturate16(int64_t v) {
  if (v > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
  if (v < std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
  return static_cast<int16_t>(v);
}

inline int32_t Saturate32(int64_t v) {
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

}  // namespace state
