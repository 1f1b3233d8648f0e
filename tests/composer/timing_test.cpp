#include "composer/timing.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zelvo::composer {
namespace {

ComposerTiming derive(double bars, double tempo, double num, double den, double clicks = 0) {
  const double values[11] = {0, bars, tempo, num, den, clicks, 0, 0, 0, 0, 0};
  ComposerTiming timing{};
  EXPECT_EQ(take_timing_values(values, timing), TimingProblem::kNone);
  derive_clicks(values, timing);
  return timing;
}

TEST(TimingTest, FourFourAndThreeFour) {
  const ComposerTiming t = derive(8, 120, 4, 4);
  EXPECT_EQ(t.bar_count, 8);
  EXPECT_EQ(t.tempo, 120);
  EXPECT_EQ(t.clicks_parte, 48);
  EXPECT_EQ(t.clicks_semic, 12);
  EXPECT_EQ(t.den_exponent, 2);
  EXPECT_EQ(derive(1, 120, 3, 4).clicks_per_bar(), 144);
}

TEST(TimingTest, SixEight) {
  const ComposerTiming t = derive(1, 60, 6, 8);
  EXPECT_EQ(t.clicks_parte, 24);
  EXPECT_EQ(t.clicks_semic, 12);
  EXPECT_EQ(t.den_exponent, 3);
  EXPECT_EQ(t.clicks_per_bar(), 144);
}

TEST(TimingTest, ClicksOverrideOnlyWhenPositive) {
  const ComposerTiming t = derive(1, 60, 4, 4, 96);
  EXPECT_EQ(t.clicks_parte, 96);
  EXPECT_EQ(t.clicks_semic, 24);
  EXPECT_EQ(derive(1, 60, 4, 4, 0).clicks_parte, 48);
  EXPECT_EQ(derive(1, 60, 4, 4, -96).clicks_parte, 48);
  EXPECT_EQ(derive(1, 60, 4, 4, 96.9).clicks_parte, 96);
}

TEST(TimingTest, WholeAndSixteenthDenominators) {
  EXPECT_EQ(derive(1, 60, 1, 1).den_exponent, 0);
  EXPECT_EQ(derive(1, 60, 1, 1).clicks_semic, 12);
  EXPECT_EQ(derive(1, 60, 1, 16).den_exponent, 4);
  EXPECT_EQ(derive(1, 60, 1, 16).clicks_parte, 12);
}

TEST(TimingTest, GuardsDenominatorBeforeTempo) {
  ComposerTiming timing{};
  for (double den : {0.0, 3.0, 32.0, -4.0, 6.0}) {
    const double values[11] = {0, 1, 0, 4, den, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(take_timing_values(values, timing), TimingProblem::kBadDenominator) << den;
  }
  for (double tempo : {0.0, -10.0, 0.5, std::nan("")}) {
    const double values[11] = {0, 1, tempo, 4, 4, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(take_timing_values(values, timing), TimingProblem::kBadTempo) << tempo;
  }
  // 4.7 truncates to 4.
  const double values[11] = {0, 1, 120, 4, 4.7, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(take_timing_values(values, timing), TimingProblem::kNone);
}

}  // namespace
}  // namespace zelvo::composer
