#pragma once

#include <cstdint>

namespace zelvo::composer {

// The composer's timing values, derived from the TCONF configuration values
// at every run (compose_timing). The names are the listing's.
struct ComposerTiming {
  int32_t bar_count;
  int32_t tempo;         // beats per minute
  int32_t beats_per_bar;    // beats per bar
  int32_t beat_unit;    // beat unit, 1, 2, 4, 8 or 16
  int32_t clicks_per_beat;  // clicks per beat
  int32_t clicks_per_sixteenth;  // clicks per sixteenth
  int32_t den_exponent;  // log2 of beat_unit, for the MIDI time signature

  // Saturates rather than overflow on absurd configurations.
  int32_t clicks_per_bar() const {
    const int64_t clicks = int64_t{clicks_per_beat} * beats_per_bar;
    return clicks > INT32_MAX ? INT32_MAX : clicks < INT32_MIN ? INT32_MIN : static_cast<int32_t>(clicks);
  }
};

// What can be wrong with the configuration before anything is derived.
enum class TimingProblem { kNone, kBadDenominator, kBadTempo };

// Takes bar count, tempo, compas-num and compas-den from configuration
// values 1 to 4 (`values` is indexed 0 to 10) and checks the two guards,
// denominator first. Nothing else is derived.
TimingProblem take_timing_values(const double* values, ComposerTiming& timing);

// clicks-parte (value 5 replaces 192 / compas-den when greater than 0),
// clicks-semic and the denominator exponent.
// REQUIRES: take_timing_values returned kNone.
void derive_clicks(const double* values, ComposerTiming& timing);

}  // namespace zelvo::composer
