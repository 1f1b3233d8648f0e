#include "engine/subtree_summary.h"

#include <algorithm>
#include <limits>

#include "engine/tone_choices.h"

namespace zelvo::engine {

SubtreeSummary summarize_subtree(Engine& engine, int32_t s, int32_t l, int32_t i, int32_t q,
                                 int32_t leaf, const LinkState& previous, bool no_lookahead) {
  ChoiceMemo& memo = engine.state.choices;
  const int32_t key = choice_key(previous);
  if (key >= 0 && memo.summary_stamp[q][key] == memo.generation) return memo.summary[q][key];

  const Line& line = engine.slot(s).lines[l];
  const LineNote& note = line.notes[i];
  LinkState current{note.bar, note.click, note.duration, note.given_pitch, note.tie_flags, 0, 0};
  constexpr int32_t kNone = std::numeric_limits<int32_t>::max();
  SubtreeSummary summary{0, kNone, kNone, kNone, 0, 0};
  // The list may be a scratch one of position q: the deeper positions
  // asked below leave it alone.
  const ChoiceList choices = tone_choices(engine, s, l, i, q, previous, no_lookahead);
  for (int32_t c = 0; c < choices.count; ++c) {
    const PathTally step = unpack_tally(choices.steps[c]);
    SubtreeSummary rest{1, 0, 0, 0, 0, 0};
    if (i < leaf) {
      current.chosen_pitch = choices.notes[c].pitch;
      current.tone_type = choices.notes[c].type;
      rest = summarize_subtree(engine, s, l, i + 1, q + 1, leaf, current, no_lookahead);
      if (rest.paths == 0) continue;
    }
    summary.paths += rest.paths;
    summary.distance = std::min(summary.distance, step.distance + rest.distance);
    summary.direction = std::min(summary.direction, step.direction + rest.direction);
    summary.shape = std::min(summary.shape, step.shape + rest.shape);
    summary.off_top = std::max(summary.off_top, step.off_top + rest.off_top);
    summary.outer = std::max(summary.outer, step.outer + rest.outer);
  }
  if (key >= 0) {
    memo.summary_stamp[q][key] = memo.generation;
    memo.summary[q][key] = summary;
  }
  return summary;
}

double least_cost(const CostSetting& setting, const PathNote* path, int32_t count,
                  const PathTally& prefix, const SubtreeSummary& rest) {
  PathTally least;
  least.distance = prefix.distance + rest.distance;
  least.direction = prefix.direction + rest.direction;
  least.shape = prefix.shape + rest.shape;
  least.off_top = prefix.off_top + rest.off_top;
  least.outer = prefix.outer + rest.outer;
  return path_cost(setting, path, count, least);
}

}  // namespace zelvo::engine
