#include "composer/calculated_generator.h"

#include <cmath>
#include <cstring>

#include "composer/generation_loop.h"
#include "composer/shapes.h"
#include "machine/convert.h"

namespace zelvo::composer {

using machine::truncate_to_int32;

void run_calculated_generator(ComposerState& state, base::ProgressLines& progress, int32_t number) {
  using namespace calc;
  double* const record = state.composition.generators[number].slot;
  const bool preview = state.pass_flag > 0;

  recompute_variables(state);
  if (state.current_bar == 1 && state.current_click == 0) record[kPeriod] = -1;

  // The evaluation works on a private copy; only the full pass writes it back.
  double c[kCopySlots];
  std::memcpy(c, record, sizeof c);
  if (!within_window(state, c[kStartBar], c[kStartClick], c[kLengthBars], c[kLengthClicks])) return;
  const double clicks_per_bar = state.timing.clicks_per_bar();

  const double mode = c[kMode];
  if (mode == 0 || (mode == 1 && c[tables::kSlotClicks] == 0) || (mode == 2 && c[kPulseCount] == 0)) {
    machine::run_program(state.machine, tables::slot_word(record[tables::kSlotCode]));
    std::memcpy(c, record, sizeof c);
  }

  const double new_period = c[kPeriodBars] * clicks_per_bar + c[kPeriodClicks];
  double& phase = c[tables::kSlotClicks];
  if (c[kPeriod] == -1) {
    c[kPeriod] = new_period;
    phase = 0;
    c[kPulseCount] = 0;
  }
  if (new_period != c[kPeriod]) {
    // A period that changes keeps the relative phase.
    phase = c[kPeriod] == 0 ? new_period : new_period * phase / c[kPeriod];
    c[kPeriod] = new_period;
  }

  // A period of no clicks holds the shape at its start instead of dividing
  // by zero; any other period, negative ones too, divides as it is.
  const double x = c[kPeriod] != 0 ? phase / c[kPeriod] : 0.0;
  const double r = shape_value(truncate_to_int32(c[kShape]), x);
  double value = (r + 1) / 2 * (c[kTop] - c[kBottom]) + c[kBottom];
  if (c[kStep] != 0) value = truncate_to_int32(value / c[kStep]) * c[kStep];
  c[tables::kSlotValue] = value;
  c[tables::kSlotLength] = c[kNoteLength];

  if (c[kPulseCount] == 0) {
    c[tables::kSlotOnset] = 1;
    if (preview) {
      record[tables::kSlotValue] = value;
      return;
    }
    std::memcpy(record, c, sizeof c);
    run_outputs(state, progress);
    c[tables::kSlotOnset] = 0;
  }

  c[kPulseCount] += 1;
  if (c[kPulseCount] >= c[kPulse]) c[kPulseCount] = 0;
  phase += 1;
  if (phase >= c[kPeriodBars] * clicks_per_bar + c[kPeriodClicks]) phase = 0;
  if (!preview) std::memcpy(record, c, sizeof c);
}

}  // namespace zelvo::composer
