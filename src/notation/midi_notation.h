#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelvo::notation {

struct SoundingNote {
  int channel;     // 0 to 15
  int64_t start;   // ticks
  int64_t length;  // ticks
  int pitch;
};

// A MIDI file as notes: the one-track form that merge_any_midi makes.
struct MidiNotes {
  int division = 480;  // ticks per quarter note
  int beats = 4;
  int beat_type = 4;
  int tempo = 120;  // quarter notes per minute
  std::vector<SoundingNote> notes;  // by start
};

// REQUIRES: `format0` comes from merge_any_midi. A note-off (or note-on of
// velocity 0) ends the earliest open note of its channel and pitch; a note
// never ended lasts to the last event.
MidiNotes read_midi_notes(std::string_view format0);

// MusicXML (laid out, UTF-8) of the notes: one part per channel, voices
// where a channel's notes overlap, chords where they start and end
// together, durations as note types with dots and ties across bar lines,
// rests filling every bar, the time signature and tempo. `lyrics` (one per
// note, in the order of `notes`; empty for none) are written under the
// notes; sharps unless `flats`.
std::string write_musicxml(const MidiNotes& midi, const std::vector<std::string>& lyrics, bool flats);

}  // namespace zelvo::notation
