#include "engine/path_search.h"

#include "engine/form_unit.h"
#include "engine/line_division.h"
#include "engine/line_search.h"
#include "engine_fixture.h"

namespace zelvo::engine {
namespace {

using testing_support::EngineTest;
using testing_support::kQuarter;

class PathSearchTest : public EngineTest {
 protected:
  void SetUp() override { c_major_from_bar_one(); }
  // One unit in slot 0, divided; returns the engine.
  Engine& prepare() {
    Engine& e = engine();
    form_unit(e, 0, 0);
    divide_lines(e, 0);
    mark_outer_lines(e, 0);
    return e;
  }
  int32_t scored() {
    int32_t n = 0;
    for (const PoolEntry& entry : st().pool.entries) n += entry.cost >= 0.0 ? 1 : 0;
    return n;
  }
  void quarters(std::initializer_list<int32_t> pitches, int32_t inst = 1) {
    int32_t k = 0;
    for (int32_t p : pitches) {
      add_note(inst, 1 + k / 4, (k % 4) * kQuarter, kQuarter, p);
      ++k;
    }
  }
  void set_path(int32_t entry, std::initializer_list<int32_t> pitches, int32_t last_type,
                double cost) {
    PoolEntry& e = st().pool.entries[entry];
    int32_t k = 0;
    for (int32_t p : pitches) e.notes[k++] = PathNote{static_cast<int8_t>(p), kRe};
    e.notes[k - 1].type = static_cast<int8_t>(last_type);
    e.cost = cost;
  }
  void free_pool() {
    for (PoolEntry& entry : st().pool.entries) entry.cost = kFreeEntry;
    st().pool.scored_count = 0;
    st().pool.worst_position = -1;
  }
};

TEST_F(PathSearchTest, OneNoteLineWithoutLookAheadTakesOnlyChordTones) {
  settings_.BassIns = kNoInstrument;
  for (int32_t& s : settings_.NonHarmTonesSort[1]) s = 1;
  quarters({62});
  Engine& e = prepare();
  ASSERT_TRUE(build_candidates(e, 0, 0, true));
  // Offsets -4..+4 around D4: C4 and E4 are chord tones (B3, F4 are scale tones only).
  EXPECT_EQ(scored(), 2);
  for (const PoolEntry& entry : st().pool.entries) {
    if (entry.cost >= 0.0) {
      EXPECT_EQ(entry.notes[0].type, kRe);
    }
  }
  EXPECT_EQ(st().pool.process_count, 2);
}

TEST_F(PathSearchTest, OneNoteLineFailsWithoutAChordToneInReach) {
  settings_.BassIns = kNoInstrument;
  settings_.OpeningInt = 1;
  quarters({62});
  EXPECT_FALSE(build_candidates(prepare(), 0, 0, true));
}

TEST_F(PathSearchTest, AccentedTonesAreNeverLast) {
  settings_.BassIns = kNoInstrument;
  settings_.OpeningInt = 0;
  for (int32_t& s : settings_.NonHarmTonesSort[1]) s = 1;
  quarters({62});
  // With look-ahead the last note may be non-harmonic, but D4 could only be as/ai.
  EXPECT_FALSE(build_candidates(prepare(), 0, 0, false));
}

TEST_F(PathSearchTest, FiveNotesSearchedInTwoStages) {
  settings_.BassIns = kNoInstrument;
  settings_.OpeningInt = 0;
  set_chord(0, 1, 0, {60, 62, 64, 65, 67});
  quarters({60, 62, 64, 62, 60});
  Engine& e = prepare();
  ASSERT_TRUE(build_candidates(e, 0, 0, true));
  // One path per stage: the first stage scores four notes, the second the fifth.
  EXPECT_EQ(st().pool.process_count, 2);
  ASSERT_EQ(scored(), 1);
  const PoolEntry& best = st().pool.entries[kPoolSize - 1];
  EXPECT_EQ(best.cost, 0.0);
  EXPECT_EQ(best.notes[4].pitch, 60);
  EXPECT_EQ(best.notes[3].pitch, 62);
  EXPECT_EQ(unit_slot(st(), 0).lines[0].Tmno, 5);
}

TEST_F(PathSearchTest, BassLineReachesAnOctaveBelowAtItsStart) {
  settings_.OpeningInt = 0;
  quarters({60});
  Engine& e = prepare();
  ASSERT_EQ(unit_slot(st(), 0).lines[0].Tipo, kBassLine);
  ASSERT_TRUE(build_candidates(e, 0, 0, true));
  // Offsets -12..0: C3, E3, G3 and C4.
  EXPECT_EQ(scored(), 4);
}

TEST_F(PathSearchTest, MelodyLineRisesUpToSixAfterAChordTone) {
  settings_.BassIns = kNoInstrument;
  settings_.MelIns = kAnyInstrument;
  settings_.OpeningInt = 0;
  quarters({60});
  ASSERT_TRUE(build_candidates(prepare(), 0, 0, true));
  EXPECT_EQ(scored(), 2);  // C4 and E4 (G4 lies 7 above)
}

TEST_F(PathSearchTest, OpeningIntZeroKeepsTheGivenPitches) {
  settings_.BassIns = kNoInstrument;
  settings_.OpeningInt = 0;
  quarters({60, 64, 67});
  ASSERT_TRUE(build_candidates(prepare(), 0, 0, true));
  EXPECT_EQ(scored(), 1);
}

TEST_F(PathSearchTest, HugeOpeningIntTriesEveryMidiPitchOnce) {
  settings_.BassIns = kNoInstrument;
  settings_.OpeningInt = 2147483647;
  quarters({60});
  ASSERT_TRUE(build_candidates(prepare(), 0, 0, true));
  EXPECT_EQ(scored(), 33);  // C, E and G in each of eleven octaves, 0 to 127
}

TEST_F(PathSearchTest, TakePoolEntryCopiesIntoTheFirstFreeEntry) {
  Engine& e = engine();
  free_pool();
  set_path(7, {60, 62}, kRe, kEntryInUse);
  st().pool.entries[0].cost = 0.5;
  EXPECT_EQ(take_pool_entry(e, 7), 1);
  EXPECT_EQ(st().pool.entries[1].cost, kEntryInUse);
  EXPECT_EQ(st().pool.entries[1].notes[1].pitch, 62);
  for (PoolEntry& entry : st().pool.entries) entry.cost = 0.0;
  EXPECT_EQ(take_pool_entry(e, 7), -1);
}

TEST_F(PathSearchTest, SamePathComparesPitchesAndTheLastType) {
  Engine& e = engine();
  set_path(0, {60, 62}, kRe, 0.0);
  set_path(1, {60, 62}, kRe, 0.0);
  st().pool.entries[1].notes[0].type = kAs;  // an earlier type does not count
  EXPECT_TRUE(same_path(e, 0, 1, 2));
  st().pool.entries[1].notes[1].type = kPa;
  EXPECT_FALSE(same_path(e, 0, 1, 2));
  EXPECT_TRUE(same_path(e, 0, 1, 1) == (st().pool.entries[0].notes[0].type == kAs));
}

TEST_F(PathSearchTest, InsertScoredKeepsTheFirstOfEqualPaths) {
  Engine& e = engine();
  free_pool();
  set_path(0, {60}, kRe, kEntryInUse);
  insert_scored(e, 0, 0.7, 1);
  EXPECT_EQ(st().pool.entries[0].cost, 0.7);
  set_path(1, {60}, kRe, kEntryInUse);
  insert_scored(e, 1, 0.1, 1);
  EXPECT_EQ(st().pool.entries[1].cost, kFreeEntry);
  EXPECT_EQ(st().pool.entries[0].cost, 0.7);
  EXPECT_EQ(st().pool.scored_count, 1);
}

TEST_F(PathSearchTest, InsertScoredReplacesTheCostliestWhenFull) {
  Engine& e = engine();
  free_pool();
  for (int32_t k = 0; k < kMaxScored; ++k) {
    set_path(k, {k % 100, k / 100}, kRe, kEntryInUse);
    insert_scored(e, k, k == 10 || k == 20 ? 5.0 : 1.0, 2);
  }
  ASSERT_EQ(st().pool.scored_count, kMaxScored);
  set_path(200, {101, 0}, kRe, kEntryInUse);
  insert_scored(e, 200, 5.0, 2);  // not lower: dropped
  EXPECT_EQ(st().pool.entries[200].cost, kFreeEntry);
  EXPECT_EQ(st().pool.entries[10].cost, 5.0);
  set_path(201, {102, 0}, kRe, kEntryInUse);
  st().pool.entries[201].serial = 77;
  insert_scored(e, 201, 2.0, 2);  // replaces the first of the two costliest
  EXPECT_EQ(st().pool.entries[201].cost, kFreeEntry);
  EXPECT_EQ(st().pool.entries[10].cost, 2.0);
  EXPECT_EQ(st().pool.entries[10].notes[0].pitch, 102);
  EXPECT_EQ(st().pool.entries[10].serial, 77);
  EXPECT_EQ(st().pool.entries[20].cost, 5.0);
}

TEST_F(PathSearchTest, SortPoolPutsNegativeCostsFirst) {
  Engine& e = engine();
  free_pool();
  set_path(3, {60}, kRe, 0.3);
  set_path(9, {62}, kRe, 0.1);
  set_path(4, {64}, kRe, kEntryInUse);
  sort_pool(e);
  EXPECT_EQ(st().pool.entries[0].cost, kEntryInUse);
  EXPECT_EQ(st().pool.entries[kPoolSize - 2].notes[0].pitch, 62);
  EXPECT_EQ(st().pool.entries[kPoolSize - 1].notes[0].pitch, 60);
}

TEST_F(PathSearchTest, SelectCandidatesGroupsByEndingCheapestFirst) {
  quarters({60, 64});
  Engine& e = prepare();
  free_pool();
  // Paths told apart by their first pitch.
  set_path(0, {50, 64}, kRe, 0.1);
  set_path(1, {51, 60}, kRe, 0.2);
  set_path(2, {52, 64}, kPa, 0.3);
  set_path(3, {53, 64}, kRe, 0.3);
  set_path(4, {54, 60}, kRe, 0.2);
  select_candidates(e, 0, 0);
  const Candidate* list = unit_slot(st(), 0).candidates[0];
  const int32_t expected[] = {50, 53, 52, 54, 51};  // equal costs: the later first
  for (int32_t k = 0; k < 5; ++k) EXPECT_EQ(list[k].notes[0].pitch, expected[k]) << k;
  EXPECT_EQ(list[5].notes[0].pitch, -1);
  EXPECT_FLOAT_EQ(list[0].cost, 0.1f);
  EXPECT_FLOAT_EQ(list[1].cost, 0.3f);
}

}  // namespace
}  // namespace zelvo::engine
