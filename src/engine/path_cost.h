#pragma once

#include <cstdint>

#include "engine/context.h"

namespace zelvo::engine {

// Cost of the first `n` notes of pool entry `entry` as a path of line `l`
// of slot `s`: the weighted sum of seven terms (link contour, cut note,
// distance, contour direction, step shape, bass and top pitch class) with
// the line's coefficient row, divided by 100. Never negative for
// non-negative weights. REQUIRES: 1 <= n <= the line's note count; the
// outer-note ranking built for a bass or melody line.
double path_cost(const Engine& engine, int32_t entry, int32_t s, int32_t l, int32_t n);

// The same over an explicit path (the pool entry's notes).
double path_cost(const Engine& engine, const PathNote* path, int32_t s, int32_t l, int32_t n);

// 4 x metric weight + duration in sixteenths, truncated.
int32_t note_importance(const Engine& engine, int32_t click, int32_t duration);

// Ranks a bass (lowest first) or melody (highest first) line's notes.
void rank_outer_notes(Engine& engine, int32_t s, int32_t l);

// The profile row of a line: its instrument, or BA / ME for a bass or
// melody line when BassIns / MelIns is -1.
int32_t profile_row(const Engine& engine, const Line& line);

// Double to 32-bit integer: toward zero, saturating, NaN gives 0.
int32_t truncate_to_int(double value);

}  // namespace zelvo::engine
