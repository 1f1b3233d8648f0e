#pragma once

#include <cstdint>
#include <vector>

#include "notation/key_spelling.h"
#include "notation/measure_layout.h"
#include "notation/midi_notation.h"
#include "notation/note_values.h"
#include "notation/voice_layout.h"

namespace zelvo::notation {

// One written note or rest of a voice in a measure.
struct Piece {
  int64_t at;  // ticks from the measure's start
  NoteValue value;
  int voice;
  int index = -1;  // into the notes; -1 for a rest
  bool chord = false;
  bool tied_before = false;
  bool tied_after = false;
  bool first_piece = false;
  int64_t from = 0;  // its start in ticks of the music
  Spelling spelling{};
  int octave = 0;
  bool accidental = false;
  int staff = 1;
  int line = 1;
  const std::vector<int>* members = nullptr;  // the chord's notes
};

// The notes and rests of measure `bar`, voice after voice (at least one),
// each voice filling the measure: its chords cut at the bar lines and into
// the written values `values` (tied), rests between them, every note
// spelled in the measure's key and its accidental marked where one shows.
// A piece takes its voice's staff and line from `layout`.
std::vector<Piece> measure_pieces(const MidiNotes& midi, const std::vector<NoteValue>& values,
                                  const VoiceLayout& layout, const Measure& bar);

}  // namespace zelvo::notation
