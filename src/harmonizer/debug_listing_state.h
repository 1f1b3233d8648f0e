#pragma once

#include <cstdint>

#include "engine/model.h"

namespace zelvo::harmonizer {

// What the debug listings keep during a run: the append state of the three
// listings that grow with every unit, and the room where the two listings
// that write MIDI files keep the engine's tables while they borrow them.
// Part of the harmonizer's state, so it is allocated once.
struct DebugListingState {
  int32_t all_lines_writes = 0;  // ver_todaslineas.rur: 0 creates it anew
  int32_t summary_writes = 0;    // ver_ods.rur: 0 creates it anew
  int32_t last_chord_bar = -1;   // ver_concatenacion.rur: negative creates it anew

  engine::MusicNoteTable saved_music;
  double saved_pool_costs[engine::kPoolSize] = {};
};

// The first write of each growing listing in a run starts a new file.
inline void reset_debug_listings(DebugListingState& debug) {
  debug.all_lines_writes = 0;
  debug.summary_writes = 0;
  debug.last_chord_bar = -1;
}

}  // namespace zelvo::harmonizer
