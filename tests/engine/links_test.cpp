#include "engine/links.h"

#include <cstdlib>

#include "engine/form_unit.h"
#include "engine/line_division.h"
#include "engine_fixture.h"

namespace zelvo::engine {
namespace {

using testing_support::EngineTest;
using testing_support::kQuarter;

// Two units: the chord changes at bar 1, click 2048.
class LinksTest : public EngineTest {
 protected:
  void SetUp() override {
    c_major_from_bar_one();
    set_chord(1, 1, 2 * kQuarter, {65, 69, 72});
  }
  void fill_two_units() {
    Engine& e = engine();
    const int32_t last = form_unit(e, 0, 0);
    divide_lines(e, 0);
    mark_outer_lines(e, 0);
    link_units(e, 0);
    form_unit(e, 1, last + 1);
    divide_lines(e, 1);
    mark_outer_lines(e, 1);
    link_units(e, 1);
  }
  const Line& line(int32_t s, int32_t l) { return unit_slot(st(), s).lines[l]; }
};

TEST_F(LinksTest, FifthApartIsNotLinkedAndCostsFive) {
  add_note(1, 1, 0, kQuarter, 58);
  add_note(1, 1, kQuarter, kQuarter, 60);
  add_note(1, 1, 2 * kQuarter, kQuarter, 67);
  add_note(1, 1, 3 * kQuarter, kQuarter, 69);
  fill_two_units();
  EXPECT_EQ(st().links.best_cost, 5.0);
  EXPECT_EQ(line(0, 0).Lh, -1);
  EXPECT_EQ(line(1, 0).Lp, -1);
}

TEST_F(LinksTest, MajorThirdIsLinked) {
  add_note(1, 1, 0, kQuarter, 58);
  add_note(1, 1, kQuarter, kQuarter, 60);
  add_note(1, 1, 2 * kQuarter, kQuarter, 64);
  add_note(1, 1, 3 * kQuarter, kQuarter, 65);
  fill_two_units();
  EXPECT_EQ(st().links.best_cost, 4.0);
  EXPECT_EQ(line(0, 0).Lh, 0);
  EXPECT_EQ(line(1, 0).Lp, 0);
}

TEST_F(LinksTest, WholeTonePreferredOverThird) {
  // Instrument 2 holds the lowest notes, so instrument 1 is divided from the
  // top: its upper line (a third from 62) comes first in the second unit.
  add_note(2, 1, 0, 2 * kQuarter, 30);
  add_note(1, 1, 0, kQuarter, 60);
  add_note(1, 1, kQuarter, kQuarter, 62);
  add_note(2, 1, 2 * kQuarter, 2 * kQuarter, 30);
  add_note(1, 1, 2 * kQuarter, kQuarter, 64);
  add_note(1, 1, 2 * kQuarter, kQuarter, 66);
  add_note(1, 1, 3 * kQuarter, kQuarter, 65);
  add_note(1, 1, 3 * kQuarter, kQuarter, 67);
  fill_two_units();
  // Slot 1 lines: 0 = [66 67], 1 = [64 65] (instrument 1), 2 = [30] (instrument 2).
  ASSERT_EQ(line(1, 0).notes[0].given_pitch, 66);
  ASSERT_EQ(line(1, 1).notes[0].given_pitch, 64);
  EXPECT_EQ(line(0, 0).Lh, 1);
  EXPECT_EQ(line(1, 1).Lp, 0);
  EXPECT_EQ(line(1, 0).Lp, -1);
  // Instrument 2 is linked on its own.
  EXPECT_EQ(line(0, 1).Lh, 2);
  EXPECT_EQ(line(1, 2).Lp, 1);
}

TEST_F(LinksTest, TwoPreviousLinesOneCurrent) {
  add_note(2, 1, 0, 2 * kQuarter, 30);
  add_note(1, 1, 0, kQuarter, 60);
  add_note(1, 1, 0, kQuarter, 72);
  add_note(1, 1, kQuarter, kQuarter, 62);
  add_note(1, 1, kQuarter, kQuarter, 74);
  add_note(1, 1, 2 * kQuarter, kQuarter, 64);
  add_note(1, 1, 3 * kQuarter, kQuarter, 65);
  fill_two_units();
  // Slot 0 lines: 0 = [72 74], 1 = [60 62], 2 = [30]. The padded entry goes
  // to the upper line; the lower one is linked (cost 5 + 2).
  ASSERT_EQ(line(0, 0).notes[0].given_pitch, 72);
  EXPECT_EQ(line(0, 0).Lh, -1);
  EXPECT_EQ(line(0, 1).Lh, 0);
  EXPECT_EQ(line(1, 0).Lp, 1);
}

TEST_F(LinksTest, ManyUnlinkableLinesAreSettledWithoutTryingEveryAssignment) {
  // Eleven lines on each side, every pair five semitones or more apart: the
  // first assignment already costs what any other would.
  for (int32_t k = 0; k < 11; ++k) add_note(1, 1, kQuarter, kQuarter, 20 + 10 * k);
  for (int32_t k = 0; k < 11; ++k) add_note(1, 1, 2 * kQuarter, kQuarter, 25 + 10 * k);
  fill_two_units();
  EXPECT_EQ(st().links.best_cost, 55.0);
  for (int32_t l = 0; l < 11; ++l) {
    EXPECT_EQ(line(0, l).Lh, -1);
    EXPECT_EQ(line(1, l).Lp, -1);
  }
}

TEST_F(LinksTest, BestAssignmentAmongManyLines) {
  // Previous lines end at 60, 64, 67, 72; current lines start at 72, 65, 62, 68:
  // the cheapest assignment is 60-62, 64-65, 67-68, 72-72 (total 4).
  add_note(2, 1, 0, kQuarter, 30);
  for (int32_t p : {60, 64, 67, 72}) add_note(1, 1, kQuarter, kQuarter, p);
  add_note(2, 1, 2 * kQuarter, kQuarter, 30);
  for (int32_t p : {72, 65, 62, 68}) add_note(1, 1, 2 * kQuarter, kQuarter, p);
  fill_two_units();
  for (int32_t l = 0; l < 4; ++l) {
    const int32_t next = line(0, l).Lh;
    ASSERT_GE(next, 0);
    const int32_t from = line(0, l).notes[0].given_pitch;
    const int32_t to = line(1, next).notes[0].given_pitch;
    EXPECT_LE(std::abs(to - from), 2) << from << " -> " << to;
  }
}

TEST_F(LinksTest, LongRestBeforeTheBoundaryLeavesLinesUnlinked) {
  set_chord(1, 2, 0, {65, 69, 72});
  add_note(1, 1, 0, kQuarter, 60);
  add_note(1, 1, kQuarter, kQuarter, 62);
  add_note(1, 2, 0, kQuarter, 62);
  add_note(1, 2, kQuarter, kQuarter, 64);
  fill_two_units();
  EXPECT_EQ(line(0, 0).Lh, -1);
  EXPECT_EQ(line(1, 0).Lp, -1);
}

TEST_F(LinksTest, RestOfExactlyTheHoleStillLinks) {
  set_chord(1, 2, 0, {65, 69, 72});
  add_note(1, 1, 0, kQuarter, 60);
  add_note(1, 1, 2 * kQuarter, kQuarter, 62);  // ends 1024 clicks before bar 2
  add_note(1, 2, 0, kQuarter, 62);
  add_note(1, 2, kQuarter, kQuarter, 64);
  fill_two_units();
  EXPECT_EQ(line(0, 0).Lh, 0);
}

TEST_F(LinksTest, UnitStartingInsideAChordMeasuresFromTheChordStart) {
  // The scale changes in the middle of the chord that began at click 2048:
  // the third unit's line starts 2048 clicks after its chord began.
  set_scale(1, 2, 0, {60, 62, 64, 65, 67, 69, 70});
  add_note(1, 1, 0, kQuarter, 60);
  add_note(1, 1, kQuarter, kQuarter, 62);
  add_note(1, 1, 2 * kQuarter, 2 * kQuarter, 64);
  add_note(1, 2, 0, kQuarter, 65);
  add_note(1, 2, kQuarter, kQuarter, 67);
  Engine& e = engine();
  int32_t next = 0;
  for (int32_t s = 0; s < 3; ++s) {
    next = form_unit(e, s, next) + 1;
    divide_lines(e, s);
    mark_outer_lines(e, s);
    link_units(e, s);
  }
  EXPECT_EQ(line(0, 0).Lh, 0);
  EXPECT_EQ(line(1, 0).Lh, -1);
  EXPECT_EQ(line(2, 0).Lp, -1);
}

}  // namespace
}  // namespace zelvo::engine
