#pragma once

#include <cmath>
#include <cstdint>

namespace zelvo::machine {

// Every double-to-integer conversion of the composer: truncation toward
// zero, saturating at the int32 range; NaN gives 0.
inline int32_t truncate_to_int32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(value);
}

}  // namespace zelvo::machine
