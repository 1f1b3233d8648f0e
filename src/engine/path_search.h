#pragma once

#include <cstdint>

#include "engine/context.h"

namespace zelvo::engine {

// Searches the paths of line `l` of slot `s` in stages of four notes and
// leaves the cheapest distinct paths scored and sorted in the pool. With
// `no_lookahead` the line's last note must be a chord tone. False when some
// stage has no path reaching its end.
bool build_candidates(Engine& engine, int32_t s, int32_t l, bool no_lookahead);

}  // namespace zelvo::engine
