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
  int32_t outer = 0;      // outer-note points (count_outer)
};

// What the cost reads of a line that no path changes: looked up once per
// search. bass and top are the chord's marked pitch classes (-1 none).
struct CostSetting {
  const Line* line;
  const float* weights;  // the line's coefficient row
  int32_t bass;
  int32_t top;
  // The outer-note score of a bass or melody line: its first ranked notes
  // (three, or as many as the line has) earn their points when they sit on
  // pitch class `outer_class` (-1: no score).
  int32_t outer_class;
  int32_t outer_count;
  int32_t outer_index[3];
  int32_t outer_points[3];
};
// REQUIRES: the outer-note ranking built for a bass or melody line.
CostSetting cost_setting(const Engine& engine, int32_t s, int32_t l);

// Adds note k (the move from note k - 1 when k > 0); `top` is the setting's.
void tally_note(PathTally& tally, const Line& line, const PathNote* path, int32_t k, int32_t top);

// Adds the outer-note points of note k on `pitch`. Counted over notes
// 0 .. n - 1 they are the score of a path of n notes whenever n is at least
// 3 or the line's note count: the lengths the search costs.
void count_outer(PathTally& tally, const CostSetting& setting, int32_t k, int8_t pitch);

// A tally in one word, so that a step adds what a choice counts in one
// addition: the distance in the low 32 bits, then 8 bits each for the
// direction and shape moves, the notes off the top and the outer points.
// A line's counts stay below 256 (at most kMaxLineNotes notes, 18 outer
// points) and its distance below 2^31 (an int's sum), so no field carries
// into the next.
inline uint64_t pack_tally(const PathTally& tally) {
  return uint64_t{static_cast<uint32_t>(tally.distance)} |
         uint64_t{static_cast<uint8_t>(tally.direction)} << 32 |
         uint64_t{static_cast<uint8_t>(tally.shape)} << 40 |
         uint64_t{static_cast<uint8_t>(tally.off_top)} << 48 |
         uint64_t{static_cast<uint8_t>(tally.outer)} << 56;
}
inline PathTally unpack_tally(uint64_t packed) {
  PathTally tally;
  tally.distance = static_cast<int32_t>(static_cast<uint32_t>(packed));
  tally.direction = static_cast<int32_t>((packed >> 32) & 0xff);
  tally.shape = static_cast<int32_t>((packed >> 40) & 0xff);
  tally.off_top = static_cast<int32_t>((packed >> 48) & 0xff);
  tally.outer = static_cast<int32_t>(packed >> 56);
  return tally;
}

// What choosing `chosen` for note k adds to a path's tally after the
// previous note's chosen pitch `previous_pitch` (unused for note 0).
uint64_t tally_step(const CostSetting& setting, int32_t k, int32_t previous_pitch,
                    PathNote chosen);

// path_cost with the tally of the path's first n notes already counted,
// outer-note points included.
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
