#pragma once

#include <cstdint>

#include "engine/bar_time.h"
#include "engine/model.h"
#include "engine/settings.h"

namespace zelvo::harmonizer {

// Absolute click of a position, counted from bar 0 (the engine's count):
// Cpin * compas-num * clicks-parte + Ckin; from bar 1 when the meter changes. 64-bit; only differences of two
// such times are ever used. A bar number and bar length that a file makes
// absurd (both near 2^31) would pass even 64 bits: the product then stops at
// kTimeLimit, which leaves room for the sums and differences made of it.
inline constexpr int64_t kTimeLimit = INT64_MAX / 4;

inline int64_t absolute_time(const engine::TimeSettings& time, int32_t cpin, int32_t ckin) {
  if (engine::has_meter_changes(time)) return engine::bar_start(time, cpin) + ckin;
  const int64_t bar = static_cast<int64_t>(time.beats_per_bar) * time.clicks_per_beat;
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

using engine::denominator_exponent;

}  // namespace zelvo::harmonizer

namespace zelvo::harmonizer {

// The tick of a position in the MIDI file written: from the start of bar 1,
// low 32 bits (a file's absurd bar numbers and lengths take the exact
// product beyond 64 bits; unsigned arithmetic wraps).
inline int32_t midi_tick(const engine::TimeSettings& time, int32_t cpin, int32_t ckin) {
  if (engine::has_meter_changes(time)) {
    return static_cast<int32_t>(static_cast<uint64_t>(engine::bar_start(time, cpin) + ckin));
  }
  const uint64_t bars = static_cast<uint64_t>(int64_t{cpin} - 1);
  const uint64_t bar = static_cast<uint64_t>(int64_t{time.beats_per_bar} * time.clicks_per_beat);
  return static_cast<int32_t>(bars * bar + static_cast<uint64_t>(int64_t{ckin}));
}

}  // namespace zelvo::harmonizer
