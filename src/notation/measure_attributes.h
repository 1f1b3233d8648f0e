#pragma once

#include <pugixml.hpp>

#include "notation/key_spelling.h"
#include "notation/measure_layout.h"

namespace zelvo::notation {

// The elements of a measure's <attributes> that the MIDI notation writes.
void append_key(pugi::xml_node attributes, Key key);
// `number` 0 for a part of one staff; `line` 0 for a clef without one.
void append_clef(pugi::xml_node attributes, int number, const char* sign, int line);
void append_time(pugi::xml_node attributes, const Measure& bar);

}  // namespace zelvo::notation
