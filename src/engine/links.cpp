#include "engine/links.h"

#include <cstdlib>

namespace zelvo::engine {

namespace {

// Cost of linking previous line `a` to current entry `c` (a line index or
// -1): the pitch difference of a linkable pair, kUnlinkedCost otherwise.
double pair_cost(Engine& engine, int32_t s, int32_t a, int32_t c) {
  if (c < 0) return kUnlinkedCost;
  const Line& previous = engine.slot(s - 1).lines[a];
  const Line& current = engine.slot(s).lines[c];
  const LineNote& last = previous.notes[previous.Tmno - 1];
  const LineNote& first = current.notes[0];
  const int32_t difference = std::abs(first.given_pitch - last.given_pitch);
  if (difference > kLinkInterval) return kUnlinkedCost;
  if (engine.start_of(first) - engine.end_of(last) > engine.hole_clicks) return kUnlinkedCost;
  return difference;
}

}  // namespace

// Every cost is non-negative and a completion of a partial assignment adds
// at least rest_bound: a branch that cannot come strictly below the best
// total is cut off, which keeps the first cheapest assignment that the full
// enumeration would find.
void search_links(Engine& engine, int32_t level, int32_t s, double partial) {
  LinkSearch& links = engine.state.links;
  for (int32_t j = 0; j < links.current_count; ++j) {
    if (links.used[j]) continue;
    const double cost = partial + links.pair_cost[level][j];
    if (cost + links.rest_bound[level + 1] >= links.best_cost) continue;
    links.used[j] = true;
    links.assignment[level] = j;
    if (level == links.previous_count - 1) {
      links.best_cost = cost;
      links.best_pairs = 0;
      for (int32_t i = 0; i < links.previous_count; ++i) {
        const int32_t entry = links.assignment[i];
        if (links.current[entry] < 0 || links.pair_cost[i][entry] == kUnlinkedCost) continue;
        links.best_previous[links.best_pairs] = links.previous[i];
        links.best_current[links.best_pairs] = links.current[entry];
        ++links.best_pairs;
      }
    } else {
      search_links(engine, level + 1, s, cost);
    }
    links.used[j] = false;
  }
}

void link_units(Engine& engine, int32_t s) {
  if (s < 1) return;
  LinkSearch& links = engine.state.links;
  UnitSlot& before = engine.slot(s - 1);
  UnitSlot& after = engine.slot(s);
  const int64_t reference = engine.start_of(engine.state.chords.entries[after.chord_index]);

  for (int32_t inst = 0; inst <= 16; ++inst) {
    links.previous_count = 0;
    links.current_count = 0;
    bool any_before = false;
    bool any_after = false;
    for (int32_t l = 0; l < kMaxLines && before.lines[l].Ins != -1; ++l) {
      const Line& line = before.lines[l];
      if (line.Ins != inst) continue;
      any_before = true;
      if (reference - engine.end_of(line.notes[line.Tmno - 1]) <= engine.hole_clicks) {
        links.previous[links.previous_count++] = l;
      }
    }
    for (int32_t l = 0; l < kMaxLines && after.lines[l].Ins != -1; ++l) {
      const Line& line = after.lines[l];
      if (line.Ins != inst) continue;
      any_after = true;
      if (engine.start_of(line.notes[0]) - reference <= engine.hole_clicks) {
        links.current[links.current_count++] = l;
      }
    }
    if (!any_before || !any_after || links.previous_count == 0) continue;
    while (links.current_count < links.previous_count) links.current[links.current_count++] = -1;

    links.rest_bound[links.previous_count] = 0.0;
    for (int32_t i = links.previous_count - 1; i >= 0; --i) {
      double least = kUnlinkedCost;
      for (int32_t j = 0; j < links.current_count; ++j) {
        links.pair_cost[i][j] = pair_cost(engine, s, links.previous[i], links.current[j]);
        if (links.pair_cost[i][j] < least) least = links.pair_cost[i][j];
      }
      links.rest_bound[i] = links.rest_bound[i + 1] + least;
    }
    for (int32_t j = 0; j < links.current_count; ++j) links.used[j] = false;
    links.best_cost = kNoLinkCost;
    links.best_pairs = 0;
    search_links(engine, 0, s);
    if (links.best_cost != kNoLinkCost) {
      for (int32_t i = 0; i < links.best_pairs; ++i) {
        before.lines[links.best_previous[i]].Lh = links.best_current[i];
        after.lines[links.best_current[i]].Lp = links.best_previous[i];
      }
    }
  }
}

}  // namespace zelvo::engine
