#pragma once

#include <string>

#include <pugixml.hpp>

#include "base/status.h"

namespace zelvo::leadsheet {

// Turns the chord symbols (<harmony>) and key signatures of a score's first
// part that has chord symbols into a harmony file: part `first_part` holds
// a rising scale at every key signature, part `first_part` + 1 a chord at
// every symbol, each in the measure and at the place of its symbol, so each
// holds until the next. Measures keep the score's numbers, lengths, time
// signatures (a change is written in every part where the score makes it)
// and pickup mark; the first chord and scale also hold from the very start.
// Sets `harmony` to the file laid out one element per line; fails, naming
// the score as `score_name`, when it has no chord symbols or no measures.
base::Status make_harmony_file(const pugi::xml_document& score, int first_part, const std::string& score_name,
                               std::string& harmony);

}  // namespace zelvo::leadsheet
