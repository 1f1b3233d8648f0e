// The summary of a subtree of the path search against its paths walked one
// by one: their number, the least and most each count of the tally takes
// over them, and a cost bound none of them goes below.
#include <algorithm>
#include <limits>
#include <random>

#include "engine/form_unit.h"
#include "engine/line_division.h"
#include "engine/path_cost.h"
#include "engine/subtree_summary.h"
#include "engine/tone_choices.h"
#include "engine_fixture.h"

namespace zelvo::engine {
namespace {

using testing_support::EngineTest;
using testing_support::kQuarter;

struct Walked {
  int64_t paths = 0;
  SubtreeSummary extremes{0, 1 << 30, 1 << 30, 1 << 30, -1, -1};
  double cheapest = std::numeric_limits<double>::infinity();
};

// Every path from note i to `leaf` after path[i - 1], as the search scores it.
void walk(Engine& e, const CostSetting& setting, PathNote* path, int32_t i, int32_t stage_end,
          int32_t leaf, const PathTally& before, const PathTally& added, Walked& out) {
  const Line& line = *setting.line;
  const LineNote& p = line.notes[i - 1];
  const LinkState previous{p.bar, p.click, p.duration, p.given_pitch, p.tie_flags,
                           path[i - 1].pitch, path[i - 1].type};
  const ChoiceList choices = tone_choices(e, 0, 0, i, i - (stage_end - (kStageNotes - 1)), previous, false);
  // The list is copied: walking deeper may ask for the same position again.
  const std::vector<PathNote> notes(choices.notes, choices.notes + choices.count);
  const std::vector<uint64_t> steps(choices.steps, choices.steps + choices.count);
  for (size_t c = 0; c < notes.size(); ++c) {
    path[i] = notes[c];
    PathTally sum = unpack_tally(pack_tally(added) + steps[c]);
    if (i < leaf) {
      walk(e, setting, path, i + 1, stage_end, leaf, before, sum, out);
      continue;
    }
    ++out.paths;
    SubtreeSummary& x = out.extremes;
    x.distance = std::min(x.distance, sum.distance);
    x.direction = std::min(x.direction, sum.direction);
    x.shape = std::min(x.shape, sum.shape);
    x.off_top = std::max(x.off_top, sum.off_top);
    x.outer = std::max(x.outer, sum.outer);
    const PathTally whole = unpack_tally(pack_tally(before) + pack_tally(sum));
    out.cheapest = std::min(out.cheapest, path_cost(setting, path, leaf + 1, whole));
  }
}

// Bass, melody and inner lines of ten notes under random weights, openings
// and tone types, from random paths into every position of both stages.
TEST_F(EngineTest, SubtreeSummaryIsItsPathsWalkedOneByOne) {
  std::mt19937 rng(17);
  const float weights[] = {0.0f, 1.0f, 10.0f, 37.5f, 100.0f, 3.0e38f};
  for (int32_t round = 0; round < 24; ++round) {
    state_ = std::make_unique<EngineState>();
    c_major_from_bar_one();
    const int32_t kind = round % 3;
    settings_.MelIns = kind == 0 ? kAnyInstrument : kNoInstrument;
    settings_.BassIns = kind == 1 ? kAnyInstrument : kNoInstrument;
    settings_.OpeningInt = 2 + round % 4;
    settings_.HarmUnitNoteLimit = 20;
    for (int32_t row = 0; row < kProfileRows; ++row) {
      for (int32_t& on : settings_.NonHarmTonesSort[row]) on = rng() % 3 != 0;
      for (float& w : settings_.NonHarmTonesCoef[row]) w = weights[rng() % 6];
    }
    // Steps of at most two semitones keep the notes one line.
    for (int32_t k = 0, pitch = 60; k < 10; ++k, pitch += static_cast<int32_t>(rng() % 5) - 2) {
      add_note(1, 1 + k / 4, (k % 4) * kQuarter, kQuarter, pitch);
    }
    Engine& e = engine();
    form_unit(e, 0, 0);
    divide_lines(e, 0);
    mark_outer_lines(e, 0);
    rank_outer_notes(e, 0, 0);
    const CostSetting setting = cost_setting(e, 0, 0);
    const Line& line = *setting.line;
    ASSERT_EQ(line.Tmno, 10);
    for (int32_t i = 1; i < line.Tmno; ++i) {
      const int32_t stage_end = std::min((i / kStageNotes) * kStageNotes + kStageNotes - 1, 31);
      const int32_t leaf = std::min(stage_end, line.Tmno - 1);
      new_choice_stage(st());
      for (int32_t from = 0; from < 6; ++from) {
        PathNote path[kMaxLineNotes] = {};
        PathTally before;
        for (int32_t k = 0; k < i; ++k) {
          const auto pitch = static_cast<int8_t>(line.notes[k].given_pitch + rng() % 5 - 2);
          const auto type = from % 2 == 0 ? int32_t{kRe} : static_cast<int32_t>(rng() % kNonHarmonicTypes);
          path[k] = PathNote{pitch, static_cast<int8_t>(type)};
          tally_note(before, line, path, k, setting.top);
          count_outer(before, setting, k, path[k].pitch);
        }
        Walked walked;
        walk(e, setting, path, i, stage_end, leaf, before, PathTally{}, walked);
        const LineNote& p = line.notes[i - 1];
        const LinkState previous{p.bar, p.click, p.duration, p.given_pitch, p.tie_flags,
                                 path[i - 1].pitch, path[i - 1].type};
        // Asked twice: the second answer is the remembered one.
        for (int32_t ask = 0; ask < 2; ++ask) {
          const SubtreeSummary s = summarize_subtree(e, 0, 0, i, i - (stage_end - (kStageNotes - 1)),
                                                     leaf, previous, false);
          SCOPED_TRACE(testing::Message() << "round " << round << " note " << i << " from " << from);
          ASSERT_EQ(s.paths, walked.paths);
          if (s.paths == 0) continue;
          EXPECT_EQ(s.distance, walked.extremes.distance);
          EXPECT_EQ(s.direction, walked.extremes.direction);
          EXPECT_EQ(s.shape, walked.extremes.shape);
          EXPECT_EQ(s.off_top, walked.extremes.off_top);
          EXPECT_EQ(s.outer, walked.extremes.outer);
          EXPECT_LE(least_cost(setting, path, leaf + 1, before, s), walked.cheapest);
        }
      }
    }
  }
}

}  // namespace
}  // namespace zelvo::engine
