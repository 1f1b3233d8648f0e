#pragma once

#include <cstdint>

namespace zelvo::engine {

// The tempo changes of the music after its first tempo (which the time
// settings hold): a score's later tempo marks or a MIDI file's later tempo
// events, each written into the result where it falls.
constexpr int32_t kMaxTempoChanges = 256;
constexpr int32_t kDefaultTempo = 120;  // quarter notes a minute, when the music names none

struct TempoChange {
  int32_t bar = 0;    // from 1
  int32_t click = 0;  // within the bar
  uint32_t micros_per_quarter = 0;
};

struct TempoMap {
  int32_t count = 0;
  TempoChange changes[kMaxTempoChanges];

  // Appends a change unless the map is full; a change to the tempo already
  // in force is no change.
  void add(int32_t bar, int32_t click, uint32_t micros_per_quarter, uint32_t in_force) {
    const uint32_t last = count == 0 ? in_force : changes[count - 1].micros_per_quarter;
    if (count >= kMaxTempoChanges || micros_per_quarter == last) return;
    changes[count++] = TempoChange{bar, click, micros_per_quarter};
  }
};

}  // namespace zelvo::engine
