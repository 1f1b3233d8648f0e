#pragma once

#include <cstdint>

#include "engine/meter_map.h"
#include "engine/settings.h"

namespace zelvo::engine {

inline bool has_meter_changes(const TimeSettings& time) { return time.meters.count > 0; }

// The number of times `den` can be halved while it is 2 or more: log2 of a
// power of two.
inline int32_t denominator_exponent(int32_t den) {
  int32_t exponent = 0;
  while (den >= 2) {
    den /= 2;
    ++exponent;
  }
  return exponent;
}

// The change in force at `bar`; null before the first change, where the
// settings' own meter holds.
const MeterChange* meter_at(const TimeSettings& time, int64_t bar);

// Clicks from the start of bar 1 to the start of `bar`, the meter changes
// counted. REQUIRES: has_meter_changes(time).
int64_t bar_start(const TimeSettings& time, int64_t bar);

// The bar and click of a time counted from the start of bar 1.
// REQUIRES: has_meter_changes(time).
BarPosition position_at(const TimeSettings& time, int64_t clicks);

// Why a meter cannot be followed.
enum class MeterProblem : int32_t {
  kNone = 0,
  kTooMany,     // more than kMaxMeterChanges changes
  kOutOfOrder,  // a change in a bar not after the previous one (or before bar 2)
  kUnusual,     // beats outside 1-255, a beat type not a power of two up to 64, or an absurd bar
};

// Makes `beats`/`beat_type` the meter of bar 1 on and clears the changes;
// a beat has `whole_clicks` / `beat_type` clicks.
MeterProblem set_first_meter(TimeSettings& time, int32_t beats, int32_t beat_type,
                             int64_t whole_clicks);

// Adds a change at `bar`, after those already added.
MeterProblem add_meter_change(TimeSettings& time, int32_t bar, int32_t beats, int32_t beat_type,
                              int64_t whole_clicks);

// The first bar where the two settings' meters differ, comparing the first
// meter and every change; 0 when they agree.
int64_t first_meter_difference(const TimeSettings& a, const TimeSettings& b);

}  // namespace zelvo::engine
