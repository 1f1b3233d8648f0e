#pragma once

#include <cstdint>

#include "console/score_opener.h"
#include "engine/model.h"
#include "engine/settings.h"
#include "harmonizer/debug_listing_state.h"

namespace zelvo::harmonizer {

constexpr int32_t kOutputNameSize = 300;

// The harmonizer's settings (which outlive a job) and its tables. Allocated
// once by the application; each stage re-initialises the tables it fills.
struct HarmonizerState {
  engine::HarmonizerSettings settings;
  engine::EngineState engine;
  // Absolute time of each music note record, filled by sort_notes and read
  // by the MIDI writer.
  int32_t note_times[engine::kMaxMusicNotes] = {};
  // sort_notes' work areas.
  int32_t sort_order[engine::kMaxMusicNotes] = {};
  uint8_t sort_note_off[engine::kMaxMusicNotes] = {};
  engine::MusicNote sort_scratch[engine::kMaxMusicNotes];
  // The name under which write_harmony_midi writes; the debug listings set
  // it for a moment and put it back.
  char output_name[kOutputNameSize] = "outar.mid";
  // The debug listings' append state, reset by every run.
  DebugListingState debug;
  // Set by the application to read scores of any layout; not owned.
  console::ScoreOpener* score_opener = nullptr;
};

}  // namespace zelvo::harmonizer
