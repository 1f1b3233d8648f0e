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

int32_t note_importance(const Engine& engine, int32_t click, int32_t duration) {
  return truncate_to_int(4 * metric_weight(engine, click) +
                         static_cast<double>(duration) / engine.clicks_semic);
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
    importance[i] = note_importance(engine, line.notes[i].click, line.notes[i].duration);
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

int32_t pitch_class(int32_t pitch) { return ((pitch % 12) + 12) % 12; }

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

double path_cost(const Engine& engine, const PathNote* path, int32_t s, int32_t l, int32_t n) {
  const UnitSlot& slot = engine.state.slots[engine.state.slot_map[s]];
  const Line& line = slot.lines[l];
  const float* w = engine.settings.NonHarmTonesCoef[profile_row(engine, line)];
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

  int32_t distance = 0;
  for (int32_t k = 0; k < n; ++k) distance += std::abs(chosen(k) - given(k));
  const float c = static_cast<float>(distance) / count;

  int32_t direction_count = 0;
  int32_t shape_count = 0;
  for (int32_t k = 1; k < n; ++k) {
    const int32_t move_c = chosen(k) - chosen(k - 1);
    const int32_t move_g = given(k) - given(k - 1);
    const bool c_repeats = move_c == 0;
    const bool g_repeats = move_g == 0;
    if (c_repeats != g_repeats) {
      ++direction_count;
      ++shape_count;
    } else if (!c_repeats) {
      if ((move_c < 0) != (move_g < 0)) ++direction_count;
      if (step_class(chosen(k - 1), chosen(k)) != step_class(given(k - 1), given(k))) {
        ++shape_count;
      }
    }
  }
  const float d = static_cast<float>(direction_count) / count * 15.0f;
  const float e_term = static_cast<float>(shape_count) / count * 5.0f;

  const HarmonyEntry& chord = engine.state.chords.entries[slot.chord_index];
  float f = 0.0f;
  if (line.Tipo == kBassLine) {
    f = 15.0f - static_cast<float>(outer_score(line, path, n, marked_pitch_class(chord, 2), 10));
  }
  float g = 0.0f;
  if (line.Tipo == kMelodyLine) {
    const int32_t top = marked_pitch_class(chord, 4);
    int32_t off_top = 0;
    for (int32_t k = 0; k < n; ++k) {
      if (pitch_class(chosen(k)) != top) ++off_top;
    }
    const float g_prime = static_cast<float>(outer_score(line, path, n, top, 5)) +
                          single(static_cast<float>(off_top) / count * 5.0f);
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

double path_cost(const Engine& engine, int32_t entry, int32_t s, int32_t l, int32_t n) {
  return path_cost(engine, engine.state.pool.entries[entry].notes, s, l, n);
}

}  // namespace zelvo::engine
