#include "shell/unit_watch.h"

#include <gtest/gtest.h>

#include "console/job_console.h"

namespace zelvo::shell {
namespace {

using std::chrono::milliseconds;

TEST(UnitWatchTest, AUnitIsLongAfterASecondUntilTheUnitsEnd) {
  UnitWatch watch;
  LongUnit unit;
  EXPECT_FALSE(watch.long_unit(std::chrono::steady_clock::now() + milliseconds(5000), unit));
  watch.unit_started(12, 35);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(watch.long_unit(start, unit));
  ASSERT_TRUE(watch.long_unit(start + milliseconds(4500), unit));
  EXPECT_EQ(unit.bar, 12);
  EXPECT_EQ(unit.lines, 35);
  EXPECT_GE(unit.seconds, 4);
  watch.unit_started(13, 2);
  EXPECT_FALSE(watch.long_unit(std::chrono::steady_clock::now(), unit));
  watch.units_ended();
  EXPECT_FALSE(watch.long_unit(start + milliseconds(60000), unit));

  unit.seconds = 4;
  EXPECT_EQ(long_unit_text(unit, base::kEnglish), "Still harmonizing bar 12: a unit of 35 lines (4 s)");
  EXPECT_EQ(long_unit_text(unit, base::kSpanish),
            "Armonizando el compás 12: una unidad de 35 líneas (4 s)");
}

}  // namespace
}  // namespace zelvo::shell
