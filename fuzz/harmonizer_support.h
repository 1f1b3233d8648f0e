#pragma once

// Shared by the harmonizer's fuzz targets: settings back to their start
// values before every input, so that one input never depends on the last.
#include "harmonizer/harmonizer_state.h"

namespace zelvo::fuzz {

inline harmonizer::HarmonizerState& fresh_harmonizer(int32_t music_source) {
  static auto* state = new harmonizer::HarmonizerState();
  state->settings = engine::HarmonizerSettings{};
  state->settings.MusicSource = music_source;
  return *state;
}

}  // namespace zelvo::fuzz
