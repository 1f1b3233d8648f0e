#pragma once

#include <array>
#include <string>

#include "files/work_reader.h"

namespace zelvo::notation {

// The part names of the music a harmonization read (`music_source`, the
// configuration's choice: 0 the score, 2 the harmony's score, 3 the
// composer's MIDI file; the composer's listing names none) from the work's
// files `inputs`, by channel: a score's part names, a MIDI file's track
// names. Empty where the source names no part or cannot be read.
std::array<std::string, 16> source_part_names(const files::WorkReader& inputs, int music_source);

}  // namespace zelvo::notation
