#pragma once

#include <cstdint>

#include "console/console.h"
#include "harmonizer/harmonizer_state.h"

namespace zelvo::harmonizer {

// Joins the pieces of cut or tied notes that received the same pitch (a
// head with tie bit 0 takes the first later piece of its instrument and
// pitch that starts at its end and has bit 1), removes the joined pieces
// and sorts. REQUIRES: the note count is the length of the engine's result.
void rejoin_notes(HarmonizerState& state);

// Adds a note-off for every note, sorts and writes the table as a format 0
// MIDI file named by state.output_name, with the harmonizer time settings.
// A result that cannot hold its note-offs, a file that cannot be created or
// fully written, a tempo of 0 or less: message and the job ends.
void write_harmony_midi(HarmonizerState& state, console::Console& console);

}  // namespace zelvo::harmonizer
