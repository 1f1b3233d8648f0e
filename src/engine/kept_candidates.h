#pragma once

#include <cstdint>

#include "engine/context.h"

namespace zelvo::engine {

// What recall_candidates found for a line under its entry state.
enum class Recalled { kNotKept, kList, kNoPath };

// Forgets every kept list; the window has moved (or a run begins).
void forget_candidates(EngineState& state);

// Fills line `l` of slot `s`'s candidate list with the list kept for its
// present entry state (line.npadre) and search mode, byte for byte what
// build_candidates and select_candidates made of them before.
Recalled recall_candidates(Engine& engine, int32_t s, int32_t l, bool no_lookahead);

// Keeps the list just made for the line's entry state (built: false when
// build_candidates found no path). A list that does not fit, or whose notes
// past the line's are not all {0, 0}, is not kept.
void keep_candidates(Engine& engine, int32_t s, int32_t l, bool no_lookahead, bool built);

}  // namespace zelvo::engine
