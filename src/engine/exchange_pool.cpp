// The pool kept by scans and sorted by exchanges, for weight rows whose
// costs may be negative or NaN (path_pool.h).
#include <cstring>
#include <limits>
#include <utility>

#include "engine/path_pool.h"

namespace zelvo::engine {

void insert_exchange(PathPool& pool, int32_t n, double cost, int32_t count, uint32_t key) {
  PoolEntry& entry = pool.entries[n];
  if (pool.hashed_count != pool.scored_count) rebuild_buckets(pool);
  for (int32_t p = pool.bucket[bucket_of(key)]; p != 0; p = pool.chain[p - 1]) {
    const int32_t i = p - 1;
    if (pool.scored_keys[i] == key && pool.scored[i] != n &&
        same_notes(pool.entries[pool.scored[i]].notes, entry.notes, count)) {
      mark_free(pool, n);
      return;
    }
  }
  if (pool.scored_count >= kMaxScored) {
    if (pool.worst_position < 0) {
      // The costliest entry, the lowest pool index among equal costs.
      int32_t worst = 0;
      for (int32_t i = 1; i < pool.scored_count; ++i) {
        if (pool.scored_costs[i] > pool.scored_costs[worst] ||
            (pool.scored_costs[i] == pool.scored_costs[worst] &&
             pool.scored[i] < pool.scored[worst])) {
          worst = i;
        }
      }
      pool.worst_position = worst;
    }
    const int32_t w = pool.worst_position;
    if (cost < pool.scored_costs[w]) {
      PoolEntry& target = pool.entries[pool.scored[w]];
      std::memcpy(target.notes, entry.notes, sizeof(entry.notes));
      target.serial = entry.serial;
      target.cost = cost;
      pool.scored_costs[w] = cost;
      unlink_scored(pool, w);
      pool.scored_keys[w] = key;
      link_scored(pool, w);
      pool.worst_position = -1;
    }
    mark_free(pool, n);
    return;
  }
  entry.cost = cost;
  append_scored(pool, n, cost, key);
  pool.worst_position = -1;
}

// The exchange sort (for each i, every later entry cheaper than entry i is
// exchanged with it) runs on the costs and an index table; the entries are
// moved once at the end, cycle by cycle, into the order it gives. A step
// whose entry holds the lowest cost of the pool can exchange nothing more,
// so it ends there: the free entries (all -1) are placed without scanning
// the rest. A step keeps the cost it holds in a register.
void sort_pool(Engine& engine) {
  PathPool& pool = engine.state.pool;
  double costs[kPoolSize];
  int16_t order[kPoolSize];
  bool have_lowest = false;
  double lowest = 0.0;
  for (int32_t i = 0; i < kPoolSize; ++i) {
    costs[i] = pool.entries[i].cost;
    order[i] = static_cast<int16_t>(i);
    if (costs[i] == costs[i] && (!have_lowest || costs[i] < lowest)) {
      lowest = costs[i];
      have_lowest = true;
    }
  }
  // No cost equals a NaN floor: without a lowest cost no step ends early.
  const double floor = have_lowest ? lowest : std::numeric_limits<double>::quiet_NaN();
  for (int32_t i = 0; i < kPoolSize; ++i) {
    double held = costs[i];
    if (held == floor) continue;
    for (int32_t j = i + 1; j < kPoolSize; ++j) {
      if (!(costs[j] < held)) continue;
      std::swap(costs[i], costs[j]);
      std::swap(order[i], order[j]);
      held = costs[i];
      if (held == floor) break;
    }
  }
  // Entry i takes entry order[i]: each cycle of the permutation is followed
  // from its first position with one entry set aside.
  bool placed[kPoolSize] = {};
  for (int32_t i = 0; i < kPoolSize; ++i) {
    if (placed[i] || order[i] == i) continue;
    const PoolEntry first = pool.entries[i];
    int32_t k = i;
    while (order[k] != i) {
      pool.entries[k] = pool.entries[order[k]];
      placed[k] = true;
      k = order[k];
    }
    pool.entries[k] = first;
    placed[k] = true;
  }
}

}  // namespace zelvo::engine
