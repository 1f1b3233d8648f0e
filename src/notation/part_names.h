#pragma once

#include <string>

#include <pugixml.hpp>

#include "notation/midi_notation.h"

namespace zelvo::notation {

// The name of channel `channel`'s part: its own name (a track's, or the
// score's the result came from), else the channel and the General MIDI
// instrument of its first program change ("Ch. 1 Acoustic Grand Piano"; of
// program 0 without one; "Ch. 10 Drums" for the drum channel), so that no
// two parts of a score share a name: an own name that another channel with
// notes has too gets the channel before it. Names are taken as UTF-8 where
// they are, else as Windows-1252; control characters are left out.
std::string part_name(const MidiNotes& midi, int channel);

// The part names of a MusicXML score as the names of the channels its
// parts sound on: part "P3" (the number in its id) is channel 3. Names that
// are empty, and parts numbered outside 1 to 16, are left out.
void read_score_part_names(const pugi::xml_document& score, MidiNotes& midi);

// The id of the instrument of drum key `key` in the part of `channel`.
std::string drum_id(int channel, int key);

// The part's <score-part> in `list`: its name, and its instruments with the
// MIDI channel and program (the drum channel: one for each drum it plays,
// with its key), so notation programs play it with the right sound.
void append_named_part(pugi::xml_node list, const MidiNotes& midi, int channel);

}  // namespace zelvo::notation
