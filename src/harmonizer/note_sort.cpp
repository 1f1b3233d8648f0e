#include "harmonizer/note_sort.h"

namespace zelvo::harmonizer {

void sort_note_table(engine::MusicNoteTable& music, int32_t* times, const engine::TimeSettings& time,
                     midi::SortWork& work) {
  const int32_t n = music.note_count;
  for (int32_t i = 0; i < n; ++i) {
    const engine::MusicNote& note = music.notes[i];
    // The low 32 bits of the exact time, also when a file's absurd bar
    // numbers and lengths take the product beyond 64 bits (unsigned wraps).
    const uint64_t bars = static_cast<uint64_t>(int64_t{note.Cpin} - 1);
    const uint64_t bar = static_cast<uint64_t>(int64_t{time.compas_num} * time.clicks_parte);
    times[i] = static_cast<int32_t>(bars * bar + static_cast<uint64_t>(int64_t{note.Ckin}));
    work.note_off[i] = note.Vel == 0 ? 1 : 0;
  }
  midi::sort_times(times, n, midi::TieRule::kNoteOffFirst, work);
  midi::apply_order(music.notes, n, work);
}

void sort_notes(HarmonizerState& state) {
  sort_note_table(state.engine.music, state.note_times, state.settings.time, state.sort);
}

}  // namespace zelvo::harmonizer
