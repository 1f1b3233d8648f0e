#pragma once

#include <string>

namespace zelvo::notation {

// Reads the lead sheet at `score_path` (MusicXML of any form) and writes the
// harmony file of its chord symbols and key signatures to `output`, whole
// or not at all. A `first_part` of 0 puts the scales after the score's own
// parts and is set to the part used. On failure `problem` is the line to
// show (the score or the output named first) and nothing is left under
// `output`.
bool write_lead_sheet_harmony(const std::string& score_path, const std::string& output,
                              int& first_part, std::string& problem);

}  // namespace zelvo::notation
