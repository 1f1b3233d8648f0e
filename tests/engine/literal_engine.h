#pragma once

// A slow, literal harmonization engine for the tests: the unit window moved
// by whole-slot copies, every assignment of the link search evaluated, the
// path pool scanned whole by insert_scored and sorted by exchanging whole
// entries, units, lines, tone rules and the path cost written out step by
// step. The comparison tests run it side by side with the engine on random
// music.

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "console/console.h"
#include "engine/context.h"
#include "engine/model.h"
#include "engine/settings.h"

namespace zelvo::engine::literal {

struct Pool {
  PathNote notes[kPoolSize][kMaxLineNotes];
  double cost[kPoolSize];
  int32_t scored = 0;
};

class LiteralEngine {
 public:
  // `st` must be a separate state holding the same music and harmony.
  LiteralEngine(EngineState& st, const HarmonizerSettings& set) : st_(st), set_(set) {
    for (int32_t s = 0; s < kUnitSlots; ++s) st_.slot_map[s] = s;
  }

  console::Console out;  // what the engine would print
  bool failed = false;
  // How often the rarer branches ran (the tests check that they are reached).
  int64_t duplicates = 0, full_pool_inserts = 0, replacements = 0, pool_full = 0, links_made = 0,
          reused_lists = 0, lookahead_ties = 0;
  int32_t result_count = 0;
  std::unique_ptr<MusicNote[]> result = std::make_unique<MusicNote[]>(kMaxMusicNotes);

  void print(const char* text) { console::console_print(out, console::same_text("%s"), text); }

  void run() {
    const int32_t count = st_.music.note_count;
    int32_t next = 0;
    int32_t top = 0;
    for (int32_t s = 0; s < 4; ++s) {
      const int32_t last = unit(s, next);
      lines(s);
      outer(s);
      next = last + 1;
      link_units(s);
      top = s;
      if (next >= count) break;
    }
    for (;;) {
      UnitSlot& u = slot(0);
      const MusicNote& f = st_.music.notes[u.first_note];
      char text[200];
      if (set_.ShowLineInfo != 0) {
        std::snprintf(text, sizeof text, "\n\n** Harmonizing bar %d sixteenth %d\n", f.Cpin,
                      f.Ckin / semic());
      } else {
        std::snprintf(text, sizeof text, "\n** Harmonizing bar %d sixteenth %d", f.Cpin,
                      f.Ckin / semic());
      }
      print(text);
      for (int32_t l = 0; l < 200 && u.lines[l].Ins != -1; ++l) {
        if (set_.ShowLineInfo != 0) {
          std::snprintf(text, sizeof text, "\n\tInstrument %d line number %d", u.lines[l].Ins, l);
          print(text);
        }
        const float cost = search_line(0, l);
        if (cost < 0.0f) {
          print("\nError: Impossible to harmonize!!");
          failed = true;
          return;
        }
        if (set_.ShowLineInfo != 0) summary(u.lines[l], u.candidates[l][u.lines[l].Arn]);
      }
      for (int32_t l = 0; l < 200 && u.lines[l].Ins != -1; ++l) {
        const Line& line = u.lines[l];
        for (int32_t k = 0; k < line.Tmno; ++k) {
          const LineNote& n = line.notes[k];
          result[result_count++] = MusicNote{line.Ins,
                                             n.bar,
                                             n.click,
                                             n.duration,
                                             u.candidates[l][line.Arn].notes[k].pitch,
                                             n.velocity,
                                             static_cast<uint32_t>(n.tie_flags)};
        }
      }
      if (u.last_note >= count - 1) {
        for (int32_t i = 0; i < result_count; ++i) st_.music.notes[i] = result[i];
        return;
      }
      for (int32_t s = 0; s < top; ++s) slot(s) = slot(s + 1);
      if (next >= count) {
        std::memset(static_cast<void*>(&slot(top)), 0, sizeof(UnitSlot));
      } else {
        const int32_t last = unit(top, next);
        lines(top);
        outer(top);
        next = last + 1;
        link_units(top);
      }
    }
  }

 private:
  EngineState& st_;
  const HarmonizerSettings& set_;
  std::unique_ptr<Pool> pool_ = std::make_unique<Pool>();
  // Link search of one instrument.
  int32_t prev_[200], cur_[200], assign_[200], best_pairs_[200][2];
  bool used_[200];
  int32_t prev_n_ = 0, cur_n_ = 0, best_n_ = 0;
  double best_ = 0.0;

  UnitSlot& slot(int32_t s) { return st_.slots[s]; }
  int32_t semic() const { return set_.time.clicks_semic; }
  int32_t parte() const { return set_.time.clicks_parte; }
  int64_t hole() const { return int64_t{set_.HoleForLine} * semic(); }
  int64_t at(int32_t bar, int32_t click) const {
    return int64_t{bar} * set_.time.compas_num * parte() + click;
  }

