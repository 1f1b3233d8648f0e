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

// What the cost counts note by note over a path's first notes, so that a
// search extending paths one note at a time adds only the newest note.
struct PathTally {
  int32_t distance = 0;   // sum of |chosen - given|
  int32_t direction = 0;  // moves against the given contour's direction
  int32_t shape = 0;      // moves of another step shape
  int32_t off_top = 0;    // notes off the chord's top pitch class
};

// What the cost reads of a line that no path changes: looked up once per
// search. bass and top are the chord's marked pitch classes (-1 none).
struct CostSetting {
  const Line* line;
  const float* weights;  // the line's coefficient row
  int32_t bass;
  int32_t top;
};
CostSetting cost_setting(const Engine& engine, int32_t s, int32_t l);

// Adds note k (the move from note k - 1 when k > 0); `top` is the setting's.
void tally_note(PathTally& tally, const Line& line, const PathNote* path, int32_t k, int32_t top);

// path_cost with the tally of the path's first n notes already counted.
double path_cost(const CostSetting& setting, const PathNote* path, int32_t n,
                 const PathTally& tally);

// 4 x metric weight + duration in sixteenths, truncated.
int32_t note_importance(const Engine& engine, int32_t bar, int32_t click, int32_t duration);

// Ranks a bass (lowest first) or melody (highest first) line's notes.
void rank_outer_notes(Engine& engine, int32_t s, int32_t l);

// The profile row of a line: its instrument, or BA / ME for a bass or
// melody line when BassIns / MelIns is -1.
int32_t profile_row(const Engine& engine, const Line& line);

// Double to 32-bit integer: toward zero, saturating, NaN gives 0.
int32_t truncate_to_int(double value);

}  // namespace zelvo::engine
