#include "engine/tone_rules.h"

#include <cstdlib>

namespace zelvo::engine {

int32_t step_class(int32_t a, int32_t b) {
  const int32_t d = b - a;
  if (d == 1 || d == 2) return 1;
  if (d == -1 || d == -2) return -1;
  return 0;
}

bool gap_too_long(const Engine& engine, const LinkState& p, const LinkState& c) {
  const int64_t p_end = engine.time_of(p.bar, p.click) + p.duration;
  return engine.time_of(c.bar, c.click) > p_end + engine.hole_clicks;
}

int32_t metric_weight(const Engine& engine, int32_t click) {
  if (click == 0) return 4;
  if (click % engine.clicks_parte != 0) return 1;
  if (engine.settings.time.compas_num == 4 && click / engine.clicks_parte == 2) return 3;
  return 2;
}

namespace {

struct RuleInput {
  const Engine& engine;
  const LinkState& p;
  const LinkState& c;
  int32_t pitch;
  const HarmonyEntry& chord;
  bool has_previous() const { return p.bar != -1; }
  int32_t step() const { return step_class(p.chosen_pitch, pitch); }
  int32_t sixteenths() const { return c.duration / engine.clicks_semic; }
  bool from_chord_tone() const {
    return has_previous() && p.tone_type == kRe && !gap_too_long(engine, p, c);
  }
  bool weight_not_above_previous() const {
    return metric_weight(engine, c.click) <= metric_weight(engine, p.click);
  }
};

// A non-harmonic tone before a chord tone must resolve into it.
bool resolves(const RuleInput& in) {
  if (!in.has_previous() || in.p.tone_type == kRe) return true;
  if (gap_too_long(in.engine, in.p, in.c)) return false;
  switch (in.p.tone_type) {
    case kFa:
    case kPd:
      return in.step() == -1;
    case kFd:
    case kPa:
      return in.step() == 1;
    case kAs:
      return in.step() == -1 && in.weight_not_above_previous();
    case kAi:
      return in.step() == 1 && in.weight_not_above_previous();
    case kEa:
      return in.pitch <= in.p.chosen_pitch - 3;
    case kEd:
      return in.pitch >= in.p.chosen_pitch + 3;
    default:
      return true;
  }
}

// The accented scale tones: on the beat, after a chord tone or nothing,
// reached by a leap or prepared by the same pitch outside the chord.
bool accented(const RuleInput& in, int32_t nhd) {
  if (in.has_previous() && in.p.tone_type != kRe) return false;
  if (in.sixteenths() > 2 * nhd) return false;
  if (metric_weight(in.engine, in.c.click) == 1) return false;
  if (!in.has_previous()) return true;
  if (std::abs(in.pitch - in.p.chosen_pitch) >= 3) return true;
  return in.pitch == in.p.chosen_pitch && !pitch_in(in.chord, in.pitch) &&
         !gap_too_long(in.engine, in.p, in.c);
}

bool passing(const RuleInput& in, int32_t own_type, int32_t direction, int32_t nhd) {
  return in.has_previous() && (in.p.tone_type == kRe || in.p.tone_type == own_type) &&
         !gap_too_long(in.engine, in.p, in.c) && in.step() == direction &&
         in.sixteenths() <= nhd;
}

}  // namespace

bool apply_tone_rule(const Engine& engine, int32_t type, int32_t s, const LinkState& p,
                     LinkState& c, int32_t o, const int32_t* row) {
  const int32_t pitch = c.given_pitch + o;
  if (pitch < 0 || pitch > 127) return false;
  const UnitSlot& slot = engine.state.slots[engine.state.slot_map[s]];
  const HarmonyEntry& chord = engine.state.chords.entries[slot.chord_index];
  const HarmonyEntry& scale = engine.state.scales.entries[slot.scale_index];
  const RuleInput in{engine, p, c, pitch, chord};
  const int32_t nhd = engine.settings.NonHarmToneDur;

  bool accepted = false;
  if (type == kRe) {
    accepted = pitch_in(chord, pitch) && resolves(in);
  } else {
    if (row[type] != 1 || !pitch_in(scale, pitch)) return false;
    switch (type) {
      case kFa:
        accepted = in.from_chord_tone() && in.step() == 1 && in.sixteenths() <= nhd;
        break;
      case kFd:
        accepted = in.from_chord_tone() && in.step() == -1 && in.sixteenths() <= nhd;
        break;
      case kPa:
        accepted = passing(in, kPa, 1, nhd);
        break;
      case kPd:
        accepted = passing(in, kPd, -1, nhd);
        break;
      case kAs:
      case kAi:
        accepted = accented(in, nhd);
        break;
      case kEa:
        accepted = in.from_chord_tone() && in.step() == 1 && in.sixteenths() <= nhd / 2 &&
                   in.weight_not_above_previous();
        break;
      case kEd:
        accepted = in.from_chord_tone() && in.step() == -1 && in.sixteenths() <= nhd / 2 &&
                   in.weight_not_above_previous();
        break;
      default:
        accepted = false;
    }
  }
  if (accepted) {
    c.chosen_pitch = pitch;
    c.tone_type = type;
  }
  return accepted;
}

}  // namespace zelvo::engine
