#pragma once

#include <cstdint>

#include "console/job_console.h"
#include "harmonizer/harmonizer_state.h"

namespace zelvo::harmonizer {

// Joins the pieces of cut or tied notes that received the same pitch (a
// head with tie bit 0 takes the first later piece of its instrument and
// pitch that starts at its end and has bit 1), removes the joined pieces
// and sorts. REQUIRES: the note count is the length of the engine's result.
void rejoin_notes(HarmonizerState& state);

// Adds a note-off for every note of `music`, sorts it with its `times` and
// writes it as the format 0 MIDI file `path`, with the harmonizer time
// settings and the state's work areas. A table that cannot hold its
// note-offs, a file that cannot be created or fully written, a tempo of 0 or
// less: message and the job ends.
void write_notes_midi(HarmonizerState& state, engine::MusicNoteTable& music, int32_t* times,
                      const char* path, console::JobConsole& console);

// write_notes_midi on the music note table, as state.output_name.
void write_harmony_midi(HarmonizerState& state, console::JobConsole& console);

}  // namespace zelvo::harmonizer