  static void name(int32_t pitch, char* text) {
    static const char kLetters[] = "cCdDefFgGaAb";
    char letter = pitch % 12 < 0 ? 'X' : kLetters[pitch % 12];
    int32_t octave = pitch / 12;
    if (octave >= 1) octave = octave - 1;
    std::sprintf(text, "%c%d", letter, octave);
  }
  void summary(const Line& line, const Candidate& c) {
    static const char* kTypes[] = {"fa", "fd", "pa", "pd", "as", "ai", "ea", "ed"};
    char text[32];
    print("\n\t\t");
    for (int32_t k = 0; k < line.Tmno; ++k) {
      name(line.notes[k].given_pitch, text);
      print((std::string(text) + "\t").c_str());
    }
    print("\n\t\t");
    for (int32_t k = 0; k < line.Tmno; ++k) {
      name(c.notes[k].pitch, text);
      print((std::string(text) + "\t").c_str());
    }
    print("\n\t\t");
    for (int32_t k = 0; k < line.Tmno; ++k) {
      const int32_t t = c.notes[k].type;
      print((std::string(t == 99 ? "re" : (t >= 0 && t < 8 ? kTypes[t] : "xx")) + "\t").c_str());
    }
  }

  // ---- units and lines ----
  int64_t start(const MusicNote& n) const { return at(n.Cpin, n.Ckin); }
  int64_t end(const MusicNote& n) const { return start(n) + n.Dur; }
  int32_t entry_before_later(const HarmonyTable& table, int64_t t) const {
    int32_t k = 0;
    while (k < kMaxHarmonyEntries && table.entries[k].bar != 0 &&
           !(at(table.entries[k].bar, table.entries[k].click) > t)) {
      ++k;
    }
    return k - 1;
  }
  int32_t unit(int32_t s, int32_t first) {
    UnitSlot& u = slot(s);
    std::memset(static_cast<void*>(&u), 0, sizeof(UnitSlot));
    for (int32_t l = 0; l < 200; ++l) {
      Line& line = u.lines[l];
      line.Tipo = 1;
      line.Ins = line.Lp = line.Lh = line.Arn = -1;
      line.npadre.bar = -1;
      for (int32_t c = 0; c < 100; ++c) u.candidates[l][c].notes[0].pitch = -1;
    }
    u.first_note = first;
    const MusicNote* notes = st_.music.notes;
    const int32_t count = st_.music.note_count;
    const int64_t t0 = start(notes[first]);
    u.chord_index = entry_before_later(st_.chords, t0);
    u.scale_index = entry_before_later(st_.scales, t0);
    int64_t end_time = start(notes[count - 1]) + 1;
    for (int32_t k = 0; k < kMaxHarmonyEntries && st_.chords.entries[k].bar != 0; ++k) {
      const int64_t t = at(st_.chords.entries[k].bar, st_.chords.entries[k].click);
      if (t > t0) {
        end_time = t;
        break;
      }
    }
    for (int32_t k = 0; k < kMaxHarmonyEntries && st_.scales.entries[k].bar != 0; ++k) {
      const int64_t t = at(st_.scales.entries[k].bar, st_.scales.entries[k].click);
      if (t > t0) {
        if (t < end_time) end_time = t;
        break;
      }
    }
    int32_t counters[16] = {};
    int32_t n = first;
    bool overflow = false;
    while (n < count && start(notes[n]) < end_time) {
      if (notes[n].Inst >= 0 && notes[n].Inst <= 15) ++counters[notes[n].Inst];
      for (int32_t c : counters) overflow = overflow || c >= 100 || c >= set_.HarmUnitNoteLimit;
      if (overflow) break;
      ++n;
    }
    int32_t last = n - 1;
    if (overflow) {
      for (int32_t k = n - 1; k >= first; --k) {
        if (start(notes[k]) != start(notes[n])) {
          last = k;
          break;
        }
      }
      if (last < first) last = first;  // the engine's choice for limits of 1 or less
    }
    u.last_note = last;
    return last;
  }

  MusicNote work_[100];
  int32_t tag_[100];
  int32_t work_n_ = 0, chain_ = 0;

