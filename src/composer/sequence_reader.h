#pragma once

#include <array>
#include <cstdint>
#include <cstdio>

#include "base/status.h"
#include "composer/note_events.h"
#include "composer/timing.h"

namespace zelvo::composer {

constexpr int32_t kMaxSequenceNotes = 10000;
constexpr int32_t kMaxBoundaries = 300;
// Bar-style lines that can be stored: entry 0 opens the first sequence, and
// after the conversion one entry more than the sequences holds the note count
// (an unclosed last sequence needs one entry of its own).
constexpr int32_t kMaxBarStyleLines = kMaxBoundaries - 2;
// Longest line the reader looks at; the pitch lines after <step are shorter.
constexpr int32_t kSequenceLineLength = 399;
constexpr int32_t kPitchLineLength = 39;

// One note of a sequence; `bar` counts from the bar of its sequence's first note.
struct SequenceNote {
  int32_t bar;
  int32_t click;
  int32_t duration;
  int32_t note;
};

struct SequenceTables {
  std::array<SequenceNote, kMaxSequenceNotes> notes;
  // While reading: entry s (s >= 1) is the bar at which sequence s starts.
  // After make_sequences: entry s is the index of the first note of sequence
  // s, and entry sequence_count holds the number of notes.
  std::array<int32_t, kMaxBoundaries> boundaries;
  int32_t stored_boundaries;  // bar-style lines stored while reading
  int32_t sequence_count;     // sequences made by make_sequences
  // Tie marks of the notes being read, parallel to the event table.
  std::array<uint8_t, kMaxSequenceFileNotes> tie_start;
  std::array<uint8_t, kMaxSequenceFileNotes> tie_stop;
};

// Reads the MusicXML sequence file from an open stream, line by line, into
// the event table as Inst = part, Cpin = measure, Ckin = click in the
// measure, Dur, Note, Vel 100, merging tied notes and storing the bars after
// part 1's bar-style lines. Relies on one element per line, each at the
// start of its line. Refuses, naming the file as `name` and the line (from
// 1): a part, measure or divisions line without digits, a duration while
// divisions are 0, more than kMaxSequenceFileNotes notes, more than
// kMaxBarStyleLines bar-style lines in part 1.
base::Status read_sequence_file(std::FILE* stream, const char* name, const ComposerTiming& timing, NoteTable& table,
                                SequenceTables& sequences);

// Turns the bar boundaries into note-index boundaries and fills the sequence
// note table from the events, which must be sorted by time. Notes after the
// last bar-style line make one sequence more. Returns false, changing
// nothing, when there are more notes than the sequence note table holds.
bool make_sequences(const NoteTable& table, SequenceTables& sequences);

}  // namespace zelvo::composer
