#include "shell/unit_watch.h"

#include <cstdio>

#include "console/job_console.h"

namespace zelvo::shell {

void UnitWatch::unit_started(int32_t bar, int32_t lines) {
  const std::lock_guard<std::mutex> guard(lock_);
  active_ = true;
  bar_ = bar;
  lines_ = lines;
  since_ = std::chrono::steady_clock::now();
}

void UnitWatch::units_ended() {
  const std::lock_guard<std::mutex> guard(lock_);
  active_ = false;
}

bool UnitWatch::long_unit(std::chrono::steady_clock::time_point now, LongUnit& unit) const {
  const std::lock_guard<std::mutex> guard(lock_);
  if (!active_ || now - since_ <= kLongUnit) return false;
  unit.bar = bar_;
  unit.lines = lines_;
  unit.seconds = std::chrono::duration_cast<std::chrono::seconds>(now - since_).count();
  return true;
}

std::string long_unit_text(const LongUnit& unit, int32_t language) {
  char text[120];
  if (language == base::kSpanish) {
    std::snprintf(text, sizeof text, "Armonizando el compás %d: una unidad de %d líneas (%lld s)",
                  unit.bar, unit.lines, static_cast<long long>(unit.seconds));
  } else {
    std::snprintf(text, sizeof text, "Still harmonizing bar %d: a unit of %d lines (%lld s)",
                  unit.bar, unit.lines, static_cast<long long>(unit.seconds));
  }
  return text;
}

}  // namespace zelvo::shell
