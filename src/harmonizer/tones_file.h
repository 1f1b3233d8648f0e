#pragma once

#include <cstdint>
#include <vector>

#include "base/work_files.h"
#include "harmonizer/harmonizer_state.h"
#include "harmonizer/result_labels.h"

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

// The lines of the last harmonize_units result, in the file's order.
std::vector<ToneLine> result_tones(const HarmonizerState& state);

// The scales of the last harmony read, in its order, up to its end marker.
std::vector<ResultScale> result_scales(const HarmonizerState& state);

// Writes the tones file of the last harmonize_units result under a
// temporary name and renames it. Prints nothing: the file is an extra for
// the piano roll, and a folder that refuses it only loses the labels.
void write_tones_file(const HarmonizerState& state);

}  // namespace zelvo::harmonizer
