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
      nhd_(engine.settings.NonHarmToneDur),
      chord_classes_(unit_slot(engine.state, s).chord_classes),
      scale_classes_(unit_slot(engine.state, s).scale_classes),
      open_types_(open_types()) {}

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

// The conditions of accepts that hold or fail whatever the pitch, one bit
// per non-harmonic type.
uint32_t ToneRules::open_types() const {
  uint32_t open = 0;
  const auto open_if = [&](int32_t type, bool holds) {
    if (row_[type] == 1 && holds) open |= type_bit(type);
  };
  const bool short_enough = sixteenths_ <= nhd_;
  const bool very_short = sixteenths_ <= nhd_ / 2;
  open_if(kFa, from_chord_tone() && short_enough);
  open_if(kFd, from_chord_tone() && short_enough);
  const bool may_pass = has_previous_ && !gap_ && short_enough;
  open_if(kPa, may_pass && (p_.tone_type == kRe || p_.tone_type == kPa));
  open_if(kPd, may_pass && (p_.tone_type == kRe || p_.tone_type == kPd));
  const bool may_accent =
      (!has_previous_ || p_.tone_type == kRe) && sixteenths_ <= 2 * int64_t{nhd_} && on_beat_;
  open_if(kAs, may_accent);
  open_if(kAi, may_accent);
  open_if(kEa, from_chord_tone() && very_short && weight_not_above_);
  open_if(kEd, from_chord_tone() && very_short && weight_not_above_);
  return open;
}

uint32_t ToneRules::accepted_types(int32_t pitch) const {
  if (pitch < 0 || pitch > 127) return 0;
  const uint32_t pc = 1u << (pitch % kPitchClasses);
  const bool in_chord = (chord_classes_ & pc) != 0;
  uint32_t types = in_chord && resolves(pitch) ? type_bit(kRe) : 0;
  if ((scale_classes_ & pc) == 0 || open_types_ == 0) return types;
  // Every open type but the accented ones moves by a step from the previous
  // note, which every open type of them has.
  const int32_t step = has_previous_ ? step_class(p_.chosen_pitch, pitch) : 0;
  constexpr uint32_t kUp = type_bit(kFa) | type_bit(kPa) | type_bit(kEa);
  constexpr uint32_t kDown = type_bit(kFd) | type_bit(kPd) | type_bit(kEd);
  if (step == 1) types |= open_types_ & kUp;
  if (step == -1) types |= open_types_ & kDown;
  constexpr uint32_t kAccented = type_bit(kAs) | type_bit(kAi);
  if ((open_types_ & kAccented) != 0 &&
      (!has_previous_ || std::abs(pitch - p_.chosen_pitch) >= 3 ||
       (pitch == p_.chosen_pitch && !in_chord && !gap_))) {
    types |= open_types_ & kAccented;
  }
  return types;
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
