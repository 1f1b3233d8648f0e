#include "engine/line_search.h"

#include "engine/form_unit.h"
#include "engine/line_division.h"
#include "engine/links.h"
#include "engine_fixture.h"

namespace zelvo::engine {
namespace {

using testing_support::EngineTest;
using testing_support::kQuarter;

// Three units, one per bar, under chords holding every pitch class.
class LineSearchTest : public EngineTest {
 protected:
  void SetUp() override {
    settings_.BassIns = kNoInstrument;
    for (int32_t bar = 1; bar <= 3; ++bar) {
      set_chord(bar - 1, bar, 0, {60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70, 71});
    }
    set_scale(0, 1, 0, {60, 62, 64, 65, 67, 69, 71});
  }
  // `counts` notes filling each bar, rising by a semitone from C4.
  void bars(std::initializer_list<int32_t> counts) {
    int32_t bar = 1;
    int32_t pitch = 60;
    for (int32_t count : counts) {
      const int32_t length = 4 * kQuarter / count;
      for (int32_t k = 0; k < count; ++k) add_note(1, bar, k * length, length, pitch++);
      ++bar;
    }
  }
  Engine& fill() {
    Engine& e = engine();
    int32_t next = 0;
    for (int32_t s = 0; s < 3 && next < st().music.note_count; ++s) {
      next = form_unit(e, s, next) + 1;
      divide_lines(e, s);
      mark_outer_lines(e, s);
      link_units(e, s);
    }
    return e;
  }
  Line& line(int32_t s) { return unit_slot(st(), s).lines[0]; }
};

TEST_F(LineSearchTest, LinesAreLinkedAcrossTheThreeUnits) {
  bars({2, 2, 4});
  fill();
  EXPECT_EQ(line(0).Lh, 0);
  EXPECT_EQ(line(1).Lp, 0);
  EXPECT_EQ(line(1).Lh, 0);
  EXPECT_EQ(line(2).Lp, 0);
}

TEST_F(LineSearchTest, StopLookAheadAtLongInnerLineTwoUnitsAhead) {
  bars({2, 2, 4});
  Engine& e = fill();
  EXPECT_FALSE(stop_lookahead(e, 0, 0));  // slot 0 always looks into slot 1
  EXPECT_TRUE(stop_lookahead(e, 1, 0));   // 4 notes > LimitNotesThirdIn 3
  EXPECT_TRUE(stop_lookahead(e, 2, 0));   // no next link
}

TEST_F(LineSearchTest, ShortInnerLineTwoUnitsAheadIsLookedInto) {
  bars({2, 2, 3});
  Engine& e = fill();
  EXPECT_FALSE(stop_lookahead(e, 1, 0));
  settings_.LinkLimit = 1;
  EXPECT_TRUE(stop_lookahead(engine(), 1, 0));
}

TEST_F(LineSearchTest, OuterLineTwoUnitsAheadUsesTheBassAndMelodyLimit) {
  settings_.MelIns = kAnyInstrument;
  bars({2, 2, 2});
  Engine& e = fill();
  ASSERT_EQ(line(2).Tipo, kMelodyLine);
  EXPECT_TRUE(stop_lookahead(e, 1, 0));  // 2 notes > LimitNotesThirdBM 1
}

TEST_F(LineSearchTest, DeepLineOfThreeNotesIsNotSearched) {
  bars({2, 2, 3});
  Engine& e = fill();
  EXPECT_EQ(search_line(e, 2, 0), 0.0f);
  EXPECT_EQ(line(2).Yarm, 0);
  EXPECT_EQ(line(2).Arn, -1);
}

TEST_F(LineSearchTest, SearchChoosesAndHandsTheEndingOn) {
  bars({2, 2, 4});
  Engine& e = fill();
  EXPECT_EQ(search_line(e, 0, 0), 0.0f);
  EXPECT_EQ(line(0).Arn, 0);
  EXPECT_EQ(line(0).Yarm, 1);
  // The next line was left prepared for the chosen ending.
  EXPECT_EQ(line(1).Yarm, 1);
  EXPECT_EQ(line(1).npadre.chosen_pitch, line(0).nlast.chosen_pitch);
  EXPECT_EQ(line(1).npadre.bar, 1);
  EXPECT_EQ(line(1).npadre.click, 2 * kQuarter);
  EXPECT_EQ(line(1).npadre.given_pitch, 61);
  // Slot 1 stopped there: it handed its own ending straight to slot 2.
  EXPECT_EQ(line(1).Arn, 0);
  EXPECT_EQ(line(2).npadre.chosen_pitch, line(1).nlast.chosen_pitch);
  EXPECT_EQ(line(2).Yarm, 0);
}

TEST_F(LineSearchTest, CandidatesAreReusedWhileTheEntryStateHolds) {
  bars({2, 2, 4});
  Engine& e = fill();
  search_line(e, 0, 0);
  const Candidate kept = unit_slot(st(), 1).candidates[0][0];
  // A changed list would be rebuilt; an unchanged entry state keeps it.
  unit_slot(st(), 1).candidates[0][0].cost = 42.0f;
  EXPECT_EQ(search_line(e, 1, 0), 42.0f);
  line(0).nlast.chosen_pitch += 1;
  EXPECT_EQ(search_line(e, 1, 0), kept.cost);
  EXPECT_EQ(line(1).npadre.chosen_pitch, line(0).nlast.chosen_pitch);
}

TEST_F(LineSearchTest, LimitOneLinkJudgesTheNextUnitOnFourNotes) {
  settings_.LinkLimit = 1;
  bars({2, 6});
  Engine& e = fill();
  line(1).npadre = LinkState{1, 3 * kQuarter, kQuarter, 61, 0, 61, kRe};
  line(0).nlast = line(1).npadre;
  search_line(e, 1, 0);
  EXPECT_EQ(line(1).Yarm, 0);  // built again in full in slot 0
  // Offsets -4..4 on four notes, each a chord tone only: every path scored
  // at the fourth note and none beyond.
  EXPECT_EQ(st().pool.process_count, 9 * 9 * 9 * 9);
}

TEST_F(LineSearchTest, ShowLineInfoMarksTheLookAhead) {
  settings_.ShowLineInfo = 1;
  settings_.OpeningInt = 0;
  bars({2, 2, 3});
  Engine& e = fill();
  search_line(e, 0, 0);
  // Slot 1 prints its depth when it is tried and again when it is prepared.
  EXPECT_EQ(console_text(), " \t->cat122");
}

}  // namespace
}  // namespace zelvo::engine
