#include "composer/note_events.h"

#include <algorithm>
#include <limits>

namespace zelvo::composer {

namespace {

int32_t saturate(int64_t value) {
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

}  // namespace

void reserve_events(NoteTable& table, int32_t n) {
  if (n > table.used) table.used = n;
  const size_t room = static_cast<size_t>(n);
  if (table.events.size() >= room) return;
  // Doubling: a piece that grows note by note copies its table a few times.
  const size_t size =
      std::min(std::max({room, 2 * table.events.size(), size_t{1024}}), static_cast<size_t>(kMaxEvents));
  table.events.resize(size);
  table.times.resize(size);
}

void clear_events(NoteTable& table) {
  const auto used = static_cast<size_t>(table.used);
  std::fill(table.events.begin(), table.events.begin() + std::min(used, table.events.size()), NoteEvent{});
  std::fill(table.times.begin(), table.times.begin() + std::min(used, table.times.size()), 0);
  table.count = 0;
  table.used = 0;
}

void add_note_offs(NoteTable& table) {
  const int32_t n = table.count;
  reserve_events(table, 2 * n);
  for (int32_t i = 0; i < n; ++i) {
    const NoteEvent& on = table.events[i];
    NoteEvent& off = table.events[n + i];
    // MIDI has no negative times: a negative duration ends the note at its onset.
    const int64_t duration = on.Dur < 0 ? 0 : on.Dur;
    off.Inst = on.Inst;
    off.Cpin = on.Cpin;
    off.Ckin = saturate(int64_t{on.Ckin} + duration);
    off.Dur = on.Dur;
    off.Note = on.Note;
    off.Vel = 0;
  }
  table.count = 2 * n;
}

void compute_times(NoteTable& table, const ComposerTiming& timing) {
  const int64_t clicks_per_bar = int64_t{timing.clicks_per_beat} * timing.beats_per_bar;
  for (int32_t i = 0; i < table.count; ++i) {
    const NoteEvent& e = table.events[i];
    table.times[i] = saturate(clicks_per_bar * (int64_t{e.Cpin} - 1) + e.Ckin);
  }
}

void sort_events(NoteTable& table) {
  const int32_t n = table.count;
  table.sort.reserve(n);
  for (int32_t i = 0; i < n; ++i) table.sort.note_off[i] = table.events[i].Vel == 0 ? 1 : 0;
  midi::sort_times(table.times.data(), n, midi::TieRule::kNoteOffFirst, table.sort);
  midi::apply_order(table.events.data(), n, table.sort);
}

}  // namespace zelvo::composer
