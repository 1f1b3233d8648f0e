#pragma once

#include <string>

#include "console/job_console.h"
#include "harmonizer/harmonizer_state.h"
#include "notation/notation_grid.h"

namespace zelvo::notation {

// Writes the file `midi_name` (a job's result) as MusicXML under `xml_name`, whole or not at all. With `harmonizer` (after a
// Harmonize job) each note carries its tone type as a lyric, chord tones
// unlabelled, and its key signatures come from the harmony's scales (else
// from the file's, else from its notes). Notes go on the grid that fits
// the music (notation_grid.h). Returns false when the MIDI file cannot be
// read or the MusicXML not written.
bool write_result_notation(const char* midi_name, const char* xml_name,
                           const harmonizer::HarmonizerState* harmonizer, Grid grid = Grid::kChosen);

// The same at the end of a job that asked for notation, both files in the
// work folder `folder`, on `grid`: says where it was written, or ends the
// job with a message naming the files.
void notate_job_result(console::JobConsole& console, const std::string& folder, const char* midi_name,
                       const char* xml_name, const harmonizer::HarmonizerState* harmonizer,
                       Grid grid = Grid::kChosen);

}  // namespace zelvo::notation