  bool can_follow(int32_t a, int32_t b) const {
    const MusicNote& x = work_[a];
    const MusicNote& y = work_[b];
    return x.Note - y.Note >= -2 && x.Note - y.Note <= 2 && end(x) + hole() >= start(y) &&
           end(x) <= start(y) && start(x) != start(y);
  }
  void chain(int32_t i, int32_t way, bool mark, int32_t number) {
    if (mark) tag_[i] = number;
    for (;;) {
      int32_t j = -1;
      for (int32_t k = i + way; k >= 0 && k < work_n_; k += way) {
        if (tag_[k] == 0 && (way > 0 ? can_follow(i, k) : can_follow(k, i))) {
          j = k;
          break;
        }
      }
      if (j == -1) return;
      int32_t best = j;
      for (int32_t k = j + way; k >= 0 && k < work_n_; k += way) {
        if (tag_[k] != 0 || start(work_[k]) != start(work_[j])) break;
        if (!(way > 0 ? can_follow(i, k) : can_follow(k, i))) break;
        if (work_[k].Note > work_[best].Note) best = k;
      }
      ++chain_;
      if (mark) tag_[best] = number;
      i = best;
    }
  }
  int32_t extreme(int32_t tag, int32_t direction) const {
    int32_t best = -1;
    for (int32_t k = 0; k < work_n_; ++k) {
      if (tag_[k] != tag) continue;
      if (best == -1 ||
          (direction == 0 ? work_[k].Note < work_[best].Note : work_[k].Note > work_[best].Note)) {
        best = k;
      }
    }
    return best;
  }
  bool fits(int32_t p, int32_t q, int32_t x) const {
    const int64_t lower = p == -1 ? 0 : end(work_[p]);
    const int64_t upper = q == work_n_ ? end(work_[work_n_ - 1]) : start(work_[q]);
    if (tag_[x] == -1) return start(work_[x]) >= lower && end(work_[x]) <= upper;
    int32_t first = -1, last = -1;
    for (int32_t k = 0; k < work_n_; ++k) {
      if (tag_[k] != tag_[x]) continue;
      if (first == -1) first = k;
      last = k;
    }
    return start(work_[first]) >= lower && end(work_[last]) <= upper;
  }
  void holes(int32_t k, int32_t p, int32_t direction, bool refused) {
    for (;;) {
      int32_t q;
      for (;;) {
        q = -1;
        for (int32_t x = p + 1; x < work_n_; ++x) {
          if (tag_[x] == k) {
            q = x;
            break;
          }
        }
        if (p == -1 && q == -1) return;
        if (q == -1) {
          if (end(work_[p]) > start(work_[work_n_ - 1])) return;
          q = work_n_;
          break;
        }
        if (p == -1) {
          if (start(work_[0]) < start(work_[q])) break;
        } else if (start(work_[q]) > end(work_[p])) {
          break;
        }
        p = p + 1;
      }
      int32_t filler = -1;
      for (int32_t x = p + 1; x < q; ++x) {
        if (tag_[x] == -1 && !refused) continue;
        if (!fits(p, q, x)) continue;
        if (filler == -1 || (direction == 0 ? work_[x].Note < work_[filler].Note
                                            : work_[x].Note > work_[filler].Note)) {
          filler = x;
        }
      }
      if (filler != -1) {
        if (tag_[filler] == -1) tag_[filler] = k;
        const int32_t old = tag_[filler];
        for (int32_t x = 0; x < work_n_; ++x) {
          if (tag_[x] == old) tag_[x] = k;
        }
        continue;
      }
      if (q == work_n_) return;
      p = q;
    }
  }
  void instrument(int32_t inst, int32_t s, int32_t direction) {
    work_n_ = 0;
    for (int32_t n = slot(s).first_note; n <= slot(s).last_note; ++n) {
      if (st_.music.notes[n].Inst != inst) continue;
      work_[work_n_] = st_.music.notes[n];
      tag_[work_n_++] = 0;
    }
    if (work_n_ == 0) return;
    int32_t number = 1;
    for (;;) {
      const int32_t seed = extreme(0, direction);
      if (seed == -1) break;
      chain_ = 1;
      chain(seed, 1, false, number);
      chain(seed, -1, false, number);
      if (chain_ >= set_.MinNotesInLine) {
        chain_ = 1;
        chain(seed, 1, true, number);
        chain(seed, -1, true, number);
        ++number;
      } else {
        tag_[seed] = -1;
      }
    }
    for (int32_t k = 1; k < work_n_; ++k) holes(k, -1, direction, false);
    int32_t m = -1;
    for (int32_t x = 0; x < work_n_; ++x) m = tag_[x] > m ? tag_[x] : m;
    for (int32_t k = m + 1;; ++k) {
      const int32_t x = extreme(-1, direction);
      if (x == -1) break;
      tag_[x] = k;
      holes(k, x, direction, true);
    }
  }
  void lines(int32_t s) {
    UnitSlot& u = slot(s);
    int32_t low = u.first_note;
    for (int32_t n = u.first_note; n <= u.last_note; ++n) {
      if (st_.music.notes[n].Note < st_.music.notes[low].Note) low = n;
    }
    int32_t next = 0;
    for (int32_t inst = 1; inst <= 15; ++inst) {
      const bool up =
          set_.BassIns == inst || (set_.BassIns == -1 && inst == st_.music.notes[low].Inst);
      instrument(inst, s, up ? 0 : 1);
      if (work_n_ == 0) continue;
      int32_t top = -1;
      for (int32_t x = 0; x < work_n_; ++x) top = tag_[x] > top ? tag_[x] : top;
      for (int32_t t = 0; t <= top + 1; ++t) {
        const int32_t tag = t <= top ? t : -1;
        int32_t n = 0;
        Line& line = u.lines[next];
        for (int32_t x = 0; x < work_n_; ++x) {
          if (tag_[x] != tag) continue;
          const MusicNote& w = work_[x];
          line.notes[n++] =
              LineNote{w.Cpin, w.Ckin, w.Dur, w.Note, w.Vel, static_cast<int32_t>(w.tie_flags)};
        }
        if (n == 0) continue;
        line.Tipo = 1;
        line.Ins = inst;
        line.Tmno = n;
        ++next;
      }
    }
    for (int32_t l = next; l < 200; ++l) u.lines[l].Ins = -1;
  }
  void outer(int32_t s) {
    UnitSlot& u = slot(s);
    for (int32_t pass = 0; pass < 2; ++pass) {
      const int32_t which = pass == 0 ? set_.MelIns : set_.BassIns;
      if (which == -2) continue;
      int32_t best_line = -1, best = 0;
      for (int32_t l = 0; l < 200 && u.lines[l].Ins != -1; ++l) {
        if (which >= 0 && u.lines[l].Ins != which) continue;
        for (int32_t k = 0; k < u.lines[l].Tmno; ++k) {
          const int32_t p = u.lines[l].notes[k].given_pitch;
          if (best_line == -1 || (pass == 0 ? p > best : p < best)) {
            best_line = l;
            best = p;
          }
        }
      }
      if (best_line != -1) u.lines[best_line].Tipo = pass == 0 ? 3 : 2;
    }
  }

