#include "engine/path_pool.h"

#include <cstring>

#include "engine/exchange_order.h"

namespace zelvo::engine {

uint32_t digest_of(const PathNote* notes, int32_t count) {
  uint32_t digest = kDigestStart;
  for (int32_t k = 0; k < count; ++k) digest = digest_step(digest, notes[k].pitch);
  return digest;
}

namespace {

// The heap's order: a above b when a costs more, or as much from a lower
// entry.
bool above(const PathPool& pool, int32_t a, int32_t b) {
  const double ca = pool.scored_costs[a];
  const double cb = pool.scored_costs[b];
  return ca > cb || (ca == cb && pool.scored[a] < pool.scored[b]);
}

void sift_up(PathPool& pool, int32_t k) {
  const int16_t moving = pool.heap[k];
  while (k > 0) {
    const int32_t parent = (k - 1) / 2;
    if (!above(pool, moving, pool.heap[parent])) break;
    pool.heap[k] = pool.heap[parent];
    k = parent;
  }
  pool.heap[k] = moving;
}

void sift_down(PathPool& pool, int32_t k) {
  const int16_t moving = pool.heap[k];
  const int32_t count = pool.scored_count;
  for (;;) {
    int32_t child = 2 * k + 1;
    if (child >= count) break;
    if (child + 1 < count && above(pool, pool.heap[child + 1], pool.heap[child])) ++child;
    if (!above(pool, pool.heap[child], moving)) break;
    pool.heap[k] = pool.heap[child];
    k = child;
  }
  pool.heap[k] = moving;
}

}  // namespace

void link_scored(PathPool& pool, int32_t position) {
  const int32_t b = bucket_of(pool.scored_keys[position]);
  pool.chain[position] = pool.bucket[b];
  pool.bucket[b] = static_cast<int16_t>(position + 1);
}

void unlink_scored(PathPool& pool, int32_t position) {
  int16_t* link = &pool.bucket[bucket_of(pool.scored_keys[position])];
  while (*link != position + 1) link = &pool.chain[*link - 1];
  *link = pool.chain[position];
}

int32_t append_scored(PathPool& pool, int32_t n, double cost, uint32_t key) {
  const int32_t position = pool.scored_count;
  pool.scored[position] = n;
  pool.scored_costs[position] = cost;
  pool.scored_keys[position] = key;
  link_scored(pool, position);
  ++pool.scored_count;
  ++pool.hashed_count;
  return position;
}

void rebuild_buckets(PathPool& pool) {
  for (int16_t& head : pool.bucket) head = 0;
  for (int32_t i = 0; i < pool.scored_count; ++i) link_scored(pool, i);
  pool.hashed_count = pool.scored_count;
}

void mark_free(PathPool& pool, int32_t n) {
  pool.entries[n].cost = kFreeEntry;
  pool.free_bits[n / 64] |= uint64_t{1} << (n % 64);
}

void find_free_entries(PathPool& pool) {
  for (uint64_t& word : pool.free_bits) word = 0;
  for (int32_t n = 0; n < kPoolSize; ++n) {
    if (pool.entries[n].cost == kFreeEntry) pool.free_bits[n / 64] |= uint64_t{1} << (n % 64);
  }
}

void clear_scored(PathPool& pool) {
  pool.scored_count = 0;
  pool.worst_position = -1;
  rebuild_buckets(pool);
}

// Paths of one stage share their source's notes: the last ones differ first.
bool same_notes(const PathNote* a, const PathNote* b, int32_t count) {
  if (a[count - 1].type != b[count - 1].type) return false;
  for (int32_t k = count - 1; k >= 0; --k) {
    if (a[k].pitch != b[k].pitch) return false;
  }
  return true;
}

void keep_scored(PathPool& pool, int32_t n, const PathNote* path, int32_t count, double cost,
                 uint32_t key, int32_t serial) {
  // A full stage keeps only a path cheaper than its costliest: any other is
  // dropped whether or not it was scored before.
  const bool full = pool.scored_count >= kMaxScored;
  if (full && !(cost < pool.scored_costs[pool.heap[0]])) {
    mark_free(pool, n);
    return;
  }
  for (int32_t p = pool.bucket[bucket_of(key)]; p != 0; p = pool.chain[p - 1]) {
    const int32_t i = p - 1;
    if (pool.scored_keys[i] == key && same_notes(pool.entries[pool.scored[i]].notes, path, count)) {
      mark_free(pool, n);
      return;
    }
  }
  if (full) {
    const int32_t w = pool.heap[0];
    PoolEntry& target = pool.entries[pool.scored[w]];
    std::memcpy(target.notes, path, sizeof(target.notes));
    target.serial = serial;
    target.cost = cost;
    pool.scored_costs[w] = cost;
    unlink_scored(pool, w);
    pool.scored_keys[w] = key;
    link_scored(pool, w);
    sift_down(pool, 0);
    mark_free(pool, n);
    return;
  }
  PoolEntry& entry = pool.entries[n];
  std::memcpy(entry.notes, path, sizeof(entry.notes));
  entry.serial = serial;
  entry.cost = cost;
  const int32_t position = append_scored(pool, n, cost, key);
  pool.heap[position] = static_cast<int16_t>(position);
  sift_up(pool, position);
}

void lay_out_scored(PathPool& pool) {
  // The scored entries of the last stage are all the pool holds when a
  // search ends: the rest is free.
  const int32_t count = pool.scored_count;
  int32_t order[kMaxScored];
  static_assert(kMaxScored <= kMaxOrdered);
  exchange_order(pool.scored, pool.scored_costs, count, kPoolSize, order);
  // Moved through a copy: the scored entries sit anywhere in the pool.
  PoolEntry kept[kMaxScored];
  for (int32_t k = 0; k < count; ++k) kept[k] = pool.entries[order[k]];
  const int32_t first = kPoolSize - count;
  for (int32_t x = 0; x < first; ++x) pool.entries[x].cost = kFreeEntry;
  for (int32_t k = 0; k < count; ++k) pool.entries[first + k] = kept[k];
}

}  // namespace zelvo::engine
