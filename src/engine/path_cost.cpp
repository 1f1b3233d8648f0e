#include "engine/path_cost.h"

#include <cmath>
#include <cstdlib>

#include "engine/tone_rules.h"

namespace zelvo::engine {

int32_t truncate_to_int(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return 2147483647;
  if (value <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int32_t>(value);
}

int32_t note_importance(const Engine& engine, int32_t bar, int32_t click, int32_t duration) {
  return truncate_to_int(4 * metric_weight(engine, bar, click) +
                         static_cast<double>(duration) / engine.clicks_per_sixteenth);
}

int32_t profile_row(const Engine& engine, const Line& line) {
  if (line.Tipo == kBassLine && engine.settings.BassIns == kAnyInstrument) return kBassRow;
  if (line.Tipo == kMelodyLine && engine.settings.MelIns == kAnyInstrument) return kMelodyRow;
  if (line.Ins < 0 || line.Ins >= kProfileRows) return 0;
  return line.Ins;
}

void rank_outer_notes(Engine& engine, int32_t s, int32_t l) {
  Line& line = engine.slot(s).lines[l];
  if (line.Tipo != kBassLine && line.Tipo != kMelodyLine) return;
  const int32_t sign = line.Tipo == kBassLine ? -1 : 1;
  bool ranked[kMaxLineNotes] = {};
  int32_t importance[kMaxLineNotes];
  for (int32_t i = 0; i < line.Tmno; ++i) {
    importance[i] = note_importance(engine, line.notes[i].bar, line.notes[i].click,
                                    line.notes[i].duration);
  }
  for (int32_t r = 0; r < line.Tmno; ++r) {
    int32_t best = -1;
    for (int32_t i = 0; i < line.Tmno; ++i) {
      if (ranked[i]) continue;
      if (best < 0) {
        best = i;
        continue;
      }
      const int32_t pitch = sign * line.notes[i].given_pitch;
      const int32_t best_pitch = sign * line.notes[best].given_pitch;
      if (pitch > best_pitch || (pitch == best_pitch && importance[i] > importance[best])) {
        best = i;
      }
    }
    ranked[best] = true;
    line.ranking[r] = OuterRank{best, importance[best]};
  }
}

namespace {

// The pitch class of every value a path's pitch byte can hold, -128 to 127,
// looked up instead of divided: the cost asks for it a few times per path.
struct PitchClassTable {
  int8_t of[256];
  constexpr PitchClassTable() : of() {
    for (int32_t p = -128; p < 128; ++p) of[p + 128] = static_cast<int8_t>(((p % 12) + 12) % 12);
  }
};
constexpr PitchClassTable kClassOfPitch;
int32_t pitch_class(int8_t pitch) { return kClassOfPitch.of[pitch + 128]; }

// A product rounded to single precision before it is added: a compiler may
// fuse a multiply and an add on targets that have the instruction, which
// skips that rounding and can change which of two close paths is cheaper.
float single(float value) {
  volatile float kept = value;
  return kept;
}

// F' (bass) or the first part of G' (melody): the prominent notes of the
// line that sit on pitch class `target`.
int32_t outer_score(const Line& line, const PathNote* path, int32_t n, int32_t target,
                    int32_t first_points) {
  if (target < 0) return 0;
  const int32_t m = n < 3 ? n : 3;
  int32_t score = 0;
  const int32_t x0 = line.ranking[0].note_index;
  if (x0 < n && pitch_class(path[x0].pitch) == target) score += first_points;
  for (int32_t r = 1; r < m; ++r) {
    const int32_t x = line.ranking[r].note_index;
    if (x >= n || pitch_class(path[x].pitch) != target) continue;
    const int32_t divisor = line.ranking[r].importance + 1;
    score += (5 / m) * (1 - (divisor != 0 ? 1 / divisor : 0));
  }
  return score;
}

}  // namespace

namespace {

// Note k's own counts.
void count_note(PathTally& tally, int32_t given, int8_t chosen, int32_t top) {
  tally.distance += std::abs(static_cast<int32_t>(chosen) - given);
  if (pitch_class(chosen) != top) ++tally.off_top;
}

// The move into note k from note k - 1.
void count_move(PathTally& tally, int32_t given_before, int32_t given, int32_t chosen_before,
                int32_t chosen) {
  const int32_t move_c = chosen - chosen_before;
  const int32_t move_g = given - given_before;
  const bool c_repeats = move_c == 0;
  const bool g_repeats = move_g == 0;
  if (c_repeats != g_repeats) {
    ++tally.direction;
    ++tally.shape;
  } else if (!c_repeats) {
    if ((move_c < 0) != (move_g < 0)) ++tally.direction;
    if (step_class(chosen_before, chosen) != step_class(given_before, given)) ++tally.shape;
  }
}

}  // namespace

void tally_note(PathTally& tally, const Line& line, const PathNote* path, int32_t k,
                int32_t top) {
  count_note(tally, line.notes[k].given_pitch, path[k].pitch, top);
  if (k == 0) return;
  count_move(tally, line.notes[k - 1].given_pitch, line.notes[k].given_pitch, path[k - 1].pitch,
             path[k].pitch);
}

CostSetting cost_setting(const Engine& engine, int32_t s, int32_t l) {
  const UnitSlot& slot = engine.state.slots[engine.state.slot_map[s]];
  const Line& line = slot.lines[l];
  const HarmonyEntry& chord = engine.state.chords.entries[slot.chord_index];
  CostSetting setting{&line, engine.settings.NonHarmTonesCoef[profile_row(engine, line)],
                      marked_pitch_class(chord, 2), marked_pitch_class(chord, 4), -1, 0, {}, {}};
  if (line.Tipo != kBassLine && line.Tipo != kMelodyLine) return setting;
  setting.outer_class = line.Tipo == kBassLine ? setting.bass : setting.top;
  // outer_score's points, for paths of three notes or more (or all the
  // line's notes).
  const int32_t m = line.Tmno < 3 ? line.Tmno : 3;
  setting.outer_count = m;
  for (int32_t r = 0; r < m; ++r) {
    setting.outer_index[r] = line.ranking[r].note_index;
    if (r == 0) {
      setting.outer_points[r] = line.Tipo == kBassLine ? 10 : 5;
      continue;
    }
    const int64_t divisor = int64_t{line.ranking[r].importance} + 1;
    setting.outer_points[r] = (5 / m) * (1 - (divisor != 0 ? static_cast<int32_t>(1 / divisor) : 0));
  }
  return setting;
}

void count_outer(PathTally& tally, const CostSetting& setting, int32_t k, int8_t pitch) {
  if (setting.outer_class < 0) return;
  for (int32_t r = 0; r < setting.outer_count; ++r) {
    if (setting.outer_index[r] == k && pitch_class(pitch) == setting.outer_class) {
      tally.outer += setting.outer_points[r];
    }
  }
}

uint64_t tally_step(const CostSetting& setting, int32_t k, int32_t previous_pitch,
                    PathNote chosen) {
  const Line& line = *setting.line;
  PathTally tally;
  count_note(tally, line.notes[k].given_pitch, chosen.pitch, setting.top);
  if (k > 0) {
    count_move(tally, line.notes[k - 1].given_pitch, line.notes[k].given_pitch, previous_pitch,
               chosen.pitch);
  }
  count_outer(tally, setting, k, chosen.pitch);
  return pack_tally(tally);
}

double path_cost(const CostSetting& setting, const PathNote* path, int32_t n,
                 const PathTally& tally) {
  const Line& line = *setting.line;
  const float* w = setting.weights;
  const float count = static_cast<float>(n);
  auto given = [&](int32_t k) { return line.notes[k].given_pitch; };
  auto chosen = [&](int32_t k) { return static_cast<int32_t>(path[k].pitch); };

  float a = 0.0f;
  float b = 0.0f;
  if (line.Lp != -1) {
    const LinkState& e = line.npadre;
    const int32_t dg = e.given_pitch - given(0);
    const int32_t dc = e.chosen_pitch - chosen(0);
    a = static_cast<float>(std::abs(dg - dc));
    if ((dg < 0 && dc > 0) || (dg > 0 && dc < 0)) a += 15.0f;
    if (dg == 0 && dc != 0) a += 5.0f;
    if (std::abs(dg) < 3 && std::abs(dc) > 2) a += 5.0f;
    a = a / count;
    if (dg == 0 && (e.tie_flags & kTieContinues) != 0 &&
        (line.notes[0].tie_flags & kTieContinued) != 0 && dc != 0) {
      b = 10.0f;
    }
  }

  const float c = static_cast<float>(tally.distance) / count;
  const float d = static_cast<float>(tally.direction) / count * 15.0f;
  const float e_term = static_cast<float>(tally.shape) / count * 5.0f;

  float f = 0.0f;
  if (line.Tipo == kBassLine) f = 15.0f - static_cast<float>(tally.outer);
  float g = 0.0f;
  if (line.Tipo == kMelodyLine) {
    const float g_prime = static_cast<float>(tally.outer) +
                          single(static_cast<float>(tally.off_top) / count * 5.0f);
    g = 15.0f - g_prime;
  }

  float sum = single(b * w[1]);
  sum = sum + single(a * w[0]);
  sum = sum + single(c * w[2]);
  sum = sum + single(d * w[3]);
  sum = sum + single(e_term * w[4]);
  sum = sum + single(f * w[5]);
  const double total = static_cast<double>(sum) + static_cast<double>(single(g * w[6]));
  return total / 100.0;
}

double path_cost(const Engine& engine, const PathNote* path, int32_t s, int32_t l, int32_t n) {
  const CostSetting setting = cost_setting(engine, s, l);
  PathTally tally;
  for (int32_t k = 0; k < n; ++k) tally_note(tally, *setting.line, path, k, setting.top);
  const Line& line = *setting.line;
  if (line.Tipo == kBassLine) tally.outer = outer_score(line, path, n, setting.bass, 10);
  if (line.Tipo == kMelodyLine) tally.outer = outer_score(line, path, n, setting.top, 5);
  return path_cost(setting, path, n, tally);
}

double path_cost(const Engine& engine, int32_t entry, int32_t s, int32_t l, int32_t n) {
  return path_cost(engine, engine.state.pool.entries[entry].notes, s, l, n);
}

}  // namespace zelvo::engine
