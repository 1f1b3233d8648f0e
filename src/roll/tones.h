#pragma once

#include <string>
#include <string_view>

#include "roll/piano_roll.h"

namespace zelvo::roll {

// Reads the harmonizer's tones file (lines "channel tick chosen given type",
// '#' comments; see harmonizer/tones_file.h) and gives each note of `roll`
// that starts on such a line's channel, tick and chosen pitch its given
// pitch and tone type; a line whose note started earlier and still sounds
// (tied over a bar line) goes to `held_tones`. Lines that do not parse are
// passed over. Returns the number of notes labelled at their start.
size_t apply_tones(std::string_view text, PianoRoll& roll);

// "fa" ... "ed" for 0-7, "" otherwise.
std::string_view tone_type_label(int32_t type);

}  // namespace zelvo::roll
