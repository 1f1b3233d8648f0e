// What no expression cell can show: the clock seed and the conversion to
// 32-bit integers. The operators and functions run as rows of the
// expression cases (data/tables/expression_cases.txt).
#include "machine/builtins.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "machine/convert.h"

namespace zelvo::machine {
namespace {

TEST(RandomTest, ClockSeedWrapsLikeSigned32BitArithmetic) {
  // 1000000000 * 307 wraps to 2057321984; % 65535 = 47264; sqrt = 217.40285...
  EXPECT_EQ(seed_from_time(1000000000), 20142u);
  // A product that wraps negative keeps its sign in the remainder.
  EXPECT_EQ(seed_from_time(1700000000), 12207u);
  EXPECT_EQ(seed_from_time(0), 0u);
  auto m = std::make_unique<MachineState>();
  EXPECT_LT(seed_random(*m, 0), 50000u);
  EXPECT_EQ(seed_random(*m, 1234), 1234u);
}

TEST(ConvertTest, TruncatesTowardZeroAndSaturates) {
  EXPECT_EQ(truncate_to_int32(-3.7), -3);
  EXPECT_EQ(truncate_to_int32(3.7), 3);
  EXPECT_EQ(truncate_to_int32(INFINITY), INT32_MAX);
  EXPECT_EQ(truncate_to_int32(-1e20), INT32_MIN);
  EXPECT_EQ(truncate_to_int32(std::nan("")), 0);
}

}  // namespace
}  // namespace zelvo::machine
