#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "intake/midi_merge.h"
#include "midi/song.h"
#include "notation/key_spelling.h"

namespace zelvo::notation {

struct SoundingNote {
  int channel;     // 0 to 15
  int64_t start;   // ticks
  int64_t length;  // ticks
  int pitch;
  bool operator==(const SoundingNote&) const = default;
};

struct TimeSignature {
  int64_t tick;
  int beats;      // 1 to 255
  int beat_type;  // 1 to 64, a power of two
  bool operator==(const TimeSignature&) const = default;
};

struct KeySignature {
  int64_t tick;
  Key key;
  bool operator==(const KeySignature&) const = default;
};

struct TempoChange {
  int64_t tick;
  int tempo;  // quarter notes per minute
  bool operator==(const TempoChange&) const = default;
};

// A MIDI file as notes: the one-track form that merge_any_midi makes.
struct MidiNotes {
  int division = 480;  // ticks per quarter note, 1 or more
  int tempo = 120;     // quarter notes per minute
  std::vector<TimeSignature> meters{{0, 4, 4}};  // by tick, the first at 0
  std::vector<KeySignature> keys;   // by tick; none when the file has none
  std::vector<SoundingNote> notes;  // by start
  std::vector<TempoChange> tempos;  // every change by tick (read_midi_labels); may be empty
  // The first program change of each channel, -1 for none.
  std::array<int, 16> programs = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  std::array<std::string, 16> names;  // a channel's part name: its track's name, if any
  bool operator==(const MidiNotes&) const = default;
};

// REQUIRES: `format0` comes from merge_any_midi (any bytes are read
// safely). A note-off (or note-on of velocity 0) ends the earliest open note
// of its channel and pitch; a note never ended lasts to the last event. Every
// time and key signature is kept with its tick (a time signature of 0 beats
// left out, 4/4 until the first); the first tempo counts.
MidiNotes read_midi_notes(std::string_view format0);
// The same from the track merge_any_midi makes, before it is written.
MidiNotes read_midi_notes(const midi::Song& merged);

// From the MIDI file as it is (any bytes are read safely): every tempo
// change with its tick, and the name of each track that plays on one
// channel as that channel's name (the first such track's).
void read_midi_labels(std::string_view file, MidiNotes& midi);

// Both at once, the file parsed once: its notes as read_midi_notes reads
// the merge of its tracks (intake::merge_any_midi, whose answer this is),
// then its labels as read_midi_labels reads them. `midi` is filled only
// when the tracks are merged.
intake::MidiMerge read_midi_with_labels(std::string_view file, MidiNotes& midi);

// When the file has no key signature: the key that best fits its notes,
// weighted by their lengths, from the start.
void add_key_from_notes(MidiNotes& midi);

// At most this many measures are written.
constexpr int64_t kMaxMeasures = 20000;

// MusicXML (laid out, UTF-8) of the notes: one part per channel, named as
// part_names.h names it, voices
// where a channel's notes overlap, chords where they start and end
// together, durations as note types with dots and ties across bar lines,
// rests filling every bar, the time signatures, key signatures and tempo,
// pitches spelled in the key of their measure with the accidentals shown.
// `lyrics` (one per note, in the order of `notes`; empty for none) are
// written under the notes. Empty when the notes need more than kMaxMeasures
// measures.
std::string write_musicxml(const MidiNotes& midi, const std::vector<std::string>& lyrics);

// General MIDI's drum channel (channel 10 counted from 1).
constexpr int kDrumChannel = 9;

// A lyric for the part of note `note` (an index into the notes) that
// sounds from `tick` on: the tone type of a note tied over a bar line.
struct HeldLyric {
  int note;
  int64_t tick;
  std::string text;
};

// What the readable writing adds to notes placed on a grid.
struct ReadableMarks {
  int64_t step = 1;              // the grid: no written value is shorter
  std::vector<bool> staccato;    // one a note
  std::vector<HeldLyric> held;   // under the piece of the note sounding at its tick
};

// The same written for a musician (the notes already on a grid): parts
// named (part_names.h) with their instruments, the drum channel on a
// percussion staff, a grand staff where a part needs one, a staccato mark
// where `marks` says, each voice's lyrics on a line of its own and one lyric
// a chord, and a metronome mark at every change of tempo.
std::string write_readable_musicxml(const MidiNotes& midi, const std::vector<std::string>& lyrics,
                                    const ReadableMarks& marks);

}  // namespace zelvo::notation
