#pragma once

// The link search written out literally: every assignment of the previous
// unit's lines to the current unit's lines is tried in enumeration order and
// the first cheapest one wins. Factorial, so only for short lists; it is the
// oracle of the engine's assignment method.

#include <cstdlib>
#include <cstring>

#include "engine/model.h"
#include "engine/settings.h"

namespace zelvo::engine::literal {

class LiteralLinks {
 public:
  // Puts the slot map in order: slot s is unit s of the window.
  LiteralLinks(EngineState& st, const HarmonizerSettings& set) : st_(st), set_(set) {
    for (int32_t s = 0; s < kUnitSlots; ++s) st_.slot_map[s] = s;
  }

  void link_units(int32_t s) {
    if (s < 1) return;
    UnitSlot& a = st_.slots[s - 1];
    UnitSlot& b = st_.slots[s];
    const HarmonyEntry& chord = st_.chords.entries[b.chord_index];
    const int64_t ref = at(chord.bar, chord.click);
    for (int32_t inst = 0; inst <= 16; ++inst) {
      bool any_a = false, any_b = false;
      prev_n_ = cur_n_ = 0;
      for (int32_t l = 0; l < 200 && a.lines[l].Ins != -1; ++l) {
        if (a.lines[l].Ins != inst) continue;
        any_a = true;
        const LineNote& n = a.lines[l].notes[a.lines[l].Tmno - 1];
        if (ref - (at(n.bar, n.click) + n.duration) <= hole()) prev_[prev_n_++] = l;
      }
      for (int32_t l = 0; l < 200 && b.lines[l].Ins != -1; ++l) {
        if (b.lines[l].Ins != inst) continue;
        any_b = true;
        const LineNote& n = b.lines[l].notes[0];
        if (at(n.bar, n.click) - ref <= hole()) cur_[cur_n_++] = l;
      }
      if (!any_a || !any_b || prev_n_ == 0) continue;
      while (cur_n_ < prev_n_) cur_[cur_n_++] = -1;
      best_ = 1000000.0;
      for (int32_t j = 0; j < cur_n_; ++j) used_[j] = false;
      search(0, s);
      if (best_ == 1000000.0) continue;
      for (int32_t i = 0; i < best_n_; ++i) {
        a.lines[best_pairs_[i][0]].Lh = best_pairs_[i][1];
        b.lines[best_pairs_[i][1]].Lp = best_pairs_[i][0];
      }
    }
  }

 private:
  void search(int32_t i, int32_t s) {
    for (int32_t j = 0; j < cur_n_; ++j) {
      if (used_[j]) continue;
      used_[j] = true;
      assign_[i] = j;
      if (i == prev_n_ - 1) {
        evaluate(s);
      } else {
        search(i + 1, s);
      }
      used_[j] = false;
    }
  }

  // Pair cost: the pitch distance of a linkable pair, 5 otherwise.
  void evaluate(int32_t s) {
    double total = 0.0;
    int32_t pairs[200][2];
    int32_t n = 0;
    for (int32_t i = 0; i < prev_n_; ++i) {
      const int32_t c = cur_[assign_[i]];
      const Line& la = st_.slots[s - 1].lines[prev_[i]];
      bool linkable = false;
      int32_t diff = 0;
      if (c != -1) {
        const LineNote& last = la.notes[la.Tmno - 1];
        const LineNote& first = st_.slots[s].lines[c].notes[0];
        diff = std::abs(first.given_pitch - last.given_pitch);
        linkable = diff <= 4 &&
                   at(first.bar, first.click) - (at(last.bar, last.click) + last.duration) <= hole();
      }
      if (linkable) {
        total += diff;
        pairs[n][0] = prev_[i];
        pairs[n][1] = c;
        ++n;
      } else {
        total += 5.0;
      }
    }
    if (total < best_) {
      best_ = total;
      best_n_ = n;
      std::memcpy(best_pairs_, pairs, sizeof(int32_t) * 2 * n);
    }
  }

  int64_t hole() const { return int64_t{set_.HoleForLine} * set_.time.clicks_per_sixteenth; }
  int64_t at(int32_t bar, int32_t click) const {
    return int64_t{bar} * set_.time.beats_per_bar * set_.time.clicks_per_beat + click;
  }

  EngineState& st_;
  const HarmonizerSettings& set_;
  int32_t prev_[200], cur_[200], assign_[200], best_pairs_[200][2];
  bool used_[200];
  int32_t prev_n_ = 0, cur_n_ = 0, best_n_ = 0;
  double best_ = 0.0;
};

}  // namespace zelvo::engine::literal
