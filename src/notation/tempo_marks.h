#pragma once

#include <pugixml.hpp>

#include "notation/measure_layout.h"
#include "notation/midi_notation.h"

namespace zelvo::notation {

// A metronome mark (quarter notes per minute) where the measure's time has
// got to.
void append_tempo(pugi::xml_node measure, int tempo);

// Every change of tempo in the measure, at its beat; the file's first tempo
// opens the first measure when no change is there.
void append_tempo_marks(pugi::xml_node measure, const MidiNotes& midi, const Measure& bar);

}  // namespace zelvo::notation
