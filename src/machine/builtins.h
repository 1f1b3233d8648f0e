#pragma once

// The built-in functions with their own state: the composer's linear
// congruential random generator and its seeding, interpolation and the list
// lookups. Their state lives in MachineState (random_state, list_selector,
// list_switch).
#include <cstdint>

#include "machine/machine_state.h"

namespace zelvo::machine {

// Advances the random state; returns a whole number 0 to 32767.
uint32_t next_random(MachineState& state);

// Seeds the random numbers (a seed of 0 asks for one derived from the
// clock), then discards between 0 and 6 draws. Returns the seed used, which
// the composer prints so a run can be repeated.
uint32_t seed_random(MachineState& state, uint32_t seed);

// The clock-derived seed for calendar time `seconds` (0 to 49999).
uint32_t seed_from_time(int64_t seconds);

// The instructions' results, taking their arguments in stack order.
double nrand(MachineState& state, double x);
double itp(double x0, double y0, double x1, double y1, double x);
double li(MachineState& state, double selector, double on);
double lv(const MachineState& state, double key, double value);
double lr(const MachineState& state, double low, double high, double value);

}  // namespace zelvo::machine
