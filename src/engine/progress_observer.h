#pragma once

#include <cstdint>

namespace zelvo::engine {

// Told which harmonic unit the engine is working on, so that a front end
// can show that a long job is alive. It never prints to the console: the
// console text stays the same however long a unit takes. Called on the job
// thread, once per unit; it must return at once (a front end keeps the
// time and shows the unit from its own thread).
class ProgressObserver {
 public:
  virtual ~ProgressObserver() = default;
  // The unit of slot 0 begins in `bar` and has `lines` lines.
  virtual void unit_started(int32_t bar, int32_t lines) = 0;
  // No unit is being worked on any more (the engine returned or unwinds).
  virtual void units_ended() = 0;
};

}  // namespace zelvo::engine
