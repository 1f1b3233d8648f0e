#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/model.h"

namespace zelvo::harmonizer {

// The listings that grow with every unit, in the order they are written
// out at the end of a run.
enum GrowingListing : int32_t { kLinksListing, kUnitsListing, kAllLinesListing, kGrowingListings };

// What the debug listings keep during a run: the append state and the text
// so far of the three listings that grow with every unit, and the notes
// (with their times) that the two listings writing MIDI files put together.
// Part of the harmonizer's state, so it is allocated once.
struct DebugListingState {
  int32_t all_lines_writes = 0;  // ver_todaslineas.rur: 0 creates it anew
  int32_t summary_writes = 0;    // ver_ods.rur: 0 creates it anew
  int32_t last_chord_bar = -1;   // ver_concatenacion.rur: negative creates it anew
  // The growing listings' text this run; empty: not written this run (each
  // starts with a heading), so the file of an earlier run stays.
  std::string grown[kGrowingListings];

  engine::MusicNoteTable notes;
  engine::ZeroedTable<int32_t> note_times = engine::ZeroedTable<int32_t>(engine::kStartMusicNotes);
  bool listed[engine::kPoolSize] = {};  // pool entries already listed
};

// The first write of each growing listing in a run starts a new file.
inline void reset_debug_listings(DebugListingState& debug) {
  debug.all_lines_writes = 0;
  debug.summary_writes = 0;
  debug.last_chord_bar = -1;
  for (std::string& text : debug.grown) text.clear();
}

}  // namespace zelvo::harmonizer
