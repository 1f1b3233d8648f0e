#pragma once

#include <string>

#include "base/status.h"

namespace zelvo::leadsheet {

// Where a harmony file's scale part was put, when not given.
enum class HarmonyPartsFrom {
  kGiven,             // the caller named the part
  kConfiguration,     // where the work's conar.rur or conar.txt reads it
  kNewConfiguration,  // after the score's parts, in a conar.txt written to say so
  kScoreParts,        // after the score's parts (the configuration stops at a bad line)
};

// Reads the lead sheet at `score_path` (MusicXML of any form) and writes the
// harmony file of its chord symbols and key signatures to `output`, whole
// or not at all. A `first_part` of 0 puts the scales where the configuration
// of the current directory reads them; with no configuration there, after
// the score's own parts, and a conar.txt reading them so is written too.
// `first_part` is set to the part used and `from` says how it was chosen.
// A failure names the score or the output, and leaves nothing under
// `output`.
base::Status write_lead_sheet_harmony(const std::string& score_path, const std::string& output, int& first_part,
                                      HarmonyPartsFrom* from = nullptr);

// The sentence that says where the parts went, for the console or a dialog.
std::string harmony_parts_note(const std::string& output, int first_part, HarmonyPartsFrom from, bool spanish);

}  // namespace zelvo::leadsheet
