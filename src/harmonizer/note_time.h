#pragma once

#include <cstdint>

#include "engine/model.h"
#include "engine/settings.h"

namespace zelvo::harmonizer {

// Absolute click of a position, counted from bar 0 (the engine's count):
// Cpin * compas-num * clicks-parte + Ckin. 64-bit, so that no input can
// overflow it; only differences of two such times are ever used.
inline int64_t absolute_time(const engine::TimeSettings& time, int32_t cpin, int32_t ckin) {
  return static_cast<int64_t>(cpin) * time.compas_num * time.clicks_parte + ckin;
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
