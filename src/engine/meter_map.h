#pragma once

#include <cstdint>

namespace zelvo::engine {

// The bars where a score's time signature changes. A score in one meter
// has none: its bars all have the length of the time settings' own meter,
// and every time is computed as it always was. With changes, the settings'
// meter is the meter of the first bar, and each change holds from its bar
// to the next change.
constexpr int32_t kMaxMeterChanges = 256;

struct MeterChange {
  int32_t bar = 0;          // the first bar in this meter
  int32_t beats = 0;        // compas-num
  int32_t beat_type = 0;    // compas-den, a power of two
  int32_t den_exponent = 0;
  int32_t beat_clicks = 0;  // clicks-parte of this meter
  int64_t start = 0;        // clicks from the start of bar 1 to the start of `bar`

  int64_t bar_clicks() const { return int64_t{beats} * beat_clicks; }
};

struct MeterMap {
  int32_t count = 0;
  MeterChange changes[kMaxMeterChanges];
};

// Where a time falls: bar (from 1) and click within it.
struct BarPosition {
  int64_t bar;
  int64_t click;
};

}  // namespace zelvo::engine
