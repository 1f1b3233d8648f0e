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
  for (int32_t k = 0; k < count; ++k) {
    if (pa[k].pitch != pb[k].pitch) return false;
  }
  return pa[count - 1].type == pb[count - 1].type;
}

void insert_scored(Engine& engine, int32_t n, double cost, int32_t count) {
  PathPool& pool = engine.state.pool;
  PoolEntry& entry = pool.entries[n];
  for (int32_t x = 0; x < kPoolSize; ++x) {
    if (x != n && pool.entries[x].cost >= 0.0 && same_path(engine, x, n, count)) {
      entry.cost = kFreeEntry;
      return;
    }
  }
  if (pool.scored_count >= kMaxScored) {
    int32_t worst = -1;
    for (int32_t x = 0; x < kPoolSize; ++x) {
      if (pool.entries[x].cost < 0.0) continue;
      if (worst < 0 || pool.entries[x].cost > pool.entries[worst].cost) worst = x;
    }
    if (worst >= 0 && cost < pool.entries[worst].cost) {
      std::memcpy(pool.entries[worst].notes, entry.notes, sizeof(entry.notes));
      pool.entries[worst].serial = entry.serial;
      pool.entries[worst].cost = cost;
    }
    entry.cost = kFreeEntry;
    return;
  }
  entry.cost = cost;
  ++pool.scored_count;
}

void sort_pool(Engine& engine) {
  PoolEntry* entries = engine.state.pool.entries;
  for (int32_t i = 0; i < kPoolSize; ++i) {
    for (int32_t j = i; j < kPoolSize; ++j) {
      if (entries[j].cost < entries[i].cost) std::swap(entries[i], entries[j]);
    }
  }
}

bool extend_path(Engine& engine, int32_t s, int32_t l, int32_t e, int32_t i, int32_t j,
                 const LinkState& previous, bool no_lookahead) {
  PathPool& pool = engine.state.pool;
  const Line& line = engine.slot(s).lines[l];
  const LineNote& note = line.notes[i];
  LinkState current{note.bar, note.click, note.duration, note.given_pitch, note.tie_flags, 0, 0};
  const int32_t* row = engine.settings.NonHarmTonesSort[profile_row(engine, line)];
  const bool last = i == line.Tmno - 1;

  int32_t lowest = -engine.settings.OpeningInt;
  int32_t highest = engine.settings.OpeningInt;
  if (previous.bar == -1 || previous.tone_type == kRe) {
    if (line.Tipo == kBassLine) lowest = -12;
    if (line.Tipo == kMelodyLine) highest = 6;
  }

  bool success = false;
  for (int32_t o = lowest; o <= highest; ++o) {
    for (const int32_t type : kRuleOrder) {
      if (!apply_tone_rule(engine, type, s, previous, current, o, row)) continue;
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
