#pragma once

#include <cstdint>

#include "engine/context.h"
#include "engine/path_cost.h"

namespace zelvo::engine {

// A stage of the path search tries every path through the choices of its
// notes; most end costlier than the hundred it keeps, and are dropped
// unkept. A subtree of them, the paths that share all notes up to one, can
// be passed over as a whole once the stage keeps a full hundred and even
// the cheapest cost its paths could reach is no lower than the costliest
// kept: each of them would be scored, counted and dropped, leaving the pool
// as it was. Passing over it counts its paths, so the serial numbers and
// the total of scored paths stay as they were.
//
// The cost of a path only grows with its distance and its moves, and only
// falls with its notes off the top pitch class and its outer-note points
// (weights finite and not negative, single-precision rounding included),
// so the cheapest a subtree could reach is the cost of a tally that takes
// the least of the one and the most of the other over its paths, each on
// its own.

// The subtree of the paths that continue from note i (position q of its
// stage) after `previous` up to note `leaf`, the stage's last note or the
// line's. Kept per stage, beside the choice lists.
SubtreeSummary summarize_subtree(Engine& engine, int32_t s, int32_t l, int32_t i, int32_t q,
                                 int32_t leaf, const LinkState& previous, bool no_lookahead);

// No path of `count` notes whose first notes are `path` with tally
// `prefix`, continued through the subtree `rest`, costs less than this.
double least_cost(const CostSetting& setting, const PathNote* path, int32_t count,
                  const PathTally& prefix, const SubtreeSummary& rest);

}  // namespace zelvo::engine
