#pragma once

#include <array>
#include <cstdint>

#include "composer/timing.h"
#include "midi/time_sort.h"

namespace zelvo::composer {

// Capacity of the event table. The generation loop keeps the generated notes
// at or below kMaxGeneratedEvents so that their note-off copies still fit.
constexpr int32_t kMaxEvents = 30000;
constexpr int32_t kMaxGeneratedEvents = kMaxEvents / 2;
// No bar is started once this many events exist.
constexpr int32_t kGenerationStopEvents = 14998;

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
// areas; the first `count` records are in use.
struct NoteTable {
  std::array<NoteEvent, kMaxEvents> events;
  std::array<int32_t, kMaxEvents> times;
  int32_t count;
  midi::SortWork sort;
};
static_assert(kMaxEvents <= midi::kMaxSortRecords);

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
