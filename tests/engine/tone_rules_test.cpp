#include "engine/tone_rules.h"

#include "engine_fixture.h"

namespace zelvo::engine {
namespace {

using testing_support::EngineTest;
using testing_support::kQuarter;
using testing_support::kSixteenth;

constexpr int32_t kAll[8] = {1, 1, 1, 1, 1, 1, 1, 1};
constexpr int32_t kNone[8] = {0, 0, 0, 0, 0, 0, 0, 0};

// Slot 0 under C major (chord C E G, scale C D E F G A B).
class ToneRulesTest : public EngineTest {
 protected:
  void SetUp() override { c_major_from_bar_one(); }

  static LinkState previous(int32_t click, int32_t chosen, int32_t type, int32_t bar = 1,
                            int32_t dur = kQuarter) {
    return LinkState{bar, click, dur, chosen, 0, chosen, type};
  }
  static LinkState none() { return LinkState{-1, 0, 0, 0, 0, 0, 0}; }
  static LinkState note(int32_t click, int32_t given, int32_t bar = 1, int32_t dur = kQuarter) {
    return LinkState{bar, click, dur, given, 0, 0, 0};
  }
  // Rule `type` on note c at offset 0 after p.
  bool accepts(int32_t type, const LinkState& p, LinkState c, const int32_t* row = kAll) {
    return apply_tone_rule(engine(), type, 0, p, c, 0, row);
  }
};

TEST_F(ToneRulesTest, StepClass) {
  EXPECT_EQ(step_class(60, 61), 1);
  EXPECT_EQ(step_class(60, 62), 1);
  EXPECT_EQ(step_class(60, 63), 0);
  EXPECT_EQ(step_class(60, 60), 0);
  EXPECT_EQ(step_class(60, 59), -1);
  EXPECT_EQ(step_class(60, 58), -1);
  EXPECT_EQ(step_class(60, 57), 0);
}

TEST_F(ToneRulesTest, MetricWeightInFourAndThreeBeats) {
  Engine& e = engine();
  EXPECT_EQ(metric_weight(e, 0), 4);
  EXPECT_EQ(metric_weight(e, kQuarter), 2);
  EXPECT_EQ(metric_weight(e, 2 * kQuarter), 3);
  EXPECT_EQ(metric_weight(e, 3 * kQuarter), 2);
  EXPECT_EQ(metric_weight(e, 512), 1);
  settings_.time.compas_num = 3;
  Engine& three = engine();
  EXPECT_EQ(metric_weight(three, 2 * kQuarter), 2);
  EXPECT_EQ(metric_weight(three, kQuarter), 2);
}

TEST_F(ToneRulesTest, GapTooLong) {
  Engine& e = engine();
  const LinkState p = previous(0, 60, kRe);  // ends at click 1024
  EXPECT_FALSE(gap_too_long(e, p, note(2048, 60)));
  EXPECT_TRUE(gap_too_long(e, p, note(2049, 60)));
}

TEST_F(ToneRulesTest, ChordToneAcceptsAndSetsPitchAndType) {
  LinkState c = note(0, 60);
  EXPECT_TRUE(apply_tone_rule(engine(), kRe, 0, none(), c, 4, kNone));
  EXPECT_EQ(c.chosen_pitch, 64);
  EXPECT_EQ(c.tone_type, kRe);
  EXPECT_FALSE(apply_tone_rule(engine(), kRe, 0, none(), c, 2, kNone));
}

TEST_F(ToneRulesTest, PitchesOutsideMidiRangeAreRefused) {
  LinkState c = note(0, 127);
  EXPECT_FALSE(apply_tone_rule(engine(), kRe, 0, none(), c, 5, kNone));  // 132
  LinkState low = note(0, 2);
  EXPECT_FALSE(apply_tone_rule(engine(), kRe, 0, none(), low, -10, kNone));
}

TEST_F(ToneRulesTest, NeighbourUpAfterChordToneAndItsResolution) {
  const LinkState chord_tone = previous(0, 60, kRe);
  EXPECT_TRUE(accepts(kFa, chord_tone, note(kQuarter, 62)));
  EXPECT_FALSE(accepts(kFa, chord_tone, note(kQuarter, 62), kNone));  // switch off
  EXPECT_FALSE(accepts(kFa, chord_tone, note(kQuarter, 64 + 1)));     // F: a leap
  EXPECT_FALSE(accepts(kFa, chord_tone, note(kQuarter, 61)));         // C#: not in the scale
  EXPECT_FALSE(accepts(kFa, none(), note(kQuarter, 62)));
  EXPECT_FALSE(accepts(kFa, previous(0, 60, kRe), note(2049, 62)));   // long gap
  EXPECT_FALSE(accepts(kFd, chord_tone, note(kQuarter, 62)));
  EXPECT_TRUE(accepts(kFd, previous(0, 64, kRe), note(kQuarter, 62)));
  // The chord tone after it must come back down by a step.
  const LinkState neighbour = previous(kQuarter, 62, kFa);
  EXPECT_TRUE(accepts(kRe, neighbour, note(2 * kQuarter, 60)));
  EXPECT_FALSE(accepts(kRe, neighbour, note(2 * kQuarter, 64)));
  EXPECT_FALSE(accepts(kRe, neighbour, note(2 * kQuarter + 2049, 60)));
  EXPECT_TRUE(accepts(kRe, previous(kQuarter, 62, kFd), note(2 * kQuarter, 64)));
}

TEST_F(ToneRulesTest, NonHarmonicDurationLimitIsTruncatedSixteenths) {
  const LinkState chord_tone = previous(0, 60, kRe);
  EXPECT_TRUE(accepts(kFa, chord_tone, note(kQuarter, 62, 1, 1279)));
  EXPECT_FALSE(accepts(kFa, chord_tone, note(kQuarter, 62, 1, 1280)));
  EXPECT_TRUE(accepts(kPa, chord_tone, note(kQuarter, 62, 1, 1279)));
  EXPECT_FALSE(accepts(kPa, chord_tone, note(kQuarter, 62, 1, 1280)));
}

TEST_F(ToneRulesTest, PassingTonesFollowTheirOwnDirection) {
  EXPECT_TRUE(accepts(kPa, previous(0, 60, kRe), note(kQuarter, 62)));
  EXPECT_TRUE(accepts(kPa, previous(0, 62, kPa), note(kQuarter, 64)));
  EXPECT_FALSE(accepts(kPa, previous(0, 62, kPd), note(kQuarter, 64)));
  EXPECT_TRUE(accepts(kPd, previous(0, 64, kPd), note(kQuarter, 62)));
  EXPECT_FALSE(accepts(kPd, previous(0, 64, kPa), note(kQuarter, 62)));
  EXPECT_FALSE(accepts(kPa, none(), note(kQuarter, 62)));
  // A passing tone goes on by a step in its direction.
  EXPECT_TRUE(accepts(kRe, previous(0, 62, kPa), note(kQuarter, 64)));
  EXPECT_FALSE(accepts(kRe, previous(0, 62, kPa), note(kQuarter, 60)));
  EXPECT_TRUE(accepts(kRe, previous(0, 65, kPd), note(kQuarter, 64)));
}

TEST_F(ToneRulesTest, AccentedToneOnTheBeatReachedByLeapOrPrepared) {
  EXPECT_TRUE(accepts(kAs, none(), note(0, 62)));            // first note, no entry state
  EXPECT_TRUE(accepts(kAi, none(), note(kQuarter, 62)));
  EXPECT_FALSE(accepts(kAs, none(), note(512, 62)));         // off the beat
  EXPECT_TRUE(accepts(kAs, previous(0, 67, kRe), note(kQuarter, 62)));   // leap of 5
  EXPECT_FALSE(accepts(kAs, previous(0, 64, kRe), note(kQuarter, 62)));  // a step
  EXPECT_FALSE(accepts(kAs, previous(0, 67, kFa), note(kQuarter, 62)));  // not after a chord tone
  // Prepared: the same pitch, outside the chord, without a long gap.
  EXPECT_TRUE(accepts(kAs, previous(0, 65, kRe), note(kQuarter, 65)));
  EXPECT_FALSE(accepts(kAs, previous(0, 64, kRe), note(kQuarter, 64)));  // in the chord
  EXPECT_FALSE(accepts(kAs, previous(0, 65, kRe), note(2049, 65)));      // long gap
  // Twice the non-harmonic duration.
  EXPECT_TRUE(accepts(kAs, none(), note(0, 62, 1, 2303)));
  EXPECT_FALSE(accepts(kAs, none(), note(0, 62, 1, 2304)));
  EXPECT_FALSE(accepts(kAs, none(), note(0, 62), kNone));
}

TEST_F(ToneRulesTest, AccentedToneResolvesByStepToAWeakerOrEqualBeat) {
  // From the bar's first click to the second beat: weight 2 <= 4.
  EXPECT_TRUE(accepts(kRe, previous(0, 62, kAs), note(kQuarter, 60)));
  EXPECT_FALSE(accepts(kRe, previous(0, 62, kAs), note(kQuarter, 64)));
  EXPECT_TRUE(accepts(kRe, previous(0, 62, kAi), note(kQuarter, 64)));
  // From the second beat to the next bar's first click: 4 > 2.
  EXPECT_FALSE(accepts(kRe, previous(3 * kQuarter, 62, kAs), note(0, 60, 2)));
}

TEST_F(ToneRulesTest, EscapeTones) {
  const LinkState chord_tone = previous(0, 60, kRe);
  // NHD 4: at most 2 sixteenths.
  EXPECT_TRUE(accepts(kEa, chord_tone, note(kQuarter, 62, 1, 3 * kSixteenth - 1)));
  EXPECT_FALSE(accepts(kEa, chord_tone, note(kQuarter, 62, 1, 3 * kSixteenth)));
  EXPECT_TRUE(accepts(kEd, previous(0, 64, kRe), note(kQuarter, 62, 1, kSixteenth)));
  // Not on a stronger beat than the chord tone before it.
  EXPECT_FALSE(accepts(kEa, previous(kQuarter, 60, kRe), note(2 * kQuarter, 62, 1, kSixteenth)));
  EXPECT_TRUE(accepts(kEa, previous(2 * kQuarter, 60, kRe), note(3 * kQuarter, 62, 1, kSixteenth)));
  // Left by a leap of at least 3 against the approach.
  EXPECT_TRUE(accepts(kRe, previous(0, 67, kEa), note(kQuarter, 64)));
  EXPECT_FALSE(accepts(kRe, previous(0, 66, kEa), note(kQuarter, 64)));
  EXPECT_TRUE(accepts(kRe, previous(0, 64, kEd), note(kQuarter, 67)));
  EXPECT_FALSE(accepts(kRe, previous(0, 65, kEd), note(kQuarter, 67)));
}

TEST_F(ToneRulesTest, EscapeToneNeedsNonHarmonicDurationTwo) {
  settings_.NonHarmToneDur = 1;
  const LinkState chord_tone = previous(0, 60, kRe);
  EXPECT_FALSE(accepts(kEa, chord_tone, note(kQuarter, 62, 1, kSixteenth)));
  EXPECT_TRUE(accepts(kEa, chord_tone, note(kQuarter, 62, 1, kSixteenth - 1)));
}

}  // namespace
}  // namespace zelvo::engine
