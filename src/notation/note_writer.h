#pragma once

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "notation/measure_pieces.h"
#include "notation/midi_notation.h"

namespace zelvo::notation {

// The part whose notes are written: the exact writing without `marks`,
// else the readable one; `drums` on the drum channel's percussion staff
// (readable writing only).
struct NoteContext {
  const MidiNotes& midi;
  const std::vector<std::string>& lyrics;  // one a note, or none
  const ReadableMarks* marks;
  bool drums = false;
  int staves = 1;
};

// Appends `piece` to `measure` as a MusicXML note: a rest, a pitch or a
// drum's place, its value, ties, accidental, staccato and lyric.
void write_note(pugi::xml_node measure, const Piece& piece, const NoteContext& part);

}  // namespace zelvo::notation
