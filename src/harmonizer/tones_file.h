#pragma once

#include <cstdint>
#include <vector>

#include "base/work_files.h"
#include "harmonizer/harmonizer_state.h"

namespace zelvo::harmonizer {

// The result's tone types, beside outar.mid: "outar.tones", text, LF lines.
// Lines starting with '#' are comments; every other line is one note of the
// engine's result, in the engine's order:
//
//   channel tick chosen given type
//
// channel 1-16; tick the note's start as outar.mid places it (the same
// clicks and origin); chosen the pitch written; given the pitch the music
// gave; type fa fd pa pd as ai ea ed (the non-harmonic tone types) or re (a
// chord tone). A note whose pieces were rejoined appears once per piece.
inline constexpr const char* kTonesFileName = base::kHarmonyTones;

// One line of that file.
struct ToneLine {
  int32_t channel = 0;
  int32_t tick = 0;
  int32_t chosen = 0;
  int32_t given = 0;
  const char* type = "";  // the tone type's short name (static text)
};

// The lines of the last harmonize_units result, in the file's order.
std::vector<ToneLine> result_tones(const HarmonizerState& state);

// Writes the tones file of the last harmonize_units result under a
// temporary name and renames it. Prints nothing: the file is an extra for
// the piano roll, and a folder that refuses it only loses the labels.
void write_tones_file(const HarmonizerState& state);

}  // namespace zelvo::harmonizer
