#pragma once

#include <cstdint>

#include "engine/context.h"

namespace zelvo::engine {

// Links the lines of slot s - 1 to the lines of slot s, instrument by
// instrument (Lh in the earlier line, Lp in the later). Nothing for slot 0.
void link_units(Engine& engine, int32_t s);

// The best assignment of the previous list's lines to distinct current-list
// entries, from the pair costs in links.work.cost: the least total, and
// among equal totals the one met first when every assignment is tried in
// list order (previous line 0's entry first). Sets best_cost and the linked
// pairs. REQUIRES: 1 <= previous_count <= current_count <= kMaxLines.
void search_links(LinkSearch& links);

// Cost of linking previous line `a` of slot s - 1 to current entry `c` of
// slot s (a line index, or -1 for a padded entry).
int32_t link_pair_cost(Engine& engine, int32_t s, int32_t a, int32_t c);

// Largest pitch difference of a linkable pair, and the cost of a pair that
// cannot be linked.
constexpr int32_t kLinkInterval = 4;
constexpr int32_t kUnlinkedCost = 5;
constexpr double kNoLinkCost = 1000000.0;

}  // namespace zelvo::engine
