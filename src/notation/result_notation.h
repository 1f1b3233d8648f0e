#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "files/result_writer.h"
#include "harmonizer/result_labels.h"
#include "notation/notation_grid.h"

namespace zelvo::notation {

// What a harmonization hands the notation of its result, as values.
struct HarmonyLabels {
  std::vector<harmonizer::ToneLine> tones;      // every note's tone type
  std::vector<harmonizer::ResultScale> scales;  // the harmony's scales
  // The part names of the score the music came from, by channel; an empty
  // name keeps the MIDI file's own.
  std::array<std::string, 16> names;
};

// The MusicXML of a job's result, the MIDI file `midi` (its bytes). With
// `labels` (after a Harmonize job) each note carries its tone type as a
// lyric, chord tones unlabelled, and its key signatures come from the
// harmony's scales (else from the file's, else from its notes). Notes go on
// the grid that fits the music (notation_grid.h). Empty when the bytes
// cannot be read as MIDI or the notes need too many measures.
std::string result_notation(std::string_view midi, const HarmonyLabels* labels, Grid grid);

// The same at the end of a job that asked for notation: `midi` is the job's
// output `midi_name` (null: the job wrote none), written as `xml_name`
// whole or not at all through `results` (null: into `folder`); the message
// naming both files when the notation is not written.
base::Status notate_result(const std::string* midi, const char* midi_name, const char* xml_name,
                              const HarmonyLabels* labels, Grid grid, const std::string& folder,
                              files::ResultWriter* results);

}  // namespace zelvo::notation
