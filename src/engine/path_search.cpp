#include "engine/path_search.h"

#include <cstring>

#include "engine/path_cost.h"
#include "engine/path_pool.h"
#include "engine/subtree_summary.h"
#include "engine/tone_choices.h"

namespace zelvo::engine {

namespace {

// Costs from weights that are all finite and not negative are never
// negative nor NaN: the keyed pool holds them. Other rows keep the pool of
// scans and exchanges (path_pool.h).
bool keyed_weights(const float* weights) {
  for (int32_t k = 0; k < kCostWeights; ++k) {
    if (!(weights[k] >= 0.0f && weights[k] <= 3.4028235e38f)) return false;
  }
  return true;
}

// One path search: what stays fixed while extend recurses, and the path
// being extended. The path's notes after those chosen are its source's
// ({0, 0} after the stage): a scored path is copied whole.
struct Search {
  Engine& engine;
  int32_t s;
  int32_t l;
  const Line& line;
  bool no_lookahead;
  CostSetting cost;
  bool keyed;
  PathNote path[kMaxLineNotes];
};

// The tally of the path's notes 0 .. i - 1.
uint64_t tally_of(const Search& search, int32_t i) {
  PathTally tally;
  for (int32_t k = 0; k < i; ++k) {
    tally_note(tally, search.line, search.path, k, search.cost.top);
    count_outer(tally, search.cost, k, search.path[k].pitch);
  }
  return pack_tally(tally);
}

// Scores the path ending at note i as entry n.
void score(Search& search, int32_t n, int32_t i, uint32_t digest, uint64_t tally) {
  PathPool& pool = search.engine.state.pool;
  const double cost = path_cost(search.cost, search.path, i + 1, unpack_tally(tally));
  const int32_t serial = pool.process_count++;
  const uint32_t key = path_key(digest, search.path[i].type);
  if (search.keyed) {
    keep_scored(pool, n, search.path, i + 1, cost, key, serial);
    return;
  }
  PoolEntry& entry = pool.entries[n];
  std::memcpy(entry.notes, search.path, sizeof(entry.notes));
  entry.serial = serial;
  insert_exchange(pool, n, cost, i + 1, key);
}

// Whether the paths that continue the path from note i (after `previous`,
// with `tally` that of notes 0 .. i - 1) up to the stage end j can be
// passed over: none of them reaches the end, or the stage keeps a full
// hundred and none of them could be kept (subtree_summary.h). Their count
// is added to the scored paths, and `reached` tells whether there were any.
// Only the keyed pool is passed over: the pool of scans and exchanges takes
// every path. The pool has room for the sources, the kept paths and a
// whole chain of a stage's notes, so that no path of the subtree would
// have found it full.
static_assert(kPoolSize >= 2 * kMaxScored + kStageNotes);
bool pass_over(Search& search, int32_t i, int32_t j, const LinkState& previous, uint64_t tally,
               bool& reached) {
  PathPool& pool = search.engine.state.pool;
  if (!search.keyed || pool.scored_count < kMaxScored) return false;
  const int32_t leaf = j < search.line.Tmno - 1 ? j : search.line.Tmno - 1;
  const SubtreeSummary rest = summarize_subtree(search.engine, search.s, search.l, i,
                                                i - (j - (kStageNotes - 1)), leaf, previous,
                                                search.no_lookahead);
  if (rest.paths != 0) {
    const double least = least_cost(search.cost, search.path, leaf + 1, unpack_tally(tally), rest);
    if (least < pool.scored_costs[pool.heap[0]]) return false;
  }
  // Counted as the scoring would, one by one in an int.
  pool.process_count = static_cast<int32_t>(static_cast<uint32_t>(pool.process_count) +
                                            static_cast<uint32_t>(rest.paths));
  reached = rest.paths != 0;
  return true;
}

// Extends the path from note i to the stage end j (or the line's end) after
// previous state `previous`, with `digest` and `tally` those of notes
// 0 .. i - 1; the path is held by entry e, freed at the end. Every choice
// holds an entry of its own while it is extended, so that the scored paths
// land in the entries the search has always given them. True when some
// path reached the end.
bool extend(Search& search, int32_t e, int32_t i, int32_t j, const LinkState& previous,
            uint32_t digest, uint64_t tally) {
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
    const int32_t n = take_free_entry(pool);
    if (n < 0) continue;
    search.path[i] = choice;
    const uint32_t next = digest_step(digest, choice.pitch);
    const uint64_t counted = tally + choices.steps[c];
    if (last || i == j) {
      score(search, n, i, next, counted);
      success = true;
    } else {
      current.chosen_pitch = choice.pitch;
      current.tone_type = choice.type;
      bool reached = false;
      if (pass_over(search, i + 1, j, current, counted, reached)) {
        mark_free(pool, n);
        if (reached) success = true;
        continue;
      }
      if (extend(search, n, i + 1, j, current, next, counted)) success = true;
    }
  }
  mark_free(pool, e);
  return success;
}

}  // namespace

bool build_candidates(Engine& engine, int32_t s, int32_t l, bool no_lookahead) {
  PathPool& pool = engine.state.pool;
  const HarmonizerSettings& settings = engine.settings;
  pool.process_count = 0;
  pool.entries[0].cost = kEntryInUse;
  for (int32_t x = 1; x < kPoolSize; ++x) pool.entries[x].cost = kFreeEntry;
  clear_scored(pool);
  find_free_entries(pool);

  Line& line = engine.slot(s).lines[l];
  if (line.Tipo == kBassLine || line.Tipo == kMelodyLine) rank_outer_notes(engine, s, l);

  LinkState previous = line.npadre;
  if (settings.LinkLimit == 0 && settings.NoLinkAct == 0) previous.bar = -1;

  Search search{engine, s, l, line, no_lookahead, cost_setting(engine, s, l), false, {}};
  search.keyed = keyed_weights(search.cost.weights);
  // Notes a stage has not reached yet are {0, 0}.
  for (PathNote& note : search.path) note = PathNote{0, 0};
  new_choice_stage(engine.state);
  auto finish = [&] {
    if (search.keyed) {
      lay_out_scored(pool);
    } else {
      sort_pool(engine);
    }
  };
  if (!extend(search, 0, 0, kStageNotes - 1, previous, kDigestStart, 0)) return false;
  if (settings.LinkLimit == 1 && settings.LimitOneLink == 1 && s == 1) {
    finish();
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
      std::memcpy(search.path, pool.entries[taken[t]].notes, sizeof(search.path));
      const PathNote& end = search.path[k - 1];
      const LinkState from{before.bar,      before.click, before.duration, before.given_pitch,
                           before.tie_flags, end.pitch,   end.type};
      const uint64_t tally = tally_of(search, k);
      bool reached = false;
      if (pass_over(search, k, k + kStageNotes - 1, from, tally, reached)) {
        mark_free(pool, taken[t]);
        if (reached) any = true;
        continue;
      }
      if (extend(search, taken[t], k, k + kStageNotes - 1, from, digest_of(search.path, k),
                 tally)) {
        any = true;
      }
    }
    if (!any) return false;
  }
  finish();
  return true;
}

}  // namespace zelvo::engine
