#pragma once

#include <string>

#include "base/status.h"
#include "files/result_writer.h"
#include "harmonizer/harmonizer_state.h"
#include "notation/notation_grid.h"

namespace zelvo::notation {

// Writes the file `midi_name` of `folder` (a job's result) as MusicXML
// under `xml_name`, whole or not at all, through `results` (null: into
// `folder`). With `harmonizer` (after a
// Harmonize job) each note carries its tone type as a lyric, chord tones
// unlabelled, and its key signatures come from the harmony's scales (else
// from the file's, else from its notes). Notes go on the grid that fits
// the music (notation_grid.h). Returns false when the MIDI file cannot be
// read or the MusicXML not written.
bool write_result_notation(const std::string& folder, const char* midi_name, const char* xml_name,
                           const harmonizer::HarmonizerState* harmonizer, Grid grid,
                           files::ResultWriter* results = nullptr);

// The same at the end of a job that asked for notation, both files in the
// work folder `folder`, on `grid`; the message naming both files when the
// notation is not written.
base::Status notate_result(const std::string& folder, const char* midi_name, const char* xml_name,
                              const harmonizer::HarmonizerState* harmonizer, Grid grid = Grid::kChosen,
                              files::ResultWriter* results = nullptr);

}  // namespace zelvo::notation
