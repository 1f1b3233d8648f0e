#include "engine/path_search.h"

#include <cstring>
#include <limits>
#include <utility>

#include "engine/path_cost.h"
#include "engine/tone_choices.h"
#include "engine/tone_rules.h"

namespace zelvo::engine {

bool same_path(const Engine& engine, int32_t a, int32_t b, int32_t count) {
  const PathNote* pa = engine.state.pool.entries[a].notes;
  const PathNote* pb = engine.state.pool.entries[b].notes;
  if (pa[count - 1].type != pb[count - 1].type) return false;
  // Paths of one stage share their source's notes: the last ones differ first.
  for (int32_t k = count - 1; k >= 0; --k) {
    if (pa[k].pitch != pb[k].pitch) return false;
  }
  return true;
}

namespace {

// A digest of a path's pitches, built note by note as the search extends
// the path, and of its last tone type: equal paths have equal keys, so
// same_path runs only where the keys agree.
constexpr uint32_t kDigestStart = 2166136261u;
uint32_t digest_step(uint32_t digest, int8_t pitch) {
  return (digest ^ static_cast<uint8_t>(pitch)) * 16777619u;
}
uint32_t digest_of(const PathNote* notes, int32_t count) {
  uint32_t digest = kDigestStart;
  for (int32_t k = 0; k < count; ++k) digest = digest_step(digest, notes[k].pitch);
  return digest;
}
uint32_t path_key(uint32_t digest, int8_t last_type) {
  return (digest ^ (0x100u | static_cast<uint8_t>(last_type))) * 16777619u;
}
int32_t bucket_of(uint32_t key) {
  return static_cast<int32_t>((key ^ (key >> 8) ^ (key >> 16) ^ (key >> 24)) %
                              PathPool::kBuckets);
}

void mark_free(PathPool& pool, int32_t n) {
  pool.entries[n].cost = kFreeEntry;
  pool.free_bits[n / 64] |= uint64_t{1} << (n % 64);
}

// The first free entry by the free bits, now holding a copy of e's path and
// marked in use; -1 when the pool is full.
int32_t take_free_entry(PathPool& pool, int32_t e) {
  for (int32_t w = 0; w < PathPool::kFreeWords; ++w) {
    if (pool.free_bits[w] == 0) continue;
    const int32_t n = w * 64 + __builtin_ctzll(pool.free_bits[w]);
    pool.free_bits[w] &= pool.free_bits[w] - 1;
    std::memcpy(pool.entries[n].notes, pool.entries[e].notes, sizeof(pool.entries[n].notes));
    pool.entries[n].cost = kEntryInUse;
    return n;
  }
  return -1;
}

// The free bits from the costs.
void find_free_entries(PathPool& pool) {
  for (uint64_t& word : pool.free_bits) word = 0;
  for (int32_t n = 0; n < kPoolSize; ++n) {
    if (pool.entries[n].cost == kFreeEntry) pool.free_bits[n / 64] |= uint64_t{1} << (n % 64);
  }
}

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

void rebuild_buckets(PathPool& pool) {
  for (int16_t& head : pool.bucket) head = 0;
  for (int32_t i = 0; i < pool.scored_count; ++i) link_scored(pool, i);
  pool.hashed_count = pool.scored_count;
}

void clear_scored(PathPool& pool) {
  pool.scored_count = 0;
  pool.worst_position = -1;
  rebuild_buckets(pool);
}

// insert_scored with the path's key worked out.
void insert_keyed(Engine& engine, int32_t n, double cost, int32_t count, uint32_t key) {
  PathPool& pool = engine.state.pool;
  PoolEntry& entry = pool.entries[n];
  if (pool.hashed_count != pool.scored_count) rebuild_buckets(pool);
  for (int32_t p = pool.bucket[bucket_of(key)]; p != 0; p = pool.chain[p - 1]) {
    const int32_t i = p - 1;
    if (pool.scored_keys[i] == key && pool.scored[i] != n &&
        same_path(engine, pool.scored[i], n, count)) {
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
  const int32_t position = pool.scored_count;
  pool.scored[position] = n;
  pool.scored_costs[position] = cost;
  pool.scored_keys[position] = key;
  link_scored(pool, position);
  ++pool.scored_count;
  ++pool.hashed_count;
  pool.worst_position = -1;
}

}  // namespace

// The scored entries are exactly those listed in pool.scored, so the search
// for a duplicate visits only the scored entries of the new path's digest.
void insert_scored(Engine& engine, int32_t n, double cost, int32_t count) {
  const PathNote* notes = engine.state.pool.entries[n].notes;
  insert_keyed(engine, n, cost, count, path_key(digest_of(notes, count), notes[count - 1].type));
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

namespace {

// One path search: what stays fixed while extend_path recurses.
struct Search {
  Engine& engine;
  int32_t s;
  int32_t l;
  const Line& line;
  bool no_lookahead;
  CostSetting cost;
};

// The tally of a source's notes 0 .. i - 1.
PathTally tally_of(const Search& search, const PathNote* notes, int32_t i) {
  PathTally tally;
  for (int32_t k = 0; k < i; ++k) tally_note(tally, search.line, notes, k, search.cost.top);
  return tally;
}

// extend_path, with `digest` and `tally` those of the source's notes 0 .. i - 1.
bool extend(Search& search, int32_t e, int32_t i, int32_t j, const LinkState& previous,
            uint32_t digest, const PathTally& tally) {
  Engine& engine = search.engine;
  PathPool& pool = engine.state.pool;
  const Line& line = search.line;
  const LineNote& note = line.notes[i];
  const bool last = i == line.Tmno - 1;
  const ChoiceList choices = tone_choices(engine, search.s, search.l, i,
                                          i - (j - (kStageNotes - 1)), previous,
                                          search.no_lookahead);
  LinkState current{note.bar, note.click, note.duration, note.given_pitch, note.tie_flags, 0, 0};
  bool success = false;
  for (int32_t c = 0; c < choices.count; ++c) {
    const PathNote choice = choices.notes[c];
    // A full pool stays full until an extension ends: the rest are dropped.
    const int32_t n = take_free_entry(pool, e);
    if (n < 0) continue;
    pool.entries[n].notes[i] = choice;
    const uint32_t next = digest_step(digest, choice.pitch);
    PathTally counted = tally;
    tally_note(counted, line, pool.entries[n].notes, i, search.cost.top);
    if (last || i == j) {
      const double cost = path_cost(search.cost, pool.entries[n].notes, i + 1, counted);
      pool.entries[n].serial = pool.process_count++;
      insert_keyed(engine, n, cost, i + 1, path_key(next, choice.type));
      success = true;
    } else {
      current.chosen_pitch = choice.pitch;
      current.tone_type = choice.type;
      if (extend(search, n, i + 1, j, current, next, counted)) success = true;
    }
  }
  mark_free(pool, e);
  return success;
}

}  // namespace

bool extend_path(Engine& engine, int32_t s, int32_t l, int32_t e, int32_t i, int32_t j,
                 const LinkState& previous, bool no_lookahead) {
  Search search{engine, s, l, engine.slot(s).lines[l], no_lookahead, cost_setting(engine, s, l)};
  find_free_entries(engine.state.pool);
  new_choice_stage(engine.state);
  const PathNote* notes = engine.state.pool.entries[e].notes;
  return extend(search, e, i, j, previous, digest_of(notes, i), tally_of(search, notes, i));
}

bool build_candidates(Engine& engine, int32_t s, int32_t l, bool no_lookahead) {
  PathPool& pool = engine.state.pool;
  const HarmonizerSettings& settings = engine.settings;
  pool.process_count = 0;
  pool.entries[0].cost = kEntryInUse;
  // Notes a stage has not reached yet hold what entry 0 held: keep that fixed.
  for (PathNote& note : pool.entries[0].notes) note = PathNote{0, 0};
  for (int32_t x = 1; x < kPoolSize; ++x) pool.entries[x].cost = kFreeEntry;
  clear_scored(pool);
  find_free_entries(pool);

  Line& line = engine.slot(s).lines[l];
  if (line.Tipo == kBassLine || line.Tipo == kMelodyLine) rank_outer_notes(engine, s, l);

  LinkState previous = line.npadre;
  if (settings.LinkLimit == 0 && settings.NoLinkAct == 0) previous.bar = -1;

  Search search{engine, s, l, line, no_lookahead, cost_setting(engine, s, l)};
  new_choice_stage(engine.state);
  if (!extend(search, 0, 0, kStageNotes - 1, previous, kDigestStart, PathTally{})) return false;
  if (settings.LinkLimit == 1 && settings.LimitOneLink == 1 && s == 1) {
    sort_pool(engine);
    return true;
  }

  int32_t taken[kPoolSize];
  for (int32_t k = kStageNotes; k < line.Tmno; k += kStageNotes) {
    int32_t taken_count = 0;
    for (int32_t x = 0; x < kPoolSize; ++x) {
      if (pool.entries[x].cost < 0.0) continue;
      pool.entries[x].cost = kEntryInUse;
      taken[taken_count++] = x;
    }
    clear_scored(pool);
    find_free_entries(pool);
    new_choice_stage(engine.state);
    bool any = false;
    const LineNote& before = line.notes[k - 1];
    for (int32_t t = 0; t < taken_count; ++t) {
      const PathNote* notes = pool.entries[taken[t]].notes;
      const PathNote& end = notes[k - 1];
      const LinkState from{before.bar,      before.click, before.duration, before.given_pitch,
                           before.tie_flags, end.pitch,   end.type};
      if (extend(search, taken[t], k, k + kStageNotes - 1, from, digest_of(notes, k),
                 tally_of(search, notes, k))) {
        any = true;
      }
    }
    if (!any) return false;
  }
  sort_pool(engine);
  return true;
}

}  // namespace zelvo::engine
