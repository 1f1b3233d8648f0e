#include "engine/links.h"

#include <cstdlib>

namespace zelvo::engine {

namespace {

// Cost of linking previous line `a` to current entry `c` (a line index or
// -1); sets `linkable`.
double pair_cost(Engine& engine, int32_t s, int32_t a, int32_t c, bool& linkable) {
  linkable = false;
  if (c < 0) return kUnlinkedCost;
  const Line& previous = engine.slot(s - 1).lines[a];
  const Line& current = engine.slot(s).lines[c];
  const LineNote& last = previous.notes[previous.Tmno - 1];
  const LineNote& first = current.notes[0];
  const int32_t difference = std::abs(first.given_pitch - last.given_pitch);
  if (difference > kLinkInterval) return kUnlinkedCost;
  if (engine.start_of(first) - engine.end_of(last) > engine.hole_clicks) return kUnlinkedCost;
  linkable = true;
  return difference;
}

}  // namespace

// The costs are non-negative, so an assignment whose partial cost already
// reaches the best total cannot become strictly better: cutting it off keeps
// the first cheapest assignment, as the full enumeration would.
void search_links(Engine& engine, int32_t level, int32_t s, double partial) {
  LinkSearch& links = engine.state.links;
  const int32_t a = links.previous[level];
  for (int32_t j = 0; j < links.current_count; ++j) {
    if (links.used[j]) continue;
    bool linkable = false;
    const double cost = partial + pair_cost(engine, s, a, links.current[j], linkable);
    if (cost >= links.best_cost) continue;
    links.used[j] = true;
    links.assignment[level] = j;
    if (level == links.previous_count - 1) {
      links.best_cost = cost;
      links.best_pairs = 0;
      for (int32_t i = 0; i < links.previous_count; ++i) {
        const int32_t c = links.current[links.assignment[i]];
        bool ok = false;
        pair_cost(engine, s, links.previous[i], c, ok);
        if (!ok) continue;
        links.best_previous[links.best_pairs] = links.previous[i];
        links.best_current[links.best_pairs] = c;
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
