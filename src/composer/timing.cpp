#include "composer/timing.h"

#include "machine/convert.h"

namespace zelvo::composer {

using machine::truncate_to_int32;

TimingProblem take_timing_values(const double* values, ComposerTiming& timing) {
  timing.bar_count = truncate_to_int32(values[1]);
  timing.tempo = truncate_to_int32(values[2]);
  timing.beats_per_bar = truncate_to_int32(values[3]);
  timing.beat_unit = truncate_to_int32(values[4]);
  const int32_t den = timing.beat_unit;
  if (den != 1 && den != 2 && den != 4 && den != 8 && den != 16) return TimingProblem::kBadDenominator;
  if (timing.tempo <= 0) return TimingProblem::kBadTempo;
  return TimingProblem::kNone;
}

void derive_clicks(const double* values, ComposerTiming& timing) {
  timing.clicks_per_beat = 192 / timing.beat_unit;
  if (values[5] > 0) timing.clicks_per_beat = truncate_to_int32(values[5]);
  timing.clicks_per_sixteenth = timing.clicks_per_beat / (16 / timing.beat_unit);
  int32_t exponent = 0;
  for (int32_t den = timing.beat_unit; den >= 2; den /= 2) ++exponent;
  timing.den_exponent = exponent;
}

}  // namespace zelvo::composer
