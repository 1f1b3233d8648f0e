#include "engine/path_cost.h"

#include <cmath>
#include <vector>

#include "engine_fixture.h"

namespace zelvo::engine {
namespace {

using testing_support::EngineTest;
using testing_support::kQuarter;

class PathCostTest : public EngineTest {
 protected:
  void SetUp() override {
    c_major_from_bar_one();
    for (auto& row : settings_.NonHarmTonesCoef) {
      for (float& w : row) w = 0.0f;
    }
  }
  // Line 0 of slot 0: instrument 1, quarter notes from bar 1 with these given pitches.
  Line& make_line(std::vector<int32_t> given, int32_t tipo = kInnerLine) {
    Line& line = unit_slot(st(), 0).lines[0];
    line.Tipo = tipo;
    line.Ins = 1;
    line.Tmno = static_cast<int32_t>(given.size());
    for (int32_t k = 0; k < line.Tmno; ++k) {
      line.notes[k] = LineNote{1, k * kQuarter, kQuarter, given[k], 100, 0};
    }
    return line;
  }
  double cost(std::vector<int32_t> chosen, int32_t n = -1) {
    PathNote path[kMaxLineNotes];
    for (size_t k = 0; k < chosen.size(); ++k) {
      path[k] = PathNote{static_cast<int8_t>(chosen[k]), static_cast<int8_t>(kRe)};
    }
    Engine& e = engine();
    rank_outer_notes(e, 0, 0);
    return path_cost(e, path, 0, 0, n < 0 ? static_cast<int32_t>(chosen.size()) : n);
  }
  float* weights(int32_t row) { return settings_.NonHarmTonesCoef[row]; }
};

TEST_F(PathCostTest, AllWeightsZeroCostNothing) {
  Line& line = make_line({60, 62, 64}, kBassLine);
  line.Lp = 0;
  line.npadre = LinkState{1, 0, kQuarter, 55, 1, 50, kRe};
  EXPECT_EQ(cost({64, 60, 67}), 0.0);
}

TEST_F(PathCostTest, LinkContourWorkedValue) {
  // dg = 62 - 60 = +2, dc = 60 - 65 = -5: 7 + 15 (opposite) + 5 (step became leap) = 27.
  Line& line = make_line({60, 60});
  line.Lp = 3;
  line.npadre = LinkState{1, 0, kQuarter, 62, 0, 60, kRe};
  weights(1)[0] = 100.0f;
  EXPECT_DOUBLE_EQ(cost({65, 60}, 1), 27.0);
  EXPECT_DOUBLE_EQ(cost({65, 60}, 2), 13.5);
  line.Lp = -1;
  EXPECT_DOUBLE_EQ(cost({65, 60}, 1), 0.0);
}

TEST_F(PathCostTest, LinkContourRepeatThatMoved) {
  Line& line = make_line({60});
  line.Lp = 0;
  line.npadre = LinkState{1, 0, kQuarter, 60, 0, 60, kRe};
  weights(1)[0] = 100.0f;
  EXPECT_DOUBLE_EQ(cost({62}), 2.0 + 5.0);   // dg 0, dc -2
  EXPECT_DOUBLE_EQ(cost({64}), 4.0 + 5.0 + 5.0);  // and a step became a leap
}

TEST_F(PathCostTest, CutNoteWithDifferentPitchesCostsTen) {
  Line& line = make_line({64});
  line.notes[0].tie_flags = kTieContinued;
  line.Lp = 0;
  line.npadre = LinkState{1, 0, kQuarter, 64, kTieContinues, 64, kRe};
  weights(1)[1] = 100.0f;
  EXPECT_DOUBLE_EQ(cost({64}), 0.0);
  EXPECT_DOUBLE_EQ(cost({67}), 10.0);
  line.notes[0].tie_flags = 0;
  EXPECT_DOUBLE_EQ(cost({67}), 0.0);
}

TEST_F(PathCostTest, DistanceDirectionAndShape) {
  make_line({60, 60});
  weights(1)[2] = 100.0f;  // C: (2 + 0) / 2 = 1
  weights(1)[3] = 100.0f;  // D: the given repeats, the chosen does not: 1 / 2 x 15
  weights(1)[4] = 100.0f;  // E: 1 / 2 x 5
  EXPECT_DOUBLE_EQ(cost({62, 60}), 1.0 + 7.5 + 2.5);
}

TEST_F(PathCostTest, OppositeDirectionsAndDifferentStepClasses) {
  make_line({60, 62, 67});
  weights(1)[3] = 300.0f;
  // Moves: given +2, chosen -4 (opposite); given +5, chosen +7 (same).
  EXPECT_NEAR(cost({64, 60, 67}), 1.0 / 3.0 * 15.0 * 3.0, 1e-5);
  weights(1)[3] = 0.0f;
  weights(1)[4] = 300.0f;
  // Step classes: +1 vs 0 differ; 0 vs 0 equal.
  EXPECT_NEAR(cost({64, 60, 67}), 1.0 / 3.0 * 5.0 * 3.0, 1e-5);
}

TEST_F(PathCostTest, OneNoteBassOnTheChordBass) {
  settings_.BassIns = kAnyInstrument;
  make_line({48}, kBassLine);
  weights(kBassRow)[5] = 100.0f;
  EXPECT_DOUBLE_EQ(cost({48}), 5.0);   // F' = 10
  EXPECT_DOUBLE_EQ(cost({52}), 15.0);  // F' = 0
  weights(kBassRow)[5] = 0.0f;
  weights(1)[5] = 100.0f;  // the instrument's row does not apply
  EXPECT_DOUBLE_EQ(cost({52}), 0.0);
}

TEST_F(PathCostTest, BassLineWithoutBassPitchClassMatchesNothing) {
  settings_.BassIns = kAnyInstrument;
  char (&marks)[kMarksSize] = st().chords.entries[0].marks;
  std::memcpy(marks, "C_dE_fG_a_b", 12);
  make_line({48}, kBassLine);
  weights(kBassRow)[5] = 100.0f;
  EXPECT_DOUBLE_EQ(cost({48}), 15.0);
}

TEST_F(PathCostTest, ThreeNoteMelodyOnTheTopPitchClass) {
  settings_.MelIns = kAnyInstrument;
  make_line({67, 67, 67}, kMelodyLine);
  weights(kMelodyRow)[6] = 100.0f;
  EXPECT_DOUBLE_EQ(cost({67, 79, 55}), 8.0);  // G' = 5 + 1 + 1 + 0
  // Two of three off the top: G' = 5 + 0 + 0 + 2/3 x 5.
  EXPECT_NEAR(cost({67, 64, 60}), 15.0 - 5.0 - 10.0 / 3.0, 1e-5);
}

TEST_F(PathCostTest, TwoNoteMelodyRankingEntriesAddTwo) {
  settings_.MelIns = kAnyInstrument;
  make_line({72, 67}, kMelodyLine);  // ranked: note 0 (72), then note 1
  weights(kMelodyRow)[6] = 100.0f;
  EXPECT_DOUBLE_EQ(cost({67, 67}), 15.0 - (5.0 + 2.0));
  // The top-ranked note lies outside a path of one note.
  EXPECT_DOUBLE_EQ(cost({72, 67}, 1), 15.0 - 5.0);
}

TEST_F(PathCostTest, TermsAreSinglePrecisionUntilTheLastSum) {
  // A = 1/3 in single precision; times w1 = 10 it is 3.3333335f.
  Line& line = make_line({60, 60, 60});
  line.Lp = 0;
  line.npadre = LinkState{1, 0, kQuarter, 60, 0, 61, kRe};  // dg 0, dc 1: A = 1 + 5
  weights(1)[0] = 0.5f;
  const float a = 6.0f / 3.0f;
  EXPECT_EQ(cost({60, 60, 60}), static_cast<double>(a * 0.5f) / 100.0);
  line.npadre.chosen_pitch = 60;
  line.npadre.given_pitch = 61;  // dg 1, dc 0: A = 1
  weights(1)[0] = 10.0f;
  const float third = 1.0f / 3.0f;
  EXPECT_EQ(cost({60, 60, 60}), static_cast<double>(third * 10.0f) / 100.0);
  EXPECT_NE(cost({60, 60, 60}), 10.0 / 3.0 / 100.0);
}

TEST_F(PathCostTest, ProductsAreRoundedBeforeTheyAreAdded) {
  // B x w2 = 10 x 1677721.625 rounds to 2^24; C x w3 = (1/3 in single) x 3 is
  // just above 1 and rounds to 1. 2^24 + 1 lies halfway between two floats
  // and rounds to 2^24; a fused multiply-add would keep the excess of the
  // product and round up to 2^24 + 2.
  Line& line = make_line({60, 60, 60});
  line.notes[0].tie_flags = kTieContinued;
  line.Lp = 0;
  line.npadre = LinkState{1, 0, kQuarter, 60, kTieContinues, 61, kRe};
  weights(1)[1] = 1677721.625f;
  weights(1)[2] = 3.0f;
  const float third = 1.0f / 3.0f;
  ASSERT_EQ(std::fma(third, 3.0f, 16777216.0f), 16777218.0f);
  EXPECT_EQ(cost({60, 60, 61}), 16777216.0 / 100.0);
}

TEST_F(PathCostTest, NoteImportance) {
  Engine& e = engine();
  EXPECT_EQ(note_importance(e, 0, 384), 17);
  EXPECT_EQ(note_importance(e, 512, 256), 5);
  EXPECT_EQ(note_importance(e, 2048, 1024), 16);
}

TEST_F(PathCostTest, RankOuterNotesLowestFirstStrongerOnEqualPitch) {
  Line& line = make_line({50, 48, 50, 48}, kBassLine);
  line.notes[3].click = 0;  // the later 48 is stronger (on the bar's first click)
  line.notes[1].click = 512;
  rank_outer_notes(engine(), 0, 0);
  EXPECT_EQ(line.ranking[0].note_index, 3);
  EXPECT_EQ(line.ranking[1].note_index, 1);
  EXPECT_EQ(line.ranking[2].note_index, 0);  // equal importance: the earlier stays
  EXPECT_EQ(line.ranking[3].note_index, 2);
  EXPECT_EQ(line.ranking[0].importance, 20);
}

TEST_F(PathCostTest, TruncationSaturates) {
  EXPECT_EQ(truncate_to_int(1.9), 1);
  EXPECT_EQ(truncate_to_int(-1.9), -1);
  EXPECT_EQ(truncate_to_int(1e12), 2147483647);
  EXPECT_EQ(truncate_to_int(-1e12), -2147483647 - 1);
  EXPECT_EQ(truncate_to_int(0.0 / 0.0), 0);
}

}  // namespace
}  // namespace zelvo::engine
