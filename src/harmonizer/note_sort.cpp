#include "harmonizer/note_sort.h"

#include <cstdint>
#include <utility>

namespace zelvo::harmonizer {

// The exchange procedure moves small keys (time, note-off mark, record
// index) instead of whole records, then places the records once: the same
// exchanges, so the same order, with a fraction of the memory traffic.
void sort_notes(HarmonizerState& state) {
  engine::MusicNoteTable& music = state.engine.music;
  const engine::TimeSettings& time = state.settings.time;
  int32_t* times = state.note_times;
  int32_t* order = state.sort_order;
  uint8_t* note_off = state.sort_note_off;
  const int32_t n = music.note_count;
  for (int32_t i = 0; i < n; ++i) {
    const engine::MusicNote& note = music.notes[i];
    // The low 32 bits of the exact time, also when a file's absurd bar
    // numbers and lengths take the product beyond 64 bits (unsigned wraps).
    const uint64_t bars = static_cast<uint64_t>(int64_t{note.Cpin} - 1);
    const uint64_t bar = static_cast<uint64_t>(int64_t{time.compas_num} * time.clicks_parte);
    times[i] = static_cast<int32_t>(bars * bar + static_cast<uint64_t>(int64_t{note.Ckin}));
    order[i] = i;
    note_off[i] = note.Vel == 0 ? 1 : 0;
  }
  for (int32_t i = 0; i < n; ++i) {
    for (int32_t j = i; j < n; ++j) {
      if (times[j] < times[i] || (times[j] == times[i] && note_off[j] != 0)) {
        std::swap(times[i], times[j]);
        std::swap(order[i], order[j]);
        std::swap(note_off[i], note_off[j]);
      }
    }
  }
  for (int32_t i = 0; i < n; ++i) state.sort_scratch[i] = music.notes[order[i]];
  for (int32_t i = 0; i < n; ++i) music.notes[i] = state.sort_scratch[i];
}

}  // namespace zelvo::harmonizer
