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

int32_t metric_weight(const Engine& engine, int32_t bar, int32_t click) {
  if (click == 0) return 4;
  // Before the first change, and in one meter, the settings' own meter.
  const MeterChange* change = engine.meter_changes ? meter_at(engine.settings.time, bar) : nullptr;
  const int32_t beat = change != nullptr ? change->beat_clicks : engine.clicks_per_beat;
  const int32_t beats = change != nullptr ? change->beats : engine.settings.time.beats_per_bar;
  if (click % beat != 0) return 1;
  if (beats == 4 && click / beat == 2) return 3;
  return 2;
}

ToneRules::ToneRules(const Engine& engine, int32_t s, const LinkState& p, const LinkState& c,
                     const int32_t* row)
    : p_(p),
      chord_(engine.state.chords.entries[unit_slot(engine.state, s).chord_index]),
      scale_(engine.state.scales.entries[unit_slot(engine.state, s).scale_index]),
      row_(row),
      has_previous_(p.bar != -1),
      gap_(p.bar != -1 && gap_too_long(engine, p, c)),
      weight_not_above_(p.bar != -1 &&
                        metric_weight(engine, c.bar, c.click) <= metric_weight(engine, p.bar, p.click)),
      on_beat_(metric_weight(engine, c.bar, c.click) != 1),
      sixteenths_(c.duration / engine.clicks_per_sixteenth),
      nhd_(engine.settings.NonHarmToneDur) {}

// A non-harmonic tone before a chord tone must resolve into it.
bool ToneRules::resolves(int32_t pitch) const {
  if (!has_previous_ || p_.tone_type == kRe) return true;
  if (gap_) return false;
  const int32_t step = step_class(p_.chosen_pitch, pitch);
  switch (p_.tone_type) {
    case kFa:
    case kPd:
      return step == -1;
    case kFd:
    case kPa:
      return step == 1;
    case kAs:
      return step == -1 && weight_not_above_;
    case kAi:
      return step == 1 && weight_not_above_;
    case kEa:
      return pitch <= p_.chosen_pitch - 3;
    case kEd:
      return pitch >= p_.chosen_pitch + 3;
    default:
      return true;
  }
}

// The accented scale tones: on the beat, after a chord tone or nothing,
// reached by a leap or prepared by the same pitch outside the chord.
bool ToneRules::accented(int32_t pitch) const {
  if (has_previous_ && p_.tone_type != kRe) return false;
  if (sixteenths_ > 2 * int64_t{nhd_} || !on_beat_) return false;
  if (!has_previous_) return true;
  if (std::abs(pitch - p_.chosen_pitch) >= 3) return true;
  return pitch == p_.chosen_pitch && !pitch_in(chord_, pitch) && !gap_;
}

bool ToneRules::passing(int32_t own_type, int32_t direction, int32_t pitch) const {
  return has_previous_ && (p_.tone_type == kRe || p_.tone_type == own_type) && !gap_ &&
         step_class(p_.chosen_pitch, pitch) == direction && sixteenths_ <= nhd_;
}

bool ToneRules::accepts(int32_t type, int32_t pitch) const {
  if (pitch < 0 || pitch > 127) return false;
  if (type == kRe) return pitch_in(chord_, pitch) && resolves(pitch);
  if (row_[type] != 1 || !pitch_in(scale_, pitch)) return false;
  switch (type) {
    case kFa:
      return from_chord_tone() && step_class(p_.chosen_pitch, pitch) == 1 && sixteenths_ <= nhd_;
    case kFd:
      return from_chord_tone() && step_class(p_.chosen_pitch, pitch) == -1 && sixteenths_ <= nhd_;
    case kPa:
      return passing(kPa, 1, pitch);
    case kPd:
      return passing(kPd, -1, pitch);
    case kAs:
    case kAi:
      return accented(pitch);
    case kEa:
      return from_chord_tone() && step_class(p_.chosen_pitch, pitch) == 1 &&
             sixteenths_ <= nhd_ / 2 && weight_not_above_;
    case kEd:
      return from_chord_tone() && step_class(p_.chosen_pitch, pitch) == -1 &&
             sixteenths_ <= nhd_ / 2 && weight_not_above_;
    default:
      return false;
  }
}

bool apply_tone_rule(const Engine& engine, int32_t type, int32_t s, const LinkState& p,
                     LinkState& c, int32_t o, const int32_t* row) {
  const int32_t pitch = c.given_pitch + o;
  if (!ToneRules(engine, s, p, c, row).accepts(type, pitch)) return false;
  c.chosen_pitch = pitch;
  c.tone_type = type;
  return true;
}

}  // namespace zelvo::engine
