#include "engine/links.h"

#include <cstdlib>

namespace zelvo::engine {

int32_t link_pair_cost(Engine& engine, int32_t s, int32_t a, int32_t c) {
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

// Trying every assignment would take time growing with the factorial of the
// number of lines; the assignment problem gives the same pairs in
// polynomial time. Totals are small whole numbers, so the double best cost
// is exactly what summing in double would give.
void search_links(LinkSearch& links) {
  AssignmentWork& work = links.work;
  links.best_cost =
      static_cast<double>(first_least_assignment(work, links.previous_count, links.current_count));
  links.best_pairs = 0;
  for (int32_t i = 0; i < links.previous_count; ++i) {
    const int32_t entry = work.row_column[i];
    if (links.current[entry] < 0 || work.cost[i][entry] == kUnlinkedCost) continue;
    links.best_previous[links.best_pairs] = links.previous[i];
    links.best_current[links.best_pairs] = links.current[entry];
    ++links.best_pairs;
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

    for (int32_t i = 0; i < links.previous_count; ++i) {
      for (int32_t j = 0; j < links.current_count; ++j) {
        links.work.cost[i][j] = link_pair_cost(engine, s, links.previous[i], links.current[j]);
      }
    }
    links.best_cost = kNoLinkCost;
    search_links(links);
    if (links.best_cost != kNoLinkCost) {
      for (int32_t i = 0; i < links.best_pairs; ++i) {
        before.lines[links.best_previous[i]].Lh = links.best_current[i];
        after.lines[links.best_current[i]].Lp = links.best_previous[i];
      }
    }
  }
}

}  // namespace zelvo::engine
