#pragma once

// The built-in functions with their own state: the composer's linear
// congruential random generator and its seeding, interpolation and the list
// lookups. Their state lives in MachineState (random_state, list_selector,
// list_switch).
#include <cstdint>

#include "machine/convert.h"
#include "machine/machine_state.h"

namespace zelvo::machine {

// Advances the random state; returns a whole number 0 to 32767.
inline uint32_t next_random(MachineState& state) {
  state.random_state = state.random_state * 214013u + 2531011u;
  return (state.random_state >> 16) & 32767u;
}

// Seeds the random numbers (a seed of 0 asks for one derived from the
// clock), then discards between 0 and 6 draws. Returns the seed used, which
// the composer prints so a run can be repeated.
uint32_t seed_random(MachineState& state, uint32_t seed);

// The clock-derived seed for calendar time `seconds` (0 to 49999).
uint32_t seed_from_time(int64_t seconds);

// The instructions' results, taking their arguments in stack order. Defined
// here so that the run loop has them inline.
inline double nrand(MachineState& state, double x) {
  const auto r = static_cast<int64_t>(next_random(state));
  const int32_t n = truncate_to_int32(x + 1.0);
  // The product is taken in 32-bit arithmetic, wrapping like the original
  // integer multiply; the division rounds toward zero.
  const auto product = static_cast<int32_t>(static_cast<uint32_t>(r * n));
  return static_cast<double>(product / 32768);
}

inline double itp(double x0, double y0, double x1, double y1, double x) {
  return ((x - x0) * (y1 - y0)) / (x1 - x0) + y0;
}

inline double li(MachineState& state, double selector, double on) {
  state.list_selector = selector;
  state.list_switch = on;
  return 0.0;
}

inline double lv(const MachineState& state, double key, double value) {
  return (state.list_selector == key && state.list_switch != 0.0) ? value : 0.0;
}

inline double lr(const MachineState& state, double low, double high, double value) {
  const double s = state.list_selector;
  return (low <= s && s <= high && state.list_switch != 0.0) ? value : 0.0;
}

}  // namespace zelvo::machine
