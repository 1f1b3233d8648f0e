#include "harmonizer/note_sort.h"

#include <utility>

namespace zelvo::harmonizer {

void sort_notes(HarmonizerState& state) {
  engine::MusicNoteTable& music = state.engine.music;
  const engine::TimeSettings& time = state.settings.time;
  int32_t* times = state.note_times;
  const int32_t n = music.note_count;
  for (int32_t i = 0; i < n; ++i) {
    const engine::MusicNote& note = music.notes[i];
    times[i] = static_cast<int32_t>((int64_t{note.Cpin} - 1) * time.compas_num *
                                        time.clicks_parte +
                                    note.Ckin);
  }
  for (int32_t i = 0; i < n; ++i) {
    for (int32_t j = i; j < n; ++j) {
      if (times[j] < times[i] || (times[j] == times[i] && music.notes[j].Vel == 0)) {
        std::swap(music.notes[i], music.notes[j]);
        std::swap(times[i], times[j]);
      }
    }
  }
}

}  // namespace zelvo::harmonizer
