#pragma once

#include <cstdint>

#include "engine/context.h"

namespace zelvo::engine {

// Chooses the candidate of line `l` of slot `s` (its Arn), looking ahead
// through the line's next link into the following units. Returns the chosen
// candidate's cost; 0 when the line lies too deep to be searched; -1 when it
// has no candidate.
float search_line(Engine& engine, int32_t s, int32_t l);

// The search must not look past this line into the next unit.
bool stop_lookahead(Engine& engine, int32_t s, int32_t l);

// Fills the line's candidate list from the sorted pool: grouped by the last
// note's chosen pitch, then ordered so that candidates with the same ending
// stand together, cheapest first.
void select_candidates(Engine& engine, int32_t s, int32_t l);

}  // namespace zelvo::engine
