#pragma once

#include <cstdint>

#include "engine/context.h"

namespace zelvo::engine {

// Searches the paths of line `l` of slot `s` in stages of four notes and
// leaves the cheapest distinct paths scored and sorted in the pool. With
// `no_lookahead` the line's last note must be a chord tone. False when some
// stage has no path reaching its end.
bool build_candidates(Engine& engine, int32_t s, int32_t l, bool no_lookahead);

// Extends the path of pool entry `e` from note `i` to the stage end `j` (or
// the line's end) after previous state `previous`; frees `e`. True when some
// path reached the end.
bool extend_path(Engine& engine, int32_t s, int32_t l, int32_t e, int32_t i, int32_t j,
                 const LinkState& previous, bool no_lookahead);

// Scores entry n, drops it as a duplicate, or lets it replace the costliest
// scored entry when kMaxScored entries are scored.
void insert_scored(Engine& engine, int32_t n, double cost, int32_t count);

// Same chosen pitches over `count` notes and the same tone type on the last.
bool same_path(const Engine& engine, int32_t a, int32_t b, int32_t count);

// Exchange sort of the 500 entries by ascending cost.
void sort_pool(Engine& engine);

}  // namespace zelvo::engine
