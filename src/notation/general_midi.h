#pragma once

#include "midi/general_midi.h"

namespace zelvo::notation {

// Program names are General MIDI's own (midi/general_midi.h).
using midi::instrument_name;

// Where General MIDI's drum map puts a key (35 to 81) on a percussion staff.
struct DrumPlace {
  const char* name;  // "Acoustic Snare"; "Percussion" outside the map
  char step;         // the line or space, read as in the treble clef
  int octave;
  bool cross;        // an x notehead: cymbals and hi-hats
};
DrumPlace drum_place(int key);

}  // namespace zelvo::notation
