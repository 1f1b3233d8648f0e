#pragma once

#include <string>
#include <string_view>

namespace zelvo::app {

// The piano roll of a MIDI file as JSON, for the page to draw and play:
//   {"division", "endTick", "endSeconds", "events", "lowest", "highest", "channels",
//    "notes": [{"channel", "pitch", "start", "end", "velocity", "tone",
//               "given", "startSeconds", "endSeconds"}],
//    "bars": [{"tick", "number", "seconds", "numerator", "denominator"}],
//    "held": [{"tick", "channel", "pitch", "tone"}]}
// Ticks as in the file; "tone" is the non-harmonic tone type's label ("" for
// none) from the harmonizer's tones file `tones` (may be empty); "given" is
// the music's pitch (-1 when not known); a bar's meter is 0/0 where it does
// not change; "events" counts the song's timed events. A file the codec
// refuses gives {"error": "..."}.
std::string roll_json(std::string_view midi, std::string_view tones);

}  // namespace zelvo::app
