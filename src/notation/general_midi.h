#pragma once

namespace zelvo::notation {

// The General MIDI name of a program (0 to 127; anything else reads as 0,
// the piano every General MIDI device starts with).
const char* instrument_name(int program);

// Where General MIDI's drum map puts a key (35 to 81) on a percussion staff.
struct DrumPlace {
  const char* name;  // "Acoustic Snare"; "Percussion" outside the map
  char step;         // the line or space, read as in the treble clef
  int octave;
  bool cross;        // an x notehead: cymbals and hi-hats
};
DrumPlace drum_place(int key);

}  // namespace zelvo::notation
