#include "machine/builtins.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "machine/convert.h"

namespace zelvo::machine {
namespace {

TEST(RandomTest, SequenceFromStateOne) {
  auto m = std::make_unique<MachineState>();
  EXPECT_EQ(m->random_state, 1u);
  EXPECT_EQ(next_random(*m), 41u);
  EXPECT_EQ(next_random(*m), 18467u);
  EXPECT_EQ(next_random(*m), 6334u);
  EXPECT_EQ(next_random(*m), 26500u);
}

TEST(RandomTest, SeedingDiscardsFirstDrawModuloSeven) {
  auto m = std::make_unique<MachineState>();
  EXPECT_EQ(seed_random(*m, 1), 1u);
  // From state 1: 41 % 7 = 6, so six more draws go: the next is the 8th value.
  auto reference = std::make_unique<MachineState>();
  uint32_t expected = 0;
  for (int i = 0; i < 8; ++i) expected = next_random(*reference);
  EXPECT_EQ(next_random(*m), expected);
}

TEST(RandomTest, SameSeedSameSequence) {
  auto a = std::make_unique<MachineState>();
  auto b = std::make_unique<MachineState>();
  next_random(*b);  // a different history before the seeding changes nothing
  EXPECT_EQ(seed_random(*a, 1234), 1234u);
  EXPECT_EQ(seed_random(*b, 1234), 1234u);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(next_random(*a), next_random(*b));
}

TEST(RandomTest, ClockSeedWrapsLikeSigned32BitArithmetic) {
  // 1000000000 * 307 wraps to 2057321984; % 65535 = 47264; sqrt = 217.40285...
  EXPECT_EQ(seed_from_time(1000000000), 20142u);
  // A product that wraps negative keeps its sign in the remainder:
  // 1700000000 * 307 wraps to -2086010112, % 65535 = -31062; sqrt(31062) = 176.24414...
  EXPECT_EQ(seed_from_time(1700000000), 12207u);
  EXPECT_EQ(seed_from_time(0), 0u);
  auto m = std::make_unique<MachineState>();
  EXPECT_LT(seed_random(*m, 0), 50000u);
}

TEST(NrandTest, RangeAndOneDrawPerCall) {
  auto m = std::make_unique<MachineState>();
  EXPECT_EQ(nrand(*m, 0), 0.0);
  EXPECT_EQ(m->random_state, 2531011u + 214013u);  // one draw taken
  auto n = std::make_unique<MachineState>();
  bool seen_zero = false;
  bool seen_nine = false;
  for (int i = 0; i < 2000; ++i) {
    const double r = nrand(*n, 9);
    ASSERT_GE(r, 0.0);
    ASSERT_LE(r, 9.0);
    ASSERT_EQ(r, std::floor(r));
    seen_zero |= r == 0.0;
    seen_nine |= r == 9.0;
    ASSERT_LE(nrand(*n, 2.5), 2.0);
    ASSERT_EQ(nrand(*n, -1), 0.0);
  }
  EXPECT_TRUE(seen_zero && seen_nine);
}

TEST(NrandTest, FirstValuesFromStateOne) {
  auto m = std::make_unique<MachineState>();
  // (41 * 10) / 32768 = 0; (18467 * 10) / 32768 = 5; (6334 * 100) / 32768 = 19.
  EXPECT_EQ(nrand(*m, 9), 0.0);
  EXPECT_EQ(nrand(*m, 9), 5.0);
  EXPECT_EQ(nrand(*m, 99), 19.0);
  // 26500 * 1000000 wraps in 32 bits: 26500000000 mod 2^32 = 730196224 -> / 32768 = 22283.
  EXPECT_EQ(nrand(*m, 999999), 22283.0);
}

TEST(NrandTest, HugeAndNanArgumentsStayDefined) {
  auto m = std::make_unique<MachineState>();
  EXPECT_TRUE(std::isfinite(nrand(*m, 1e300)));
  EXPECT_EQ(nrand(*m, std::nan("")), 0.0);  // NaN converts to 0
}

TEST(ItpTest, LineThroughTwoPointsUnclamped) {
  EXPECT_EQ(itp(0, 0, 10, 100, 5), 50.0);
  EXPECT_EQ(itp(0, 0, 10, 100, 20), 200.0);
  EXPECT_EQ(itp(10, 100, 0, 0, 5), 50.0);
  EXPECT_TRUE(std::isnan(itp(1, 1, 1, 1, 1)));
}

TEST(ListTest, SelectorAndSwitch) {
  auto m = std::make_unique<MachineState>();
  EXPECT_EQ(lv(*m, 0, 5), 0.0);  // switch 0 before any li
  EXPECT_EQ(li(*m, 2, 1), 0.0);
  EXPECT_EQ(lv(*m, 1, 60) + lv(*m, 2, 64), 64.0);
  li(*m, 2, 0);
  EXPECT_EQ(lv(*m, 2, 64), 0.0);
  li(*m, 7, 1);
  EXPECT_EQ(lr(*m, 5, 9, 2), 2.0);
  EXPECT_EQ(lr(*m, 7, 7, 3), 3.0);  // both bounds included
  li(*m, 9.5, 1);
  EXPECT_EQ(lr(*m, 5, 9, 2), 0.0);
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
