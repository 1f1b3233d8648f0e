#include "engine/form_unit.h"

#include "engine/engine_messages.h"
#include "engine_fixture.h"

namespace zelvo::engine {
namespace {

using testing_support::EngineTest;
using testing_support::kQuarter;

class FormUnitTest : public EngineTest {};

TEST_F(FormUnitTest, OneChordAndScaleMakeOneUnit) {
  c_major_from_bar_one();
  for (int32_t k = 0; k < 8; ++k) add_note(1, 1 + k / 4, (k % 4) * kQuarter, kQuarter, 60);
  EXPECT_EQ(form_unit(engine(), 0, 0), 7);
  const UnitSlot& slot = unit_slot(st(), 0);
  EXPECT_EQ(slot.first_note, 0);
  EXPECT_EQ(slot.chord_index, 0);
  EXPECT_EQ(slot.scale_index, 0);
}

TEST_F(FormUnitTest, ChordChangeEndsTheUnit) {
  c_major_from_bar_one();
  set_chord(1, 2, 0, {65, 69, 72});
  for (int32_t k = 0; k < 8; ++k) add_note(1, 1 + k / 4, (k % 4) * kQuarter, kQuarter, 60);
  EXPECT_EQ(form_unit(engine(), 0, 0), 3);
  EXPECT_EQ(form_unit(engine(), 1, 4), 7);
  EXPECT_EQ(unit_slot(st(), 1).chord_index, 1);
  EXPECT_EQ(unit_slot(st(), 1).scale_index, 0);
}

TEST_F(FormUnitTest, EarlierScaleChangeWinsOverLaterChordChange) {
  c_major_from_bar_one();
  set_chord(1, 2, 0, {65, 69, 72});
  set_scale(1, 1, 2 * kQuarter, {62, 64, 66, 67, 69, 71, 73});
  for (int32_t k = 0; k < 8; ++k) add_note(1, 1 + k / 4, (k % 4) * kQuarter, kQuarter, 60);
  EXPECT_EQ(form_unit(engine(), 0, 0), 1);
  // The unit that begins at the scale change ends at the chord change.
  EXPECT_EQ(form_unit(engine(), 1, 2), 3);
  EXPECT_EQ(unit_slot(st(), 1).chord_index, 0);
  EXPECT_EQ(unit_slot(st(), 1).scale_index, 1);
}

TEST_F(FormUnitTest, NoteLimitThreeEndsAfterTheSecondNote) {
  c_major_from_bar_one();
  settings_.HarmUnitNoteLimit = 3;
  for (int32_t k = 0; k < 4; ++k) add_note(1, 1, k * kQuarter, kQuarter, 60);
  EXPECT_EQ(form_unit(engine(), 0, 0), 1);
}

TEST_F(FormUnitTest, NoteLimitCutNeverSeparatesSimultaneousNotes) {
  c_major_from_bar_one();
  settings_.HarmUnitNoteLimit = 3;
  add_note(1, 1, 0, kQuarter, 60);
  add_note(1, 1, kQuarter, kQuarter, 62);
  add_note(1, 1, kQuarter, kQuarter, 64);
  add_note(1, 1, 2 * kQuarter, kQuarter, 65);
  EXPECT_EQ(form_unit(engine(), 0, 0), 0);
}

TEST_F(FormUnitTest, OtherInstrumentsCountSeparately) {
  c_major_from_bar_one();
  settings_.HarmUnitNoteLimit = 3;
  add_note(1, 1, 0, kQuarter, 60);
  add_note(2, 1, 0, kQuarter, 48);
  add_note(1, 1, kQuarter, kQuarter, 62);
  add_note(2, 1, kQuarter, kQuarter, 50);
  add_note(20, 1, 2 * kQuarter, kQuarter, 50);  // not counted
  add_note(20, 1, 2 * kQuarter, kQuarter, 50);
  add_note(20, 1, 2 * kQuarter, kQuarter, 50);
  EXPECT_EQ(form_unit(engine(), 0, 0), 6);
}

TEST_F(FormUnitTest, GroupLargerThanTheLimitEndsBeforeTheReachingNote) {
  c_major_from_bar_one();
  settings_.HarmUnitNoteLimit = 3;
  for (int32_t k = 0; k < 5; ++k) add_note(1, 1, 0, kQuarter, 60 + k);
  EXPECT_EQ(form_unit(engine(), 0, 0), 1);
}

TEST_F(FormUnitTest, LimitOfOneStillTakesTheFirstNote) {
  c_major_from_bar_one();
  settings_.HarmUnitNoteLimit = 1;
  add_note(1, 1, 0, kQuarter, 60);
  add_note(1, 1, kQuarter, kQuarter, 62);
  EXPECT_EQ(form_unit(engine(), 0, 0), 0);
  EXPECT_EQ(form_unit(engine(), 0, 1), 1);
}

TEST_F(FormUnitTest, HundredNotesOfOneInstrumentOverflowWhateverTheLimit) {
  c_major_from_bar_one();
  settings_.HarmUnitNoteLimit = 1000;
  for (int32_t k = 0; k < 120; ++k) add_note(1, 1 + k / 16, (k % 16) * 256, 256, 60);
  EXPECT_EQ(form_unit(engine(), 0, 0), 98);
}

TEST_F(FormUnitTest, ClearsTheSlot) {
  c_major_from_bar_one();
  add_note(1, 1, 0, kQuarter, 60);
  UnitSlot& slot = unit_slot(st(), 0);
  slot.lines[5].Ins = 3;
  slot.lines[5].Yarm = 1;
  slot.candidates[5][0].notes[0].pitch = 60;
  form_unit(engine(), 0, 0);
  EXPECT_EQ(slot.lines[5].Ins, -1);
  EXPECT_EQ(slot.lines[5].Lp, -1);
  EXPECT_EQ(slot.lines[5].Lh, -1);
  EXPECT_EQ(slot.lines[5].Arn, -1);
  EXPECT_EQ(slot.lines[5].Yarm, 0);
  EXPECT_EQ(slot.lines[5].npadre.bar, -1);
  EXPECT_EQ(slot.candidates[5][0].notes[0].pitch, -1);
}

TEST_F(FormUnitTest, MusicBeforeTheFirstChordAborts) {
  set_chord(0, 2, 0, {60, 64, 67});
  set_scale(0, 1, 0, {60, 62, 64, 65, 67, 69, 71});
  add_note(1, 1, 0, kQuarter, 60);
  EXPECT_THROW(form_unit(engine(), 0, 0), console::JobEnded);
  EXPECT_NE(console_text().find("the music begins before the first chord or scale"),
            std::string::npos);
}

TEST_F(FormUnitTest, EmptyScaleTableAborts) {
  set_chord(0, 1, 0, {60, 64, 67});
  add_note(1, 1, 0, kQuarter, 60);
  EXPECT_THROW(form_unit(engine(), 0, 0), console::JobEnded);
}

TEST_F(FormUnitTest, EntryInForceStopsAtTheEndMarker) {
  c_major_from_bar_one();
  set_chord(1, 3, 0, {65, 69, 72});
  Engine& e = engine();
  EXPECT_EQ(entry_in_force(e, st().chords, e.time_of(2, 0)), 0);
  EXPECT_EQ(entry_in_force(e, st().chords, e.time_of(3, 0)), 1);
  EXPECT_EQ(entry_in_force(e, st().chords, e.time_of(9, 0)), 1);
  EXPECT_EQ(entry_in_force(e, st().chords, e.time_of(0, 5)), -1);
}

}  // namespace
}  // namespace zelvo::engine
