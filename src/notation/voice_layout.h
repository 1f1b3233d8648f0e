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

// The notes of channel `channel` (by start) as chords in voices: each note
// goes to the first voice whose last chord it joins (starting and ending
// with it, without doubling a pitch) or follows (starting at its end or
// later); else it opens a voice of its own.
std::vector<std::vector<Chord>> channel_voices(const MidiNotes& midi, int channel);

// Puts the voices of channel `channel` on staves and returns how many: two
// (a grand staff) when neither clef holds all its notes within two ledger
// lines below or above (the treble clef from G3 up, the bass clef up to E4),
// else one; the drum channel always has one. On a grand staff a voice goes
// whole to the staff of its average pitch (treble from middle C) when that
// clef holds its notes within two ledger lines, else to the other clef when
// that one does, else note by note around middle C. A staff takes two
// voices; the chords of a third go into the first two where one starts and
// ends with them (without doubling a pitch), the rest stay a voice of their
// own.
int arrange_staves(const MidiNotes& midi, int channel, VoiceLayout& layout);

}  // namespace zelvo::notation
