#pragma once

#include <cstdint>

#include "engine/context.h"

namespace zelvo::engine {

// +1 when b lies 1 or 2 semitones above a, -1 when 1 or 2 below, else 0.
int32_t step_class(int32_t a, int32_t b);

// C starts more than HoleForLine sixteenths after P ends.
bool gap_too_long(const Engine& engine, const LinkState& p, const LinkState& c);

// 4 on the bar's first click, 1 off the beat, 3 on the third beat of a
// four-beat bar, 2 on every other beat, in the meter of `bar`.
int32_t metric_weight(const Engine& engine, int32_t bar, int32_t click);

// The nine tone rules in the order the path search tries them.
constexpr int32_t kRuleOrder[9] = {kRe, kFa, kFd, kPa, kPd, kAs, kAi, kEa, kEd};

// The tone rules for one note C after the path's previous note P (bar -1:
// none), under the chord and scale of a slot and a line's tone-type
// switches. What depends only on P and C is worked out once, so the search
// can try every offset and rule cheaply.
class ToneRules {
 public:
  ToneRules(const Engine& engine, int32_t s, const LinkState& p, const LinkState& c,
            const int32_t* row);

  // Whether the rule of tone type `type` accepts chosen pitch `pitch`.
  // Pitches outside 0-127 are refused.
  bool accepts(int32_t type, int32_t pitch) const;

  // Every type whose rule accepts `pitch`, as bit type_bit(type): the same
  // answers as accepts, for all nine rules at once. The search asks this
  // for each offset. The chord's and scale's pitch classes come from the
  // unit (form_unit works them out once); what else does not depend on the
  // pitch (the line's switches, the durations, the previous note) is worked
  // out once here, in the constructor.
  uint32_t accepted_types(int32_t pitch) const;
  static constexpr uint32_t type_bit(int32_t type) {
    return type == kRe ? 1u << kNonHarmonicTypes : 1u << type;
  }

 private:
  bool resolves(int32_t pitch) const;
  bool accented(int32_t pitch) const;
  bool passing(int32_t own_type, int32_t direction, int32_t pitch) const;
  uint32_t open_types() const;
  bool from_chord_tone() const { return has_previous_ && p_.tone_type == kRe && !gap_; }

  const LinkState& p_;
  const HarmonyEntry& chord_;
  const HarmonyEntry& scale_;
  const int32_t* row_;
  bool has_previous_;
  bool gap_;                 // gap_too_long (P, C)
  bool weight_not_above_;    // metric weight of C <= that of P
  bool on_beat_;             // metric weight of C is not 1
  int32_t sixteenths_;       // C's duration in whole sixteenths
  int32_t nhd_;
  uint32_t chord_classes_;   // bit pc: pitch class pc is in the chord
  uint32_t scale_classes_;   // bit pc: pitch class pc is in the scale
  uint32_t open_types_;      // the non-harmonic types whose pitch-free conditions hold
};

// Tries the rule of tone type `type` on note `c` at offset `o` from its
// given pitch; on acceptance sets c's chosen pitch and tone type.
bool apply_tone_rule(const Engine& engine, int32_t type, int32_t s, const LinkState& p,
                     LinkState& c, int32_t o, const int32_t* row);

}  // namespace zelvo::engine
