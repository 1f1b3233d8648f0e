#include "engine/tone_choices.h"

#include <cstring>

#include "engine/path_cost.h"
#include "engine/tone_rules.h"

namespace zelvo::engine {

int32_t choice_key(const LinkState& previous) {
  if (previous.bar == -1) return ChoiceMemo::kKeys - 1;
  const int32_t pitch = previous.chosen_pitch;
  if (pitch < 0 || pitch >= ChoiceMemo::kPitches) return -1;
  int32_t type = previous.tone_type;
  if (type == kRe) {
    type = kNonHarmonicTypes;
  } else if (type < 0 || type >= kNonHarmonicTypes) {
    return -1;
  }
  return type * ChoiceMemo::kPitches + pitch;
}

namespace {

// Fills `out` (room for kMaxChoices) with the choices and `steps` with
// what they add to a tally; returns their count.
int32_t work_out_choices(const Engine& engine, int32_t s, int32_t l, int32_t i,
                         const LinkState& previous, bool no_lookahead, PathNote* out,
                         uint64_t* steps) {
  const Line& line = unit_slot(engine.state, s).lines[l];
  const LineNote& note = line.notes[i];
  const LinkState current{note.bar, note.click, note.duration, note.given_pitch, note.tie_flags,
                          0,        0};
  const int32_t* row = engine.settings.NonHarmTonesSort[profile_row(engine, line)];
  const bool last = i == line.Tmno - 1;

  int64_t lowest = -int64_t{engine.settings.OpeningInt};
  int64_t highest = engine.settings.OpeningInt;
  if (previous.bar == -1 || previous.tone_type == kRe) {
    if (line.Tipo == kBassLine) lowest = -12;
    if (line.Tipo == kMelodyLine) highest = 6;
  }
  // Every rule refuses a pitch outside 0-127: offsets beyond are not tried.
  if (lowest < -int64_t{note.given_pitch}) lowest = -int64_t{note.given_pitch};
  if (highest > 127 - int64_t{note.given_pitch}) highest = 127 - int64_t{note.given_pitch};

  const ToneRules rules(engine, s, previous, current, row);
  int32_t count = 0;
  for (int64_t o = lowest; o <= highest; ++o) {
    const int32_t pitch = static_cast<int32_t>(note.given_pitch + o);
    const uint32_t accepted = rules.accepted_types(pitch);
    if (accepted == 0) continue;
    for (const int32_t type : kRuleOrder) {
      if ((accepted & ToneRules::type_bit(type)) == 0) continue;
      if (no_lookahead && last && type != kRe) continue;
      if (last && (type == kAs || type == kAi)) continue;
      out[count++] = PathNote{static_cast<int8_t>(pitch), static_cast<int8_t>(type)};
    }
  }
  const CostSetting setting = cost_setting(engine, s, l);
  for (int32_t c = 0; c < count; ++c) steps[c] = tally_step(setting, i, previous.chosen_pitch, out[c]);
  return count;
}

}  // namespace

void new_choice_stage(EngineState& state) {
  ChoiceMemo& memo = state.choices;
  if (++memo.generation == 0) {
    std::memset(memo.stamp, 0, sizeof(memo.stamp));
    std::memset(memo.summary_stamp, 0, sizeof(memo.summary_stamp));
    memo.generation = 1;
  }
  for (int32_t& used : memo.used) used = 0;
}

ChoiceList tone_choices(Engine& engine, int32_t s, int32_t l, int32_t i, int32_t q,
                        const LinkState& previous, bool no_lookahead) {
  ChoiceMemo& memo = engine.state.choices;
  const int32_t key = choice_key(previous);
  if (key >= 0 && memo.stamp[q][key] == memo.generation) {
    const int32_t begin = memo.begin[q][key];
    return ChoiceList{memo.notes[q] + begin, memo.steps[q] + begin, memo.count[q][key]};
  }
  PathNote* scratch = memo.scratch[q];
  uint64_t* scratch_steps = memo.scratch_steps[q];
  const int32_t count =
      work_out_choices(engine, s, l, i, previous, no_lookahead, scratch, scratch_steps);
  if (key < 0 || memo.used[q] + count > ChoiceMemo::kRoom) {
    return ChoiceList{scratch, scratch_steps, count};
  }
  PathNote* kept = memo.notes[q] + memo.used[q];
  uint64_t* kept_steps = memo.steps[q] + memo.used[q];
  std::memcpy(kept, scratch, sizeof(PathNote) * static_cast<size_t>(count));
  std::memcpy(kept_steps, scratch_steps, sizeof(uint64_t) * static_cast<size_t>(count));
  memo.stamp[q][key] = memo.generation;
  memo.begin[q][key] = memo.used[q];
  memo.count[q][key] = count;
  memo.used[q] += count;
  return ChoiceList{kept, kept_steps, count};
}

}  // namespace zelvo::engine
