#pragma once

#include <cstdint>

#include "engine/context.h"

namespace zelvo::engine {

// +1 when b lies 1 or 2 semitones above a, -1 when 1 or 2 below, else 0.
int32_t step_class(int32_t a, int32_t b);

// C starts more than HoleForLine sixteenths after P ends.
bool gap_too_long(const Engine& engine, const LinkState& p, const LinkState& c);

// 4 on the bar's first click, 1 off the beat, 3 on the third beat of a
// four-beat bar, 2 on every other beat.
int32_t metric_weight(const Engine& engine, int32_t click);

// The nine tone rules in the order the path search tries them.
constexpr int32_t kRuleOrder[9] = {kRe, kFa, kFd, kPa, kPd, kAs, kAi, kEa, kEd};

// Tries the rule of tone type `type` on note `c` at offset `o` from its
// given pitch, after the path's previous note `p` (bar -1: none), with the
// chord and scale of slot `s` and the tone-type switches `row`. On
// acceptance sets c's chosen pitch and tone type. Chosen pitches outside
// 0-127 are refused.
bool apply_tone_rule(const Engine& engine, int32_t type, int32_t s, const LinkState& p,
                     LinkState& c, int32_t o, const int32_t* row);

}  // namespace zelvo::engine
