#pragma once

#include <cstdint>

#include "engine/bar_time.h"
#include "engine/debug_listener.h"
#include "engine/model.h"
#include "base/progress_lines.h"
#include "engine/settings.h"

namespace zelvo::engine {

// What every engine operation works with during one harmonize_units call:
// the tables, the settings (read only), where the progress goes and the
// optional listener, plus the time values the operations divide by.
struct Engine {
  Engine(EngineState& state, const HarmonizerSettings& settings, base::ProgressLines& lines,
         DebugListener* listener)
      : state(state),
        settings(settings),
        lines(lines),
        listener(settings.Debug != 0 ? listener : nullptr),
        clicks_per_bar(bounded_bar(int64_t{settings.time.beats_per_bar} * settings.time.clicks_per_beat)),
        clicks_per_beat(settings.time.clicks_per_beat),
        clicks_per_sixteenth(settings.time.clicks_per_sixteenth),
        hole_clicks(int64_t{settings.HoleForLine} * settings.time.clicks_per_sixteenth),
        meter_changes(has_meter_changes(settings.time)) {}

  EngineState& state;
  const HarmonizerSettings& settings;
  base::ProgressLines& lines;
  DebugListener* listener;  // null unless Debug is on
  int64_t clicks_per_bar;
  int32_t clicks_per_beat;     // > 0 while the engine runs
  int32_t clicks_per_sixteenth;     // > 0 while the engine runs
  int64_t hole_clicks;      // HoleForLine sixteenths in clicks
  bool meter_changes;       // bars differ in length: times come from the meter map

  // Absolute time of a position: the bar is not counted from 1 here, which
  // changes no difference of two times.
  int64_t time_of(int32_t bar, int32_t click) const {
    if (meter_changes) return bar_start(settings.time, bar) + click;
    return bar * clicks_per_bar + click;
  }
  int64_t start_of(const MusicNote& n) const { return time_of(n.Cpin, n.Ckin); }
  int64_t end_of(const MusicNote& n) const { return start_of(n) + n.Dur; }
  int64_t start_of(const LineNote& n) const { return time_of(n.bar, n.click); }
  int64_t end_of(const LineNote& n) const { return start_of(n) + n.duration; }
  int64_t start_of(const HarmonyEntry& e) const { return time_of(e.bar, e.click); }

  UnitSlot& slot(int32_t s) { return unit_slot(state, s); }

  // A file can make the bar absurdly long (compas-num and clicks-parte near
  // 2^31 each); bounded by 2^31 clicks, a bar number times it stays within
  // 64 bits. No real bar comes near the bound.
  static int64_t bounded_bar(int64_t clicks) {
    constexpr int64_t kMaxBar = INT32_MAX;
    return clicks > kMaxBar ? kMaxBar : clicks < -kMaxBar ? -kMaxBar : clicks;
  }
};

// Pitch-class mark tests of a chord or scale entry.
inline bool is_pitch_class_marked(char mark) {
  return (mark >= 'A' && mark <= 'Z') || (mark >= '0' && mark <= '9') || mark == '#';
}
inline bool mark_is_digit_with(char c, int bit) {
  return c >= '0' && c <= '9' && ((c - '0') & bit) != 0;
}
// The chord's bass (bit 2) or top (bit 4) pitch class; -1 when none.
inline int32_t marked_pitch_class(const HarmonyEntry& entry, int bit) {
  for (int32_t pc = 0; pc < kPitchClasses; ++pc) {
    if (mark_is_digit_with(entry.marks[pc], bit)) return pc;
  }
  return -1;
}
// REQUIRES: 0 <= pitch.
inline bool pitch_in(const HarmonyEntry& entry, int32_t pitch) {
  return is_pitch_class_marked(entry.marks[pitch % kPitchClasses]);
}
// The entry's pitch classes, bit pc for pitch class pc.
inline uint32_t pitch_classes(const HarmonyEntry& entry) {
  uint32_t classes = 0;
  for (int32_t pc = 0; pc < kPitchClasses; ++pc) {
    if (is_pitch_class_marked(entry.marks[pc])) classes |= 1u << pc;
  }
  return classes;
}

}  // namespace zelvo::engine
