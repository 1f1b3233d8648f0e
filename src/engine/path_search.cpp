#include "engine/path_search.h"

#include <cstring>
#include <utility>

#include "engine/path_cost.h"
#include "engine/tone_rules.h"

namespace zelvo::engine {

int32_t take_pool_entry(Engine& engine, int32_t e) {
  PathPool& pool = engine.state.pool;
  for (int32_t n = 0; n < kPoolSize; ++n) {
    if (pool.entries[n].cost != kFreeEntry) continue;
    std::memcpy(pool.entries[n].notes, pool.entries[e].notes, sizeof(pool.entries[n].notes));
    pool.entries[n].cost = kEntryInUse;
    return n;
  }
  return -1;
}

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

// A digest of a path's last few pitches and its last tone type: equal paths
// have equal keys, so same_path runs only where the keys agree.
uint32_t path_key(const PathNote* notes, int32_t count) {
  uint32_t key = static_cast<uint8_t>(notes[count - 1].type);
  const int32_t from = count > kStageNotes ? count - kStageNotes : 0;
  for (int32_t k = from; k < count; ++k) key = key * 131u + static_cast<uint8_t>(notes[k].pitch);
  return key;
}

}  // namespace

// The scored entries are exactly those listed in pool.scored, so the scans
// below visit at most kMaxScored entries instead of the whole pool.
void insert_scored(Engine& engine, int32_t n, double cost, int32_t count) {
  PathPool& pool = engine.state.pool;
  PoolEntry& entry = pool.entries[n];
  const uint32_t key = path_key(entry.notes, count);
  for (int32_t i = 0; i < pool.scored_count; ++i) {
    if (pool.scored_keys[i] == key && pool.scored[i] != n &&
        same_path(engine, pool.scored[i], n, count)) {
      entry.cost = kFreeEntry;
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
      pool.scored_keys[w] = key;
      pool.worst_position = -1;
    }
    entry.cost = kFreeEntry;
    return;
  }
  entry.cost = cost;
  pool.scored[pool.scored_count] = n;
  pool.scored_costs[pool.scored_count] = cost;
  pool.scored_keys[pool.scored_count] = key;
  ++pool.scored_count;
  pool.worst_position = -1;
}

// The exchange sort runs on the costs and an index table; the entries are
// moved once at the end into the order the sort gives.
void sort_pool(Engine& engine) {
  PathPool& pool = engine.state.pool;
  double costs[kPoolSize];
  int16_t order[kPoolSize];
  for (int32_t i = 0; i < kPoolSize; ++i) {
    costs[i] = pool.entries[i].cost;
    order[i] = static_cast<int16_t>(i);
  }
  for (int32_t i = 0; i < kPoolSize; ++i) {
    for (int32_t j = i; j < kPoolSize; ++j) {
      if (costs[j] < costs[i]) {
        std::swap(costs[i], costs[j]);
        std::swap(order[i], order[j]);
      }
    }
  }
  PoolEntry* sorted = engine.state.pool_scratch;
  for (int32_t i = 0; i < kPoolSize; ++i) sorted[i] = pool.entries[order[i]];
  std::memcpy(static_cast<void*>(pool.entries), sorted, sizeof(pool.entries));
}

bool extend_path(Engine& engine, int32_t s, int32_t l, int32_t e, int32_t i, int32_t j,
                 const LinkState& previous, bool no_lookahead) {
  PathPool& pool = engine.state.pool;
  const Line& line = engine.slot(s).lines[l];
  const LineNote& note = line.notes[i];
  LinkState current{note.bar, note.click, note.duration, note.given_pitch, note.tie_flags, 0, 0};
  const int32_t* row = engine.settings.NonHarmTonesSort[profile_row(engine, line)];
  const bool last = i == line.Tmno - 1;

  int64_t lowest = -int64_t{engine.settings.OpeningInt};
  int64_t highest = engine.settings.OpeningInt;
  if (previous.bar == -1 || previous.tone_type == kRe) {
    if (line.Tipo == kBassLine) lowest = -12;
    if (line.Tipo == kMelodyLine) highest = 6;
  }
  // Every rule refuses a pitch outside 0-127: offsets beyond are not tried.
  if (lowest < -int64_t{note.given_pitch}) lowest = -int64_t{note.given_pitch};
  if (highest > 127 - int64_t{note.given_pitch}) highest = 127 - int64_t{note.given_pitch};

  const ToneRules rules(engine, s, previous, current, row);
  bool success = false;
  for (int64_t o = lowest; o <= highest; ++o) {
    const int32_t pitch = static_cast<int32_t>(note.given_pitch + o);
    for (const int32_t type : kRuleOrder) {
      if (!rules.accepts(type, pitch)) continue;
      current.chosen_pitch = pitch;
      current.tone_type = type;
      if (no_lookahead && last && type != kRe) continue;
      if (last && (type == kAs || type == kAi)) continue;
      const int32_t n = take_pool_entry(engine, e);
      if (n < 0) break;  // pool full: on with the next offset
      pool.entries[n].notes[i] = PathNote{static_cast<int8_t>(current.chosen_pitch),
                                          static_cast<int8_t>(current.tone_type)};
      if (last || i == j) {
        const double cost = path_cost(engine, n, s, l, i + 1);
        pool.entries[n].serial = pool.process_count++;
        insert_scored(engine, n, cost, i + 1);
        success = true;
      } else if (extend_path(engine, s, l, n, i + 1, j, current, no_lookahead)) {
        success = true;
      }
    }
  }
  pool.entries[e].cost = kFreeEntry;
  return success;
}

bool build_candidates(Engine& engine, int32_t s, int32_t l, bool no_lookahead) {
  PathPool& pool = engine.state.pool;
  const HarmonizerSettings& settings = engine.settings;
  pool.process_count = 0;
  pool.entries[0].cost = kEntryInUse;
  // Notes a stage has not reached yet hold what entry 0 held: keep that fixed.
  for (PathNote& note : pool.entries[0].notes) note = PathNote{0, 0};
  for (int32_t x = 1; x < kPoolSize; ++x) pool.entries[x].cost = kFreeEntry;
  pool.scored_count = 0;
  pool.worst_position = -1;

  Line& line = engine.slot(s).lines[l];
  if (line.Tipo == kBassLine || line.Tipo == kMelodyLine) rank_outer_notes(engine, s, l);

  LinkState previous = line.npadre;
  if (settings.LinkLimit == 0 && settings.NoLinkAct == 0) previous.bar = -1;

  if (!extend_path(engine, s, l, 0, 0, kStageNotes - 1, previous, no_lookahead)) return false;
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
    pool.scored_count = 0;
    pool.worst_position = -1;
    bool any = false;
    const LineNote& before = line.notes[k - 1];
    for (int32_t t = 0; t < taken_count; ++t) {
      const PathNote& end = pool.entries[taken[t]].notes[k - 1];
      const LinkState from{before.bar,      before.click, before.duration, before.given_pitch,
                           before.tie_flags, end.pitch,   end.type};
      if (extend_path(engine, s, l, taken[t], k, k + kStageNotes - 1, from, no_lookahead)) {
        any = true;
      }
    }
    if (!any) return false;
  }
  sort_pool(engine);
  return true;
}

}  // namespace zelvo::engine
