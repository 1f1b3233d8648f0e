#pragma once

#include <cstdint>
#include <vector>

#include "engine/model.h"

namespace zelvo::harmonizer {

// What the debug listings keep during a run: the append state of the three
// listings that grow with every unit, and the notes (with their times) that
// the two listings writing MIDI files put together. Part of the
// harmonizer's state, so it is allocated once.
struct DebugListingState {
  int32_t all_lines_writes = 0;  // ver_todaslineas.rur: 0 creates it anew
  int32_t summary_writes = 0;    // ver_ods.rur: 0 creates it anew
  int32_t last_chord_bar = -1;   // ver_concatenacion.rur: negative creates it anew

  engine::MusicNoteTable notes;
  std::vector<int32_t> note_times = std::vector<int32_t>(engine::kStartMusicNotes);
  bool listed[engine::kPoolSize] = {};  // pool entries already listed
};

// The first write of each growing listing in a run starts a new file.
inline void reset_debug_listings(DebugListingState& debug) {
  debug.all_lines_writes = 0;
  debug.summary_writes = 0;
  debug.last_chord_bar = -1;
}

}  // namespace zelvo::harmonizer
