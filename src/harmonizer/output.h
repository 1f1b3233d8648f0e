#pragma once

#include <cstdint>
#include <vector>

#include "base/status.h"
#include "harmonizer/harmonizer_state.h"

namespace zelvo::harmonizer {

// Joins the pieces of cut or tied notes that received the same pitch (a
// head with tie bit 0 takes the first later piece of its instrument and
// pitch that starts at its end and has bit 1), removes the joined pieces
// and sorts. REQUIRES: the note count is the length of the engine's result.
void rejoin_notes(HarmonizerState& state);

// Adds a note-off for every note of `music`, sorts it with its `times` and
// writes it as the format 0 MIDI file `path`, with the harmonizer time
// settings and the state's work areas. Says why for a table that cannot
// hold its note-offs, a tempo of 0 or less, a file that cannot be created
// or fully written, a time step too long for MIDI.
base::Status write_notes_midi(HarmonizerState& state, engine::MusicNoteTable& music, engine::ZeroedTable<int32_t>& times,
                                 const char* path);

// write_notes_midi on the music note table, as state.output_name.
base::Status write_harmony_midi(HarmonizerState& state);

}  // namespace zelvo::harmonizer
