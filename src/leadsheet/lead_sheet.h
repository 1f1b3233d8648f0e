#pragma once

#include <string>

#include <pugixml.hpp>

namespace zelvo::leadsheet {

// Turns the chord symbols (<harmony>) and key signatures of a score's first
// part that has chord symbols into a harmony file: part `first_part` holds
// a rising scale at every key signature, part `first_part` + 1 a chord at
// every symbol, each in the measure and at the place of its symbol, so each
// holds until the next. Measures keep the score's numbers, lengths, time
// signatures (a change is written in every part where the score makes it)
// and pickup mark; the first chord and scale also hold from the very start.
// Returns the file laid out one element per line, or empty with `problem`
// set (no chord symbols, no measures).
std::string make_harmony_file(const pugi::xml_document& score, int first_part,
                              std::string& problem);

}  // namespace zelvo::leadsheet
