#include "engine/exchange_order.h"

#include <algorithm>

namespace zelvo::engine {

namespace {

// The entries of one cost, by pool index, reordered as the exchange sort
// leaves them. `members` are positions in index/cost (ascending pool
// index); `costlier` the positions of every entry of a higher cost.
void order_equal_costs(const int32_t* index, int32_t size, int32_t* members, int32_t count,
                       const int32_t* costlier, int32_t costlier_count) {
  // Cheaper entries after member t, up to the next member (or the pool's
  // end): every entry there but the costlier ones.
  int32_t cheaper[kMaxOrdered];
  for (int32_t t = 0; t < count; ++t) {
    const int32_t end = t + 1 < count ? index[members[t + 1]] : size;
    cheaper[t] = end - index[members[t]] - 1;
  }
  auto before = [&](int32_t x, int32_t member) { return x < index[member]; };
  for (int32_t z = 0; z < costlier_count; ++z) {
    const int32_t x = index[costlier[z]];
    // The last member below x; none when x comes before them all.
    const int32_t* after = std::upper_bound(members, members + count, x, before);
    if (after != members) --cheaper[after - members - 1];
  }
  int32_t run[kMaxOrdered];
  int32_t length = 0;
  for (int32_t t = 0; t < count; ++t) {
    run[length++] = members[t];
    const int32_t turns = cheaper[t] % length;
    std::rotate(run, run + turns, run + length);
  }
  std::copy(run, run + count, members);
}

}  // namespace

void exchange_order(const int32_t* index, const double* cost, int32_t count, int32_t size,
                    int32_t* order) {
  int32_t by[kMaxOrdered];
  for (int32_t k = 0; k < count; ++k) by[k] = k;
  std::sort(by, by + count, [&](int32_t a, int32_t b) {
    return cost[a] < cost[b] || (cost[a] == cost[b] && index[a] < index[b]);
  });
  for (int32_t first = 0; first < count;) {
    int32_t last = first + 1;
    while (last < count && cost[by[last]] == cost[by[first]]) ++last;
    if (last - first > 1) {
      order_equal_costs(index, size, by + first, last - first, by + last, count - last);
    }
    first = last;
  }
  for (int32_t k = 0; k < count; ++k) order[k] = index[by[k]];
}

}  // namespace zelvo::engine
