#pragma once

#include <cstdint>

#include "engine/context.h"

namespace zelvo::engine {

// Links the lines of slot s - 1 to the lines of slot s, instrument by
// instrument (Lh in the earlier line, Lp in the later). Nothing for slot 0.
void link_units(Engine& engine, int32_t s);

// Tries every assignment of the previous list's lines (from `level` on) to
// distinct current-list entries; keeps the cheapest in the link search
// lists. `partial` is the cost of the levels already assigned.
void search_links(Engine& engine, int32_t level, int32_t s, double partial = 0.0);

// Largest pitch difference of a linkable pair, and the cost of a pair that
// cannot be linked.
constexpr int32_t kLinkInterval = 4;
constexpr double kUnlinkedCost = 5.0;
constexpr double kNoLinkCost = 1000000.0;

}  // namespace zelvo::engine