  // ---- links ---- (public: the link search's own test compares with it)
 public:
  void link_units(int32_t s) {
    if (s < 1) return;
    UnitSlot& a = slot(s - 1);
    UnitSlot& b = slot(s);
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
      if (!any_a || !any_b) continue;
      if (prev_n_ == 0) continue;
      while (cur_n_ < prev_n_) cur_[cur_n_++] = -1;
      best_ = 1000000.0;
      for (int32_t j = 0; j < cur_n_; ++j) used_[j] = false;
      search_links(0, s);
      if (best_ != 1000000.0) {
        links_made += best_n_;
        for (int32_t i = 0; i < best_n_; ++i) {
          a.lines[best_pairs_[i][0]].Lh = best_pairs_[i][1];
          b.lines[best_pairs_[i][1]].Lp = best_pairs_[i][0];
        }
      }
    }
  }
  void search_links(int32_t i, int32_t s) {
    for (int32_t j = 0; j < cur_n_; ++j) {
      if (used_[j]) continue;
      used_[j] = true;
      assign_[i] = j;
      if (i == prev_n_ - 1) {
        evaluate(s);
      } else {
        search_links(i + 1, s);
      }
      used_[j] = false;
    }
  }
  void evaluate(int32_t s) {
    double total = 0.0;
    int32_t pairs[200][2];
    int32_t n = 0;
    for (int32_t i = 0; i < prev_n_; ++i) {
      const int32_t c = cur_[assign_[i]];
      const Line& la = slot(s - 1).lines[prev_[i]];
      bool linkable = false;
      int32_t diff = 0;
      if (c != -1) {
        const Line& lc = slot(s).lines[c];
        const LineNote& last = la.notes[la.Tmno - 1];
        const LineNote& first = lc.notes[0];
        diff = std::abs(first.given_pitch - last.given_pitch);
        linkable =
            diff <= 4 &&
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

 private:
  // ---- tone rules ----
  int32_t weight(int32_t click) const {
    if (click == 0) return 4;
    if (click % parte() != 0) return 1;
    if (click / parte() == 2 && set_.time.compas_num == 4) return 3;
    return 2;
  }
  static int32_t step(int32_t a, int32_t b) {
    if (b - a == 1 || b - a == 2) return 1;
    if (a - b == 1 || a - b == 2) return -1;
    return 0;
  }
  static bool present(const HarmonyEntry& e, int32_t p) {
    const char c = e.marks[p % 12];
    return std::isupper(static_cast<unsigned char>(c)) ||
           std::isdigit(static_cast<unsigned char>(c)) || c == '#';
  }
  bool rule(int32_t type, int32_t s, const LinkState& P, LinkState& C, int32_t o,
            const int32_t* row) {
    const int32_t p = C.given_pitch + o;
    if (p < 0 || p > 127) return false;
    const HarmonyEntry& chord = st_.chords.entries[slot(s).chord_index];
    const HarmonyEntry& scale = st_.scales.entries[slot(s).scale_index];
    const bool has = P.bar != -1;
    const bool gap = has && at(C.bar, C.click) - (at(P.bar, P.click) + P.duration) > hole();
    const int32_t six = C.duration / semic();
    const int32_t nhd = set_.NonHarmToneDur;
    bool ok = false;
    if (type == 99) {
      if (!present(chord, p)) return false;
      ok = true;
      if (has && P.tone_type != 99) {
        if (gap) return false;
        const int32_t st = step(P.chosen_pitch, p);
        switch (P.tone_type) {
          case 0:
          case 3:
            ok = st == -1;
            break;
          case 1:
          case 2:
            ok = st == 1;
            break;
          case 4:
            ok = st == -1 && weight(C.click) <= weight(P.click);
            break;
          case 5:
            ok = st == 1 && weight(C.click) <= weight(P.click);
            break;
          case 6:
            ok = p <= P.chosen_pitch - 3;
            break;
          case 7:
            ok = p >= P.chosen_pitch + 3;
            break;
        }
      }
    } else {
      if (row[type] != 1 || !present(scale, p)) return false;
      const bool from_chord = has && P.tone_type == 99 && !gap;
      const int32_t st = has ? step(P.chosen_pitch, p) : 0;
      switch (type) {
        case 0:
          ok = from_chord && st == 1 && six <= nhd;
          break;
        case 1:
          ok = from_chord && st == -1 && six <= nhd;
          break;
        case 2:
          ok = has && (P.tone_type == 99 || P.tone_type == 2) && !gap && st == 1 && six <= nhd;
          break;
        case 3:
          ok = has && (P.tone_type == 99 || P.tone_type == 3) && !gap && st == -1 && six <= nhd;
          break;
        case 4:
        case 5:
          ok = (!has || P.tone_type == 99) && six <= 2 * nhd && weight(C.click) != 1;
          if (ok && has) {
            ok = std::abs(p - P.chosen_pitch) >= 3 ||
                 (p == P.chosen_pitch && !present(chord, p) && !gap);
          }
          break;
        case 6:
        case 7:
          ok = from_chord && st == (type == 6 ? 1 : -1) && six <= nhd / 2 &&
               weight(C.click) <= weight(P.click);
          break;
      }
    }
    if (!ok) return false;
    C.chosen_pitch = p;
    C.tone_type = type;
    return true;
  }

  // ---- path cost ----
  int32_t row_of(const Line& line) const {
    if (line.Tipo == 2 && set_.BassIns == -1) return 16;
    if (line.Tipo == 3 && set_.MelIns == -1) return 17;
    return line.Ins;
  }
  int32_t importance(int32_t click, int32_t dur) const {
    return static_cast<int32_t>(4 * weight(click) + static_cast<double>(dur) / semic());
  }
  void rank(Line& line) {
    bool done[100] = {};
    for (int32_t r = 0; r < line.Tmno; ++r) {
      int32_t best = -1;
      for (int32_t i = 0; i < line.Tmno; ++i) {
        if (done[i]) continue;
        if (best == -1) {
          best = i;
          continue;
        }
        const int32_t gp = line.notes[i].given_pitch, bp = line.notes[best].given_pitch;
        const bool better = line.Tipo == 2 ? gp < bp : gp > bp;
        if (better ||
            (gp == bp && importance(line.notes[i].click, line.notes[i].duration) >
                             importance(line.notes[best].click, line.notes[best].duration))) {
          best = i;
        }
      }
      done[best] = true;
      line.ranking[r] =
          OuterRank{best, importance(line.notes[best].click, line.notes[best].duration)};
    }
  }
  static int32_t marked(const HarmonyEntry& e, int32_t bit) {
    for (int32_t k = 0; k < 12; ++k) {
      const char c = e.marks[k];
      if (c >= '0' && c <= '9' && ((c - '0') & bit)) return k;
    }
    return -1;
  }
  int32_t prime(const Line& line, const PathNote* c, int32_t n, int32_t target, int32_t first) {
    const int32_t m = n < 3 ? n : 3;
    int32_t f = 0;
    if (target == -1) return 0;
    if (line.ranking[0].note_index < n && c[line.ranking[0].note_index].pitch % 12 == target)
      f += first;
    for (int32_t r = 1; r <= m - 1; ++r) {
      const int32_t x = line.ranking[r].note_index;
      if (x < n && c[x].pitch % 12 == target) {
        const int32_t d = line.ranking[r].importance + 1;
        f += (5 / m) * (1 - (d == 0 ? 0 : 1 / d));
      }
    }
    return f;
  }
  double cost(int32_t e, int32_t s, int32_t l, int32_t n) {
    const Line& line = slot(s).lines[l];
    const PathNote* c = pool_->notes[e];
    const float* w = set_.NonHarmTonesCoef[row_of(line)];
    float A = 0.0f, B = 0.0f;
    if (line.Lp != -1) {
      const int32_t dg = line.npadre.given_pitch - line.notes[0].given_pitch;
      const int32_t dc = line.npadre.chosen_pitch - c[0].pitch;
      A = static_cast<float>(std::abs(dg - dc));
      if ((dg > 0 && dc < 0) || (dg < 0 && dc > 0)) A += 15;
      if (dg == 0 && dc != 0) A += 5;
      if (std::abs(dg) < 3 && std::abs(dc) > 2) A += 5;
      A = A / static_cast<float>(n);
      if (dg == 0 && (line.npadre.tie_flags & 1) && (line.notes[0].tie_flags & 2) && dc != 0)
        B = 10;
    }
    int32_t dist = 0;
    for (int32_t k = 0; k < n; ++k) dist += std::abs(c[k].pitch - line.notes[k].given_pitch);
    const float C = static_cast<float>(dist) / static_cast<float>(n);
    int32_t dcount = 0, ecount = 0;
    for (int32_t k = 1; k < n; ++k) {
      const int32_t mc = c[k].pitch - c[k - 1].pitch;
      const int32_t mg = line.notes[k].given_pitch - line.notes[k - 1].given_pitch;
      if ((mc == 0 && mg != 0) || (mg == 0 && mc != 0)) {
        ++dcount;
        ++ecount;
        continue;
      }
      if (mc != 0 && mg != 0 && ((mc > 0) != (mg > 0))) ++dcount;
      if (step(c[k - 1].pitch, c[k].pitch) !=
          step(line.notes[k - 1].given_pitch, line.notes[k].given_pitch)) {
        ++ecount;
      }
    }
    const float D = static_cast<float>(static_cast<double>(dcount) / n) * 15.0f;
    const float E = static_cast<float>(static_cast<double>(ecount) / n) * 5.0f;
    const HarmonyEntry& chord = st_.chords.entries[slot(s).chord_index];
    float F = 0.0f, G = 0.0f;
    if (line.Tipo == 2) F = 15 - prime(line, c, n, marked(chord, 2), 10);
    if (line.Tipo == 3) {
      const int32_t t = marked(chord, 4);
      float g = static_cast<float>(prime(line, c, n, t, 5));
      int32_t off = 0;
      for (int32_t k = 0; k < n; ++k) off += c[k].pitch % 12 != t ? 1 : 0;
      const volatile float part = static_cast<float>(static_cast<double>(off) / n) * 5.0f;
      g = g + part;
      G = 15 - g;
    }
    // volatile: each product is a float of its own, never fused into the sum.
    const volatile float t1 = B * w[1], t2 = A * w[0], t3 = C * w[2], t4 = D * w[3], t5 = E * w[4],
                         t6 = F * w[5], t7 = G * w[6];
    float sum = 0.0f;
    sum = sum + t1;
    sum = sum + t2;
    sum = sum + t3;
    sum = sum + t4;
    sum = sum + t5;
    sum = sum + t6;
    const double total = static_cast<double>(sum) + static_cast<double>(t7);
    return total / 100.0;
  }

  // ---- path search ----
  int32_t take(int32_t e) {
    for (int32_t n = 0; n < kPoolSize; ++n) {
      if (pool_->cost[n] == -1.0) {
        std::memcpy(pool_->notes[n], pool_->notes[e], sizeof(pool_->notes[n]));
        pool_->cost[n] = -2.0;
        return n;
      }
    }
    return -1;
  }
  bool same(int32_t a, int32_t b, int32_t count) const {
    for (int32_t k = 0; k < count; ++k) {
      if (pool_->notes[a][k].pitch != pool_->notes[b][k].pitch) return false;
    }
    return pool_->notes[a][count - 1].type == pool_->notes[b][count - 1].type;
  }
  void insert(int32_t n, double c, int32_t count) {
    for (int32_t x = 0; x < kPoolSize; ++x) {
      if (x != n && pool_->cost[x] >= 0.0 && same(x, n, count)) {
        pool_->cost[n] = -1.0;
        ++duplicates;
        return;
      }
    }
    if (pool_->scored == 100) {
      ++full_pool_inserts;
      int32_t worst = -1;
      for (int32_t x = 0; x < kPoolSize; ++x) {
        if (pool_->cost[x] >= 0.0 && (worst == -1 || pool_->cost[x] > pool_->cost[worst]))
          worst = x;
      }
      if (c < pool_->cost[worst]) {
        std::memcpy(pool_->notes[worst], pool_->notes[n], sizeof(pool_->notes[n]));
        pool_->cost[worst] = c;
        ++replacements;
      }
      pool_->cost[n] = -1.0;
      return;
    }
    pool_->cost[n] = c;
    ++pool_->scored;
  }
  void sort() {
    for (int32_t i = 0; i < kPoolSize; ++i) {
      for (int32_t j = i; j < kPoolSize; ++j) {
        if (pool_->cost[j] < pool_->cost[i]) {
          std::swap(pool_->cost[i], pool_->cost[j]);
          PathNote t[kMaxLineNotes];
          std::memcpy(t, pool_->notes[i], sizeof t);
          std::memcpy(pool_->notes[i], pool_->notes[j], sizeof t);
          std::memcpy(pool_->notes[j], t, sizeof t);
        }
      }
    }
  }
  bool extend(int32_t s, int32_t l, int32_t e, int32_t i, int32_t j, const LinkState& P,
              bool nola) {
    const Line& line = slot(s).lines[l];
    const LineNote& note = line.notes[i];
    LinkState C{note.bar, note.click, note.duration, note.given_pitch, note.tie_flags, 0, 0};
    const int32_t* row = set_.NonHarmTonesSort[row_of(line)];
    int32_t lo = -set_.OpeningInt, hi = set_.OpeningInt;
    if (P.bar == -1 || P.tone_type == 99) {
      if (line.Tipo == 2) lo = -12;
      if (line.Tipo == 3) hi = 6;
    }
    static const int32_t kOrder[9] = {99, 0, 1, 2, 3, 4, 5, 6, 7};
    bool success = false;
    for (int32_t o = lo; o <= hi; ++o) {
      for (int32_t type : kOrder) {
        if (!rule(type, s, P, C, o, row)) continue;
        const bool last = i == line.Tmno - 1;
        if (nola && last && C.tone_type != 99) continue;
        if (last && (C.tone_type == 4 || C.tone_type == 5)) continue;
        const int32_t n = take(e);
        if (n == -1) {
          ++pool_full;
          break;
        }
        pool_->notes[n][i] =
            PathNote{static_cast<int8_t>(C.chosen_pitch), static_cast<int8_t>(C.tone_type)};
        if (last || i == j) {
          insert(n, cost(n, s, l, i + 1), i + 1);
          success = true;
        } else if (extend(s, l, n, i + 1, j, C, nola)) {
          success = true;
        }
      }
    }
    pool_->cost[e] = -1.0;
    return success;
  }
  bool build(int32_t s, int32_t l, bool nola) {
    pool_->cost[0] = -2.0;
    for (int32_t x = 1; x < kPoolSize; ++x) pool_->cost[x] = -1.0;
    for (PathNote& note : pool_->notes[0]) note = PathNote{0, 0};
    pool_->scored = 0;
    Line& line = slot(s).lines[l];
    if (line.Tipo == 2 || line.Tipo == 3) rank(line);
    LinkState P = line.npadre;
    if (set_.LinkLimit == 0 && set_.NoLinkAct == 0) P.bar = -1;
    if (!extend(s, l, 0, 0, 3, P, nola)) return false;
    if (set_.LinkLimit == 1 && set_.LimitOneLink == 1 && s == 1) {
      sort();
      return true;
    }
    for (int32_t k = 4; k < line.Tmno; k += 4) {
      int32_t taken[kPoolSize];
      int32_t nt = 0;
      for (int32_t x = 0; x < kPoolSize; ++x) {
        if (pool_->cost[x] >= 0.0) {
          pool_->cost[x] = -2.0;
          taken[nt++] = x;
        }
      }
      pool_->scored = 0;
      bool any = false;
      for (int32_t t = 0; t < nt; ++t) {
        const LineNote& b = line.notes[k - 1];
        const LinkState P2{b.bar,
                           b.click,
                           b.duration,
                           b.given_pitch,
                           b.tie_flags,
                           pool_->notes[taken[t]][k - 1].pitch,
                           pool_->notes[taken[t]][k - 1].type};
        if (extend(s, l, taken[t], k, k + 3, P2, nola)) any = true;
      }
      if (!any) return false;
    }
    sort();
    return true;
  }

 public:
  // Public for the pool comparisons.
  bool build_candidates(int32_t s, int32_t l, bool nola) { return build(s, l, nola); }
  const Pool& pool() const { return *pool_; }

 private:
  // ---- line search ----
  void select(int32_t s, int32_t l) {
    Candidate* list = slot(s).candidates[l];
    const int32_t last = slot(s).lines[l].Tmno - 1;
    for (int32_t k = 0; k < 100; ++k) {
      list[k].cost = 0;
      for (PathNote& n : list[k].notes) n = PathNote{-1, 0};
    }
    int32_t groups[128];
    int32_t ng = 0;
    for (int32_t x = 0; x < kPoolSize; ++x) {
      if (pool_->cost[x] < 0.0) continue;
      bool seen = false;
      for (int32_t g = 0; g < ng; ++g) seen = seen || groups[g] == pool_->notes[x][last].pitch;
      if (!seen && ng < 128) groups[ng++] = pool_->notes[x][last].pitch;
    }
    int32_t next = 0;
    for (int32_t g = 0; g < ng; ++g) {
      for (int32_t x = 0; x < kPoolSize; ++x) {
        if (pool_->cost[x] < 0.0 || pool_->notes[x][last].pitch != groups[g]) continue;
        std::memcpy(list[next].notes, pool_->notes[x], sizeof(list[next].notes));
        list[next].cost = static_cast<float>(pool_->cost[x]);
        ++next;
      }
    }
    int32_t i = 0;
    while (i < 100 && list[i].notes[0].pitch != -1) {
      const PathNote key = list[i].notes[last];
      for (;;) {
        int32_t found = -1;
        for (int32_t k = i; k < 100 && list[k].notes[0].pitch != -1; ++k) {
          if (list[k].notes[last].pitch != key.pitch || list[k].notes[last].type != key.type)
            continue;
          if (found == -1 || list[k].cost <= list[found].cost) found = k;
        }
        if (found == -1) break;
        std::swap(list[found], list[i]);
        ++i;
        if (i == 100) break;
      }
    }
  }
  bool stop_lookahead(int32_t s, int32_t l) {
    const Line& line = slot(s).lines[l];
    if (line.Lh == -1) return true;
    if (s >= set_.LinkLimit) return true;
    if (s >= 1) {
      const Line& next = slot(s + 1).lines[line.Lh];
      if (next.Tipo == 1 && next.Tmno > set_.LimitNotesThirdIn) return true;
      if ((next.Tipo == 2 || next.Tipo == 3) && next.Tmno > set_.LimitNotesThirdBM) return true;
    }
    return false;
  }
  static LinkState exit_of(const Line& line, const PathNote& end) {
    const LineNote& n = line.notes[line.Tmno - 1];
    return LinkState{n.bar, n.click, n.duration, n.given_pitch, n.tie_flags, end.pitch, end.type};
  }
  float search_line(int32_t s, int32_t l) {
    Line& line = slot(s).lines[l];
    Candidate* list = slot(s).candidates[l];
    const int32_t last = line.Tmno - 1;
    if (s >= 2 && line.Tmno >= 3) return 0.0f;
    const bool nola = slot(s).last_note >= st_.music.note_count - 1 || line.Lh == -1 ||
                      (set_.LinkLimit == 0 && set_.NoLinkAct == 1);
    if (s >= 1 && line.Lp != -1) {
      const LinkState& x = slot(s - 1).lines[line.Lp].nlast;
      if (x.chosen_pitch != line.npadre.chosen_pitch || x.tone_type != line.npadre.tone_type)
        line.Yarm = 0;
    }
    if (line.Yarm == 1) ++reused_lists;
    if (line.Yarm != 1) {
      if (s >= 1 && line.Lp != -1) line.npadre = slot(s - 1).lines[line.Lp].nlast;
      if (!build(s, l, nola)) return -1.0f;
      select(s, l);
      if (set_.LinkLimit == 1 && set_.LimitOneLink == 1 && s == 1) return list[0].cost;
      line.Yarm = 1;
    }
    if (nola || line.Lh == -1 || stop_lookahead(s, l)) {
      line.Arn = 0;
      if (line.Lh == -1) return list[0].cost;
      line.nlast = exit_of(line, list[0].notes[last]);
      slot(s + 1).lines[line.Lh].npadre = line.nlast;
      return list[0].cost;
    }
    if (set_.ShowLineInfo != 0) {
      if (s == 0) {
        print(" \t->cat1");
      } else {
        print(std::to_string(s + 1).c_str());
      }
    }
    float best = 999999.0f;
    int32_t chosen = -1;
    bool have_last = false;
    PathNote last_tried{};
    for (int32_t i = 0; i < 100 && list[i].notes[0].pitch != -1; ++i) {
      const PathNote end = list[i].notes[last];
      if (have_last && end.pitch == last_tried.pitch && end.type == last_tried.type) continue;
      have_last = true;
      last_tried = end;
      line.nlast = exit_of(line, end);
      const float la = search_line(s + 1, line.Lh);
      if (la < 0.0f) continue;
      if (la == 0.0f) {
        chosen = i;
        best = 0.0f;
        break;
      }
      const float sum =
          static_cast<float>(static_cast<double>(la) + static_cast<double>(list[i].cost));
      if (sum == best) ++lookahead_ties;
      if (sum < best) {
        best = sum;
        chosen = i;
      }
    }
    if (best < 999999.0f) {
      line.nlast = exit_of(line, list[chosen].notes[last]);
      search_line(s + 1, line.Lh);
      line.Arn = chosen;
      return list[chosen].cost;
    }
    return -1.0f;
  }
};

}  // namespace zelvo::engine::literal
