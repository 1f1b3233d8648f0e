#pragma once

#include <string>

#include <pugixml.hpp>

#include "notation/midi_notation.h"

namespace zelvo::notation {

// The name of channel `channel`'s part: its track's name, else the General
// MIDI instrument of its first program change (of program 0 without one),
// "Drums" for the drum channel. Track names are taken as UTF-8 where they
// are, else as Windows-1252; control characters are left out.
std::string part_name(const MidiNotes& midi, int channel);

// The id of the instrument of drum key `key` in the part of `channel`.
std::string drum_id(int channel, int key);

// The part's <score-part> in `list`: its name, and its instruments with the
// MIDI channel and program (the drum channel: one for each drum it plays,
// with its key), so notation programs play it with the right sound.
void append_named_part(pugi::xml_node list, const MidiNotes& midi, int channel);

}  // namespace zelvo::notation
