#include "machine/builtins.h"

#include <cmath>
#include <cstdlib>
#include <ctime>

#include "machine/convert.h"

namespace zelvo::machine {

uint32_t next_random(MachineState& state) {
  state.random_state = state.random_state * 214013u + 2531011u;
  return (state.random_state >> 16) & 32767u;
}

// The product wraps in 32 bits and the remainder keeps its sign, as the
// seeds printed by earlier runs were derived that way.
uint32_t seed_from_time(int64_t seconds) {
  const auto t = static_cast<uint32_t>(seconds);
  const auto product = static_cast<int32_t>(t * 307u);
  const int32_t r = product % 65535;
  const double d = std::sqrt(std::fabs(static_cast<double>(r)));
  double whole;
  const double f = std::modf(d, &whole);
  return static_cast<uint32_t>(static_cast<int32_t>(f * 100000.0 / 2.0));
}

uint32_t seed_random(MachineState& state, uint32_t seed) {
  if (seed == 0) seed = seed_from_time(static_cast<int64_t>(std::time(nullptr)));
  state.random_state = seed;
  const uint32_t discard = next_random(state) % 7u;
  for (uint32_t i = 0; i < discard; ++i) next_random(state);
  return seed;
}

double nrand(MachineState& state, double x) {
  const auto r = static_cast<int64_t>(next_random(state));
  const int32_t n = truncate_to_int32(x + 1.0);
  // The product is taken in 32-bit arithmetic, wrapping like the original
  // integer multiply; the division rounds toward zero.
  const auto product = static_cast<int32_t>(static_cast<uint32_t>(r * n));
  return static_cast<double>(product / 32768);
}

double itp(double x0, double y0, double x1, double y1, double x) {
  return ((x - x0) * (y1 - y0)) / (x1 - x0) + y0;
}

double li(MachineState& state, double selector, double on) {
  state.list_selector = selector;
  state.list_switch = on;
  return 0.0;
}

double lv(const MachineState& state, double key, double value) {
  return (state.list_selector == key && state.list_switch != 0.0) ? value : 0.0;
}

double lr(const MachineState& state, double low, double high, double value) {
  const double s = state.list_selector;
  return (low <= s && s <= high && state.list_switch != 0.0) ? value : 0.0;
}

}  // namespace zelvo::machine
