#pragma once

#include <cstdint>

namespace zelvo::engine {

// The order in which the pool's exchange sort (for each position i, every
// later entry cheaper than entry i is exchanged with it) leaves the scored
// entries of a pool whose other entries are free, marked with a cost below
// every scored one. The sort is not stable, and the candidate lists, the
// listings and the recorded pools show the order it gives to equal costs,
// so that order is worked out here without running the sort:
//  - entries of different costs come cheapest first;
//  - the order of the entries of one cost v depends only on where the
//    entries cheaper than v (free ones included) lie between them. Walking
//    the pool upward, the entries of cost v met so far form a run; every
//    cheaper entry met after the run has begun sends the run's first entry
//    to its end; a further entry of cost v joins the run at its end. The
//    run, when the pool ends, is their order.
// (Each exchange step moves its position's entry along the chain of
// ever cheaper entries after it; an entry of cost v moves only when it is
// the first of its cost and no cheaper entry precedes it, and then it
// jumps to the place of the first cheaper entry after it.)
//
// `index` and `cost` list the scored entries (pool index and cost, in any
// order, costs not NaN), `count` of them, in a pool of `size` entries.
// Writes their pool indices, in order, to `order`.
// REQUIRES: count <= kMaxOrdered; the indices distinct and below size.
constexpr int32_t kMaxOrdered = 512;
void exchange_order(const int32_t* index, const double* cost, int32_t count, int32_t size,
                    int32_t* order);

}  // namespace zelvo::engine
