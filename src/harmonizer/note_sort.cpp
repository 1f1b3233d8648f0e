#include "harmonizer/note_sort.h"

#include <algorithm>

#include "harmonizer/note_time.h"

namespace zelvo::harmonizer {

void sort_note_table(engine::MusicNoteTable& music, int32_t* times, const engine::TimeSettings& time,
                     midi::SortWork& work) {
  const int32_t n = music.note_count;
  work.reserve(n);
  for (int32_t i = 0; i < n; ++i) {
    const engine::MusicNote& note = music.notes[i];
    times[i] = midi_tick(time, note.Cpin, note.Ckin);
    work.note_off[i] = note.Vel == 0 ? 1 : 0;
  }
  midi::sort_times(times, n, midi::TieRule::kNoteOffFirst, work);
  midi::apply_order(music.notes.data(), n, work);
}

void sort_notes(HarmonizerState& state) {
  state.note_times.resize(std::max(state.note_times.size(), state.engine.music.notes.size()));
  sort_note_table(state.engine.music, state.note_times.data(), state.settings.time, state.sort);
}

}  // namespace zelvo::harmonizer
