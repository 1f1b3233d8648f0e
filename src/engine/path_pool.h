#pragma once

#include <cstdint>

#include "engine/context.h"

namespace zelvo::engine {

// The bookkeeping of the path pool while the path search runs: which
// entries are free, and the scored paths of the current stage.

// A digest of a path's pitches, built note by note as the search extends
// the path, and a key of the digest and the last tone type: equal paths
// have equal keys, so paths are compared only where their keys agree.
constexpr uint32_t kDigestStart = 2166136261u;
inline uint32_t digest_step(uint32_t digest, int8_t pitch) {
  return (digest ^ static_cast<uint8_t>(pitch)) * 16777619u;
}
uint32_t digest_of(const PathNote* notes, int32_t count);
inline uint32_t path_key(uint32_t digest, int8_t last_type) {
  return (digest ^ (0x100u | static_cast<uint8_t>(last_type))) * 16777619u;
}

inline int32_t bucket_of(uint32_t key) {
  return static_cast<int32_t>((key ^ (key >> 8) ^ (key >> 16) ^ (key >> 24)) %
                              PathPool::kBuckets);
}

// The scored paths by key: bucket heads and chains of positions in
// pool.scored.
void link_scored(PathPool& pool, int32_t position);
void unlink_scored(PathPool& pool, int32_t position);
void rebuild_buckets(PathPool& pool);
// Puts entry `n` with `cost` and `key` at the end of the scored paths, in
// its bucket; returns its position there.
int32_t append_scored(PathPool& pool, int32_t n, double cost, uint32_t key);

void mark_free(PathPool& pool, int32_t n);
// The lowest free entry, now marked in use; -1 when the pool is full.
inline int32_t take_free_entry(PathPool& pool) {
  for (int32_t w = 0; w < PathPool::kFreeWords; ++w) {
    if (pool.free_bits[w] == 0) continue;
    const int32_t n = w * 64 + __builtin_ctzll(pool.free_bits[w]);
    pool.free_bits[w] &= pool.free_bits[w] - 1;
    pool.entries[n].cost = kEntryInUse;
    return n;
  }
  return -1;
}
// The free bits from the costs.
void find_free_entries(PathPool& pool);
// No path scored in the stage.
void clear_scored(PathPool& pool);

// Same chosen pitches over `count` notes and the same tone type on the last.
bool same_notes(const PathNote* a, const PathNote* b, int32_t count);

// Scores the path `path` (its first `count` notes chosen, the rest {0, 0})
// taken as entry n with cost `cost` (not negative, not NaN) and the path's
// key: drops it (freeing n) when the stage already scored it; when
// kMaxScored paths are scored, it takes the place of the costliest one (the
// lowest entry among equal costs) if it is cheaper, and n is freed. The
// scored paths form a heap, costliest on top, so no scan finds that one.
void keep_scored(PathPool& pool, int32_t n, const PathNote* path, int32_t count, double cost,
                 uint32_t key, int32_t serial);

// Moves the scored entries to the end of the pool in the order the
// exchange sort gives them (exchange_order.h) and marks the others free:
// the pool as sort_pool leaves it, without sorting it.
void lay_out_scored(PathPool& pool);

// The pool as it was kept for every weight row: insert_exchange scores
// entry n (its notes in place) by scanning for the costliest entry, and
// sort_pool sorts the whole pool by exchanges. Costs may then be negative
// or NaN (negative or infinite weights), which collide with the free and
// in-use marks: kept for such rows, whose outcomes depend on it.
void insert_exchange(PathPool& pool, int32_t n, double cost, int32_t count, uint32_t key);
void sort_pool(Engine& engine);

}  // namespace zelvo::engine
