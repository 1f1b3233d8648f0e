#include "engine/line_division.h"

#include <vector>

#include "engine/form_unit.h"
#include "engine_fixture.h"

namespace zelvo::engine {
namespace {

using testing_support::EngineTest;
using testing_support::kQuarter;

class LineDivisionTest : public EngineTest {
 protected:
  // Forms the unit at note 0 in slot 0 and divides it.
  UnitSlot& divide() {
    Engine& e = engine();
    form_unit(e, 0, 0);
    divide_lines(e, 0);
    mark_outer_lines(e, 0);
    return unit_slot(st(), 0);
  }
  static std::vector<int32_t> pitches(const Line& line) {
    std::vector<int32_t> out;
    for (int32_t k = 0; k < line.Tmno; ++k) out.push_back(line.notes[k].given_pitch);
    return out;
  }
  static int32_t line_count(const UnitSlot& slot) {
    int32_t n = 0;
    while (n < kMaxLines && slot.lines[n].Ins != -1) ++n;
    return n;
  }
  // Fills the work list directly, untagged.
  void work(std::initializer_list<MusicNote> notes) {
    st().work.count = 0;
    for (const MusicNote& n : notes) st().work.notes[st().work.count++] = WorkNote{n, 0};
  }
  static MusicNote note(int32_t click, int32_t dur, int32_t pitch) {
    return MusicNote{1, 1, click, dur, pitch, 100, 0};
  }
};

TEST_F(LineDivisionTest, ScalePassageInStepsIsOneLine) {
  c_major_from_bar_one();
  const int32_t scale[] = {60, 62, 64, 65, 67, 69};
  for (int32_t k = 0; k < 6; ++k) add_note(1, 1 + k / 4, (k % 4) * kQuarter, kQuarter, scale[k]);
  const UnitSlot& slot = divide();
  ASSERT_EQ(line_count(slot), 1);
  EXPECT_EQ(pitches(slot.lines[0]), (std::vector<int32_t>{60, 62, 64, 65, 67, 69}));
  EXPECT_EQ(slot.lines[0].Ins, 1);
  EXPECT_EQ(slot.lines[0].Tmno, 6);
  EXPECT_EQ(slot.lines[0].Tipo, kBassLine);  // the only line holds the lowest note
}

TEST_F(LineDivisionTest, CanFollowNeedsAStepNoOverlapAndShortSilence) {
  work({note(0, 1024, 60), note(1024, 1024, 62), note(1024, 1024, 64), note(0, 1024, 61),
        note(2048, 1024, 62), note(2049, 1024, 62)});
  Engine& e = engine();
  EXPECT_TRUE(can_follow(e, 0, 1));   // a whole tone, legato
  EXPECT_FALSE(can_follow(e, 0, 2));  // a third
  EXPECT_FALSE(can_follow(e, 0, 3));  // starts together
  EXPECT_TRUE(can_follow(e, 0, 4));   // silence of exactly HoleForLine sixteenths
  EXPECT_FALSE(can_follow(e, 0, 5));  // one click longer
  work({note(0, 2048, 60), note(1024, 1024, 62)});
  EXPECT_FALSE(can_follow(engine(), 0, 1));  // a ends after b starts
}

TEST_F(LineDivisionTest, ThirdApartIsNoChainButLeftOversStillJoin) {
  c_major_from_bar_one();
  add_note(1, 1, 0, kQuarter, 60);
  add_note(1, 1, kQuarter, kQuarter, 64);
  const UnitSlot& slot = divide();
  // Both seeds are refused; the left-over line 0 fills its hole with the other note.
  ASSERT_EQ(line_count(slot), 1);
  EXPECT_EQ(pitches(slot.lines[0]), (std::vector<int32_t>{60, 64}));
}

TEST_F(LineDivisionTest, ChainForwardTakesTheHigherOfSimultaneousNotes) {
  work({note(0, 1024, 62), note(1024, 1024, 60), note(1024, 1024, 63)});
  Engine& e = engine();
  st().work.chain_length = 1;
  extend_chain(e, 0, +1, true, 1);
  EXPECT_EQ(st().work.chain_length, 2);
  EXPECT_EQ(st().work.notes[0].tag, 1);
  EXPECT_EQ(st().work.notes[1].tag, 0);
  EXPECT_EQ(st().work.notes[2].tag, 1);
}

TEST_F(LineDivisionTest, ChainBackwardTakesTheHigherOfSimultaneousNotes) {
  work({note(0, 1024, 63), note(0, 1024, 60), note(1024, 1024, 62)});
  Engine& e = engine();
  st().work.chain_length = 1;
  extend_chain(e, 2, -1, true, 4);
  EXPECT_EQ(st().work.chain_length, 2);
  EXPECT_EQ(st().work.notes[0].tag, 4);
  EXPECT_EQ(st().work.notes[1].tag, 0);
}

TEST_F(LineDivisionTest, UnmarkedChainCountsWithoutTagging) {
  work({note(0, 1024, 60), note(1024, 1024, 62), note(2048, 1024, 64)});
  Engine& e = engine();
  st().work.chain_length = 1;
  extend_chain(e, 0, +1, false, 1);
  EXPECT_EQ(st().work.chain_length, 3);
  for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(st().work.notes[i].tag, 0);
}

TEST_F(LineDivisionTest, IsolatedNoteBecomesALineOfItsOwn) {
  c_major_from_bar_one();
  add_note(1, 1, 0, kQuarter, 60);
  add_note(1, 1, kQuarter, kQuarter, 62);
  add_note(1, 1, 2 * kQuarter, kQuarter, 72);
  add_note(1, 1, 3 * kQuarter, kQuarter, 64);
  const UnitSlot& slot = divide();
  ASSERT_EQ(line_count(slot), 2);
  EXPECT_EQ(pitches(slot.lines[0]), (std::vector<int32_t>{60, 62, 64}));
  EXPECT_EQ(pitches(slot.lines[1]), (std::vector<int32_t>{72}));
}

TEST_F(LineDivisionTest, IsolatedNoteTakesAWholeLineIntoItsHole) {
  c_major_from_bar_one();
  add_note(1, 1, 0, kQuarter, 72);
  add_note(1, 1, kQuarter, kQuarter, 60);
  add_note(1, 1, 2 * kQuarter, kQuarter, 62);
  const UnitSlot& slot = divide();
  ASSERT_EQ(line_count(slot), 1);
  EXPECT_EQ(pitches(slot.lines[0]), (std::vector<int32_t>{72, 60, 62}));
}

TEST_F(LineDivisionTest, LowInstrumentDividedFromBelowOthersFromAbove) {
  c_major_from_bar_one();
  // Instrument 1: two voices, upper 72-74 and lower 60-62. Instrument 2
  // (the lowest note) two voices 48-50 and 55-57.
  add_note(1, 1, 0, kQuarter, 60);
  add_note(1, 1, 0, kQuarter, 72);
  add_note(2, 1, 0, kQuarter, 48);
  add_note(2, 1, 0, kQuarter, 55);
  add_note(1, 1, kQuarter, kQuarter, 62);
  add_note(1, 1, kQuarter, kQuarter, 74);
  add_note(2, 1, kQuarter, kQuarter, 50);
  add_note(2, 1, kQuarter, kQuarter, 57);
  const UnitSlot& slot = divide();
  ASSERT_EQ(line_count(slot), 4);
  EXPECT_EQ(pitches(slot.lines[0]), (std::vector<int32_t>{72, 74}));
  EXPECT_EQ(pitches(slot.lines[1]), (std::vector<int32_t>{60, 62}));
  EXPECT_EQ(pitches(slot.lines[2]), (std::vector<int32_t>{48, 50}));
  EXPECT_EQ(pitches(slot.lines[3]), (std::vector<int32_t>{55, 57}));
  EXPECT_EQ(slot.lines[2].Ins, 2);
  // Default MelIns -2: no melody line; BassIns -1: the lowest line is the bass.
  EXPECT_EQ(slot.lines[0].Tipo, kInnerLine);
  EXPECT_EQ(slot.lines[2].Tipo, kBassLine);
  EXPECT_EQ(line_count(slot), 4);
  EXPECT_EQ(slot.lines[4].Ins, -1);
}

TEST_F(LineDivisionTest, BassInsChoosesTheInstrumentDividedFromBelow) {
  c_major_from_bar_one();
  settings_.BassIns = 1;
  settings_.MelIns = -1;
  add_note(2, 1, 0, kQuarter, 40);
  add_note(1, 1, 0, kQuarter, 60);
  add_note(1, 1, 0, kQuarter, 72);
  add_note(1, 1, kQuarter, kQuarter, 62);
  add_note(1, 1, kQuarter, kQuarter, 74);
  const UnitSlot& slot = divide();
  EXPECT_EQ(pitches(slot.lines[0]), (std::vector<int32_t>{60, 62}));
  EXPECT_EQ(pitches(slot.lines[1]), (std::vector<int32_t>{72, 74}));
  EXPECT_EQ(slot.lines[0].Tipo, kBassLine);    // lowest line of instrument 1
  EXPECT_EQ(slot.lines[1].Tipo, kMelodyLine);  // highest line of any instrument
  EXPECT_EQ(slot.lines[2].Tipo, kInnerLine);   // instrument 2 holds the lowest note
}

TEST_F(LineDivisionTest, BassMarkedAfterMelodyOnTheSameLine) {
  c_major_from_bar_one();
  settings_.MelIns = -1;
  add_note(1, 1, 0, kQuarter, 60);
  add_note(1, 1, kQuarter, kQuarter, 62);
  const UnitSlot& slot = divide();
  EXPECT_EQ(slot.lines[0].Tipo, kBassLine);
}

TEST_F(LineDivisionTest, NoOuterLinesWhenBothAreNone) {
  c_major_from_bar_one();
  settings_.MelIns = -2;
  settings_.BassIns = -2;
  add_note(1, 1, 0, kQuarter, 60);
  add_note(1, 1, kQuarter, kQuarter, 62);
  const UnitSlot& slot = divide();
  EXPECT_EQ(slot.lines[0].Tipo, kInnerLine);
}

TEST_F(LineDivisionTest, InstrumentsOutsideOneToFifteenGetNoLine) {
  c_major_from_bar_one();
  add_note(0, 1, 0, kQuarter, 60);
  add_note(16, 1, 0, kQuarter, 64);
  add_note(3, 1, 0, kQuarter, 67);
  const UnitSlot& slot = divide();
  ASSERT_EQ(line_count(slot), 1);
  EXPECT_EQ(slot.lines[0].Ins, 3);
}

TEST_F(LineDivisionTest, MoreThanTwoHundredLinesAborts) {
  c_major_from_bar_one();
  // 15 instruments, each a chord of 14 notes a fourth apart: 210 lines.
  for (int32_t inst = 1; inst <= 15; ++inst) {
    for (int32_t k = 0; k < 14; ++k) add_note(inst, 1, 0, kQuarter, 20 + 5 * k);
  }
  EXPECT_THROW(divide(), console::JobEnded);
  EXPECT_NE(console_text().find("needs more than 200 lines"), std::string::npos);
}

TEST_F(LineDivisionTest, ExactlyTwoHundredLinesFit) {
  c_major_from_bar_one();
  for (int32_t inst = 1; inst <= 10; ++inst) {
    for (int32_t k = 0; k < 20; ++k) add_note(inst, 1, 0, kQuarter, 20 + 5 * k);
  }
  const UnitSlot& slot = divide();
  EXPECT_EQ(line_count(slot), 200);
}

}  // namespace
}  // namespace zelvo::engine
