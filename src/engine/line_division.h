#pragma once

#include <cstdint>

#include "engine/context.h"

namespace zelvo::engine {

// Builds the lines of the unit in slot `s`: each instrument 1-15 in turn is
// divided into lines, which take consecutive line indices. Gives up
// (base::stop_with) when the unit needs more than kMaxLines lines.
void divide_lines(Engine& engine, int32_t s);

// Fills the work list with the unit's notes of one instrument and tags each
// with its line. Direction 0 builds lines from the lowest notes up, 1 from
// the highest down.
void divide_instrument(Engine& engine, int32_t instrument, int32_t s, int32_t direction);

// Follows a chain from work note `i` forward (way +1) or backward (way -1),
// adding to the work list's chain length; tags the chain when `mark` is set.
void extend_chain(Engine& engine, int32_t i, int32_t way, bool mark, int32_t line_number);

// Work note b may follow work note a (a before b) in one line.
bool can_follow(const Engine& engine, int32_t a, int32_t b);

// Fills the silences of line `k` after position `p` (-1: before the first
// note) with single notes or whole other lines.
void fill_holes(Engine& engine, int32_t k, int32_t p, int32_t direction, bool allow_refused);

// The note (or the whole line it belongs to) fits between positions p and q.
bool fits_hole(const Engine& engine, int32_t p, int32_t q, int32_t note);

// Tipo 3 on the line with the highest given pitch, then Tipo 2 on the line
// with the lowest, as MelIns and BassIns choose.
void mark_outer_lines(Engine& engine, int32_t s);

}  // namespace zelvo::engine
