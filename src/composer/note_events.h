#pragma once

#include <cstdint>
#include <vector>

#include "composer/timing.h"
#include "midi/time_sort.h"

namespace zelvo::composer {

// The event table grows with the piece up to kMaxEvents, the bound on the
// memory it may take. The generation loop keeps the generated notes at or
// below kMaxGeneratedEvents so that their note-off copies still fit.
constexpr int32_t kMaxEvents = midi::kMaxSortRecords;
constexpr int32_t kMaxGeneratedEvents = kMaxEvents / 2;
// No bar is started once this many events exist.
constexpr int32_t kGenerationStopEvents = kMaxGeneratedEvents - 2;
// Notes one bar may generate: a bound of the table language (50 outputs on
// every click of a bar), not of the table's memory.
constexpr int32_t kMaxBarEvents = 15000;
// Notes of a sequence file, read into the event table before the sequences
// are made of them.
constexpr int32_t kMaxSequenceFileNotes = 30000;

// One note of the composer. Field names are the listing's column names.
struct NoteEvent {
  int32_t Inst;  // MIDI channel counted from 1
  int32_t Cpin;  // bar, counted from 1
  int32_t Ckin;  // click within the bar, counted from 0 (may pass the bar's end)
  int32_t Dur;   // duration in clicks
  int32_t Note;  // MIDI note number
  int32_t Vel;   // velocity; 0 marks a note-off
};

// The event table with its parallel absolute times and the sort's work
// areas; the first `count` records are in use, `used` is the most that were
// in use since the table was last cleared (clear_events).
struct NoteTable {
  std::vector<NoteEvent> events;
  std::vector<int32_t> times;
  int32_t count = 0;
  int32_t used = 0;
  midi::SortWork sort;
};
static_assert(kMaxEvents <= midi::kMaxSortRecords);
static_assert(kMaxSequenceFileNotes <= kMaxEvents);

// Room for n records in events and times, the new ones zero.
// REQUIRES: 0 <= n <= kMaxEvents.
void reserve_events(NoteTable& table, int32_t n);

// Empties the table, zeroing the records the last run used: a run never
// sees what an earlier one left behind, and pays only for what it used.
void clear_events(NoteTable& table);

// Appends a note-off for every event: record n + i copies event i's Inst,
// Cpin and Note, with Ckin moved on by its Dur (a negative Dur counts as 0)
// and Vel 0. REQUIRES: count <= kMaxGeneratedEvents.
void add_note_offs(NoteTable& table);

// time = clicks-parte * compas-num * (Cpin - 1) + Ckin, computed wide and
// saturated to 32 bits.
void compute_times(NoteTable& table, const ComposerTiming& timing);

// Orders events and times as the exchange sort by time does in which, at
// equal times, a velocity-0 event is taken before the one in place. The
// order among equal events is part of the output files, so it is that exact
// permutation (midi::sort_times).
void sort_events(NoteTable& table);

}  // namespace zelvo::composer
