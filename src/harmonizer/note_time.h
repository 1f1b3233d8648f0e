#pragma once

#include <cstdint>

#include "engine/model.h"
#include "engine/settings.h"

namespace zelvo::harmonizer {

// Absolute click of a position, counted from bar 0 (the engine's count):
// Cpin * compas-num * clicks-parte + Ckin. 64-bit; only differences of two
// such times are ever used. A bar number and bar length that a file makes
// absurd (both near 2^31) would pass even 64 bits: the product then stops at
// kTimeLimit, which leaves room for the sums and differences made of it.
inline constexpr int64_t kTimeLimit = INT64_MAX / 4;

inline int64_t absolute_time(const engine::TimeSettings& time, int32_t cpin, int32_t ckin) {
  const int64_t bar = static_cast<int64_t>(time.compas_num) * time.clicks_parte;
  const int64_t magnitude = bar < 0 ? -bar : bar;
  const int64_t bars = cpin < 0 ? -static_cast<int64_t>(cpin) : cpin;
  if (magnitude != 0 && bars > kTimeLimit / magnitude) {
    return (cpin < 0) == (bar < 0) ? kTimeLimit : -kTimeLimit;
  }
  return static_cast<int64_t>(cpin) * bar + ckin;
}

inline int64_t note_start(const engine::TimeSettings& time, const engine::MusicNote& note) {
  return absolute_time(time, note.Cpin, note.Ckin);
}

inline int64_t note_end(const engine::TimeSettings& time, const engine::MusicNote& note) {
  return note_start(time, note) + note.Dur;
}

// The number of times `den` can be halved while it is 2 or more: log2 of a
// power of two.
inline int32_t denominator_exponent(int32_t den) {
  int32_t exponent = 0;
  while (den >= 2) {
    den /= 2;
    ++exponent;
  }
  return exponent;
}

}  // namespace zelvo::harmonizer
