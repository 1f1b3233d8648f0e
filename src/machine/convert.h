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

// The integer and fractional parts as std::modf gives them, signed zeros
// included, without its call where the value has a fractional part to lose.
constexpr double kNoFraction = 4503599627370496.0;  // 2^52: doubles this large are whole

inline double whole_part(double x) {
  if (std::fabs(x) < kNoFraction) return std::copysign(static_cast<double>(static_cast<int64_t>(x)), x);
  double whole;
  std::modf(x, &whole);
  return whole;
}

inline double fraction_part(double x) {
  // Exact: x and its whole part are within a factor of two of each other.
  if (std::fabs(x) < kNoFraction) return std::copysign(x - static_cast<double>(static_cast<int64_t>(x)), x);
  double whole;
  return std::modf(x, &whole);
}

}  // namespace zelvo::machine
