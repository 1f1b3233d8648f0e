#pragma once

#include <cstdint>
#include <vector>

#include "notation/midi_notation.h"

namespace zelvo::notation {

// A chord of one voice: notes that start and end together.
struct Chord {
  int64_t start;
  int64_t length;
  std::vector<int> members;  // indexes into the notes
};

// The voices of a part and where they are written.
struct VoiceLayout {
  std::vector<std::vector<Chord>> voices;
  std::vector<int> staff;  // a voice's staff, 1 (or 2 on a grand staff)
  std::vector<int> line;   // its place on its staff from 1: its lyric line
};

// Puts the voices of channel `channel` on staves and returns how many: two
// (a grand staff) when neither clef holds all its notes within two ledger
// lines below or above (the treble clef from G3 up, the bass clef up to E4),
// else one; the drum channel always has one. On a grand staff a voice goes
// whole to the staff of its average pitch (treble from middle C) when that
// clef holds its notes within two ledger lines, else to the other clef when
// that one does, else chord by chord around middle C. A staff takes two
// voices; the chords of a third go into the first two where one starts and
// ends with them (without doubling a pitch), the rest stay a voice of their own.
int arrange_staves(const MidiNotes& midi, int channel, VoiceLayout& layout);

}  // namespace zelvo::notation
