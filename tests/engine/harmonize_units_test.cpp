#include "engine/harmonize_units.h"

#include <string>
#include <vector>

#include "engine_fixture.h"

namespace zelvo::engine {
namespace {

using testing_support::EngineTest;
using testing_support::kQuarter;

constexpr const char* kAbortTail = "\n\nERROR: ABORTING COMPILATION\n\n\n\n\n";

// Records the listing calls and the chosen candidates of every finished unit.
class RecordingListener : public DebugListener {
 public:
  std::vector<std::string> calls;
  std::vector<int32_t> arn;
  void list_paths(EngineState&, int32_t s, int32_t l, int32_t searched) override {
    calls.push_back("paths " + std::to_string(s) + " " + std::to_string(l) + " " +
                    std::to_string(searched));
  }
  void list_candidates(EngineState&, int32_t s, int32_t l) override {
    calls.push_back("candidates " + std::to_string(s) + " " + std::to_string(l));
  }
  void list_link(EngineState&, int32_t s, int32_t l) override {
    calls.push_back("link " + std::to_string(s) + " " + std::to_string(l));
  }
  void list_units(EngineState& state) override {
    calls.push_back("units");
    const UnitSlot& slot = unit_slot(state, 0);
    for (int32_t l = 0; l < kMaxLines && slot.lines[l].Ins != -1; ++l) arn.push_back(slot.lines[l].Arn);
  }
  void list_all_lines(EngineState&) override { calls.push_back("all"); }
};

class HarmonizeUnitsTest : public EngineTest {
 protected:
  void SetUp() override {
    c_major_from_bar_one();
    settings_.BassIns = kNoInstrument;
  }
  int32_t run(DebugListener* listener = nullptr) {
    return harmonize_units(st(), settings_, console_, listener);
  }
  int32_t pitch(int32_t i) { return st().music.notes[i].Note; }
};

TEST_F(HarmonizeUnitsTest, OneUnitProgressAndResult) {
  settings_.OpeningInt = 0;
  set_chord(0, 1, 0, {60, 62, 64});
  add_note(1, 1, 0, kQuarter, 60);
  add_note(1, 1, kQuarter, kQuarter, 62);
  add_note(1, 1, 2 * kQuarter, kQuarter, 64, kTieContinues);
  EXPECT_EQ(run(), 3);
  EXPECT_EQ(console_text(), "\n** Harmonizing bar 1 sixteenth 0");
  EXPECT_EQ(st().music.note_count, 3);
  const MusicNote& last = st().music.notes[2];
  EXPECT_EQ(last.Inst, 1);
  EXPECT_EQ(last.Ckin, 2 * kQuarter);
  EXPECT_EQ(last.Dur, kQuarter);
  EXPECT_EQ(last.Note, 64);
  EXPECT_EQ(last.Vel, 100);
  EXPECT_EQ(last.tie_flags, kTieContinues);
}

TEST_F(HarmonizeUnitsTest, ShowLineInfoPrintsLinesAndSummaries) {
  settings_.OpeningInt = 0;
  settings_.ShowLineInfo = 1;
  set_chord(0, 1, 0, {60, 62, 64});
  add_note(1, 1, 0, kQuarter, 60);
  add_note(1, 1, kQuarter, kQuarter, 62);
  add_note(1, 1, 2 * kQuarter, kQuarter, 64);
  run();
  EXPECT_EQ(console_text(),
            "\n\n** Harmonizing bar 1 sixteenth 0\n"
            "\n\tInstrument 1 line number 0"
            "\n\t\tc4\td4\te4\t"
            "\n\t\tc4\td4\te4\t"
            "\n\t\tre\tre\tre\t");
}

TEST_F(HarmonizeUnitsTest, SpanishProgressAndTruncatedSixteenth) {
  console_.set_language(console::kSpanish);
  add_note(1, 1, 300, kQuarter, 60);
  run();
  EXPECT_EQ(console_text(), "\n** Armonizando compas 1 semicorchea 1");
}

TEST_F(HarmonizeUnitsTest, LineWithoutCandidateAborts) {
  settings_.OpeningInt = 1;
  add_note(1, 1, 0, kQuarter, 62);
  EXPECT_THROW(run(), console::JobEnded);
  EXPECT_EQ(console_text(),
            std::string("\n** Harmonizing bar 1 sixteenth 0\nError: Impossible to harmonize!!") +
                kAbortTail);
  EXPECT_EQ(pitch(0), 62);  // nothing written
}

TEST_F(HarmonizeUnitsTest, InstrumentsOutsideLinesShortenTheResult) {
  settings_.OpeningInt = 0;
  add_note(0, 1, 0, kQuarter, 48);
  add_note(1, 1, 0, kQuarter, 60);
  add_note(16, 1, 0, kQuarter, 50);
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(st().music.note_count, 1);
  EXPECT_EQ(st().music.notes[0].Inst, 1);
  EXPECT_EQ(pitch(0), 60);
}

TEST_F(HarmonizeUnitsTest, ManyUnitsMoveThroughTheWindow) {
  settings_.OpeningInt = 0;
  const int32_t roots[] = {60, 65, 67, 60, 65, 67, 60};
  for (int32_t bar = 1; bar <= 7; ++bar) {
    const int32_t r = roots[bar - 1];
    set_chord(bar - 1, bar, 0, {r, r + 4, r + 7});
    add_note(1, bar, 0, 4 * kQuarter, r + 4);
  }
  EXPECT_EQ(run(), 7);
  for (int32_t bar = 1; bar <= 7; ++bar) {
    EXPECT_EQ(st().music.notes[bar - 1].Cpin, bar);
    EXPECT_EQ(pitch(bar - 1), roots[bar - 1] + 4);
  }
  std::string expected;
  for (int32_t bar = 1; bar <= 7; ++bar) {
    expected += "\n** Harmonizing bar " + std::to_string(bar) + " sixteenth 0";
  }
  EXPECT_EQ(console_text(), expected);
}

TEST_F(HarmonizeUnitsTest, LookAheadChoosesTheEndingThatLinksBest) {
  // Unit 1 (D4 given, C4 or E4 possible) links to unit 2's E4. Entering from
  // E4 keeps the contour (A = 2), from C4 a step becomes a leap (A = 7).
  settings_.OpeningInt = 2;
  set_chord(1, 2, 0, {60, 64, 67});
  add_note(1, 1, 0, 4 * kQuarter, 62);
  add_note(1, 2, 0, kQuarter, 64);
  settings_.OpeningInt = 2;
  for (auto& row : settings_.NonHarmTonesCoef) {
    for (float& w : row) w = 0.0f;
  }
  settings_.NonHarmTonesCoef[1][0] = 100.0f;
  run();
  EXPECT_EQ(pitch(0), 64);
  EXPECT_EQ(pitch(1), 64);
}

TEST_F(HarmonizeUnitsTest, AllZeroWeightsTakeTheFirstCandidate) {
  settings_.OpeningInt = 2;
  set_chord(1, 2, 0, {60, 64, 67});
  add_note(1, 1, 0, 4 * kQuarter, 62);
  add_note(1, 2, 0, kQuarter, 64);
  for (auto& row : settings_.NonHarmTonesCoef) {
    for (float& w : row) w = 0.0f;
  }
  settings_.Debug = 1;
  RecordingListener listener;
  run(&listener);
  EXPECT_EQ(listener.arn, (std::vector<int32_t>{0, 0}));
}

TEST_F(HarmonizeUnitsTest, EveryEndingImpossibleAheadFailsTheLine) {
  // Unit 1 ends on D4, possible only as a neighbour or passing tone
  // (OpeningInt 0); unit 2's G4 resolves neither, so the line fails although
  // it has candidates.
  settings_.OpeningInt = 0;
  for (int32_t& s : settings_.NonHarmTonesSort[1]) s = 1;
  set_chord(1, 2, 0, {60, 64, 67});
  add_note(1, 1, 2 * kQuarter, kQuarter, 60);
  add_note(1, 1, 3 * kQuarter, kQuarter, 62);
  add_note(1, 2, 0, kQuarter, 67);
  EXPECT_THROW(run(), console::JobEnded);
  EXPECT_EQ(console_text(),
            std::string("\n** Harmonizing bar 1 sixteenth 8\nError: Impossible to harmonize!!") +
                kAbortTail);
}

TEST_F(HarmonizeUnitsTest, NeighbourToneResolvedInTheNextUnit) {
  settings_.OpeningInt = 0;
  for (int32_t& s : settings_.NonHarmTonesSort[1]) s = 1;
  set_chord(1, 2, 0, {60, 64, 67});
  add_note(1, 1, 2 * kQuarter, kQuarter, 60);
  add_note(1, 1, 3 * kQuarter, kQuarter, 62);
  add_note(1, 2, 0, kQuarter, 60);
  EXPECT_EQ(run(), 3);
  EXPECT_EQ(pitch(1), 62);
}

TEST_F(HarmonizeUnitsTest, LinkLimitZeroWithNoLinkActWantsChordTonesLast) {
  settings_.OpeningInt = 0;
  settings_.LinkLimit = 0;
  for (int32_t& s : settings_.NonHarmTonesSort[1]) s = 1;
  set_chord(1, 2, 0, {60, 64, 67});
  add_note(1, 1, 2 * kQuarter, kQuarter, 60);
  add_note(1, 1, 3 * kQuarter, kQuarter, 62);
  add_note(1, 2, 0, kQuarter, 60);
  EXPECT_THROW(run(), console::JobEnded);
}

TEST_F(HarmonizeUnitsTest, LinkLimitZeroWithoutNoLinkActDropsTheEntryState) {
  // The neighbour tone may end unit 1, but unit 2 no longer sees it: its C4
  // is a chord tone without predecessor.
  settings_.OpeningInt = 0;
  settings_.LinkLimit = 0;
  settings_.NoLinkAct = 0;
  for (int32_t& s : settings_.NonHarmTonesSort[1]) s = 1;
  set_chord(1, 2, 0, {60, 64, 67});
  add_note(1, 1, 2 * kQuarter, kQuarter, 60);
  add_note(1, 1, 3 * kQuarter, kQuarter, 62);
  add_note(1, 2, 0, kQuarter, 64);
  EXPECT_EQ(run(), 3);
}

TEST_F(HarmonizeUnitsTest, DebugListenerCallsInOrder) {
  settings_.OpeningInt = 0;
  set_chord(1, 2, 0, {62, 65, 69});
  add_note(1, 1, 0, 4 * kQuarter, 60);
  add_note(1, 2, 0, kQuarter, 62);
  RecordingListener quiet;
  run(&quiet);
  EXPECT_TRUE(quiet.calls.empty());  // Debug 0

  settings_.Debug = 1;
  st().music.note_count = 0;
  add_note(1, 1, 0, 4 * kQuarter, 60);
  add_note(1, 2, 0, kQuarter, 62);
  RecordingListener listener;
  run(&listener);
  EXPECT_EQ(listener.calls,
            (std::vector<std::string>{"link 0 0", "link 1 0", "link 1 0", "units", "all",
                                      "link 0 0", "candidates 0 0", "units", "all"}));
}

TEST_F(HarmonizeUnitsTest, TracedLineListsItsPaths) {
  settings_.OpeningInt = 0;
  settings_.Debug = 1;
  set_chord(0, 2, 0, {60, 64, 67});
  set_scale(0, 2, 0, {60, 62, 64, 65, 67, 69, 71});
  add_note(1, 2, 0, kQuarter, 60);
  RecordingListener listener;
  run(&listener);
  EXPECT_EQ(listener.calls, (std::vector<std::string>{"paths 0 0 0", "link 0 0",
                                                      "candidates 0 0", "units", "all"}));
}

TEST_F(HarmonizeUnitsTest, UnusableClicksAbort) {
  settings_.time.clicks_semic = 0;
  add_note(1, 1, 0, kQuarter, 60);
  EXPECT_THROW(run(), console::JobEnded);
  EXPECT_NE(console_text().find("clicks per sixteenth (0)"), std::string::npos);
}

}  // namespace
}  // namespace zelvo::engine
