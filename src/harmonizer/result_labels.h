#pragma once

// What a harmonization tells the steps after it (the notation, the piano
// roll, a caller of the job API) about its result, as plain values: none of
// them needs the engine's tables to read them.
#include <array>
#include <cstdint>
#include <string_view>

namespace zelvo::harmonizer {

// One note of the result and its tone type, as outar.tones lists it
// (tones_file.h): channel 1-16, the tick of its start in outar.mid, the
// pitch written and the pitch the music gave.
struct ToneLine {
  int32_t channel = 0;
  int32_t tick = 0;
  int32_t chosen = 0;
  int32_t given = 0;
  const char* type = "";  // the tone type's short name (static text)
};

// The short name a chord tone has; every other name is a non-harmonic type.
inline constexpr std::string_view kChordToneName = "re";

// One scale of the harmony from where it starts in outar.mid: the pitch
// classes it marks, and its tonic when exactly one pitch class is marked as
// the scale's first and last note (-1 otherwise), which tells a minor key
// from its relative major.
struct ResultScale {
  int32_t tick = 0;
  std::array<bool, 12> marked = {};
  int tonic = -1;
};

}  // namespace zelvo::harmonizer
