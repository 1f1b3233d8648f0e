#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>

#include "engine/progress_observer.h"

namespace zelvo::shell {

// A unit the engine has been working on for a while.
struct LongUnit {
  int32_t bar = 0;
  int32_t lines = 0;
  int64_t seconds = 0;
};

// How long one harmonic unit may take before the front ends say the job is
// still working.
inline constexpr std::chrono::milliseconds kLongUnit{1000};

// The harmonic unit the engine is working on and since when. The job thread
// tells it (through the engine's observer); the window's timer or the
// command line's ticker asks it from their own threads.
class UnitWatch : public engine::ProgressObserver {
 public:
  void unit_started(int32_t bar, int32_t lines) override;
  void units_ended() override;

  // True, with the unit, when a unit has been worked on for longer than
  // kLongUnit at `now`.
  bool long_unit(std::chrono::steady_clock::time_point now, LongUnit& unit) const;

 private:
  mutable std::mutex lock_;
  bool active_ = false;
  int32_t bar_ = 0;
  int32_t lines_ = 0;
  std::chrono::steady_clock::time_point since_;
};

// "Still harmonizing bar 12: a unit of 35 lines (4 s)", in the console's
// language (base::kEnglish or kSpanish), UTF-8.
std::string long_unit_text(const LongUnit& unit, int32_t language);

}  // namespace zelvo::shell
