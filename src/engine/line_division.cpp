#include "engine/line_division.h"

#include "base/status.h"
#include "engine/form_unit.h"

namespace zelvo::engine {

using enum base::MessageId;

namespace {

const MusicNote& work_note(const Engine& engine, int32_t i) {
  return engine.state.work.notes[i].note;
}
int32_t& tag_of(Engine& engine, int32_t i) { return engine.state.work.notes[i].tag; }

// Strictly lower (direction 0) or strictly higher (direction 1).
bool better_pitch(int32_t pitch, int32_t best, int32_t direction) {
  return direction == 0 ? pitch < best : pitch > best;
}

// The first note tagged `tag` with the lowest (direction 0) or highest
// (direction 1) pitch; -1 when none.
int32_t extreme_tagged(const Engine& engine, int32_t tag, int32_t direction) {
  const WorkList& work = engine.state.work;
  int32_t best = -1;
  for (int32_t i = 0; i < work.count; ++i) {
    if (work.notes[i].tag != tag) continue;
    if (best < 0 || better_pitch(work.notes[i].note.Note, work.notes[best].note.Note, direction)) {
      best = i;
    }
  }
  return best;
}

}  // namespace

bool can_follow(const Engine& engine, int32_t a, int32_t b) {
  const MusicNote& na = work_note(engine, a);
  const MusicNote& nb = work_note(engine, b);
  const int32_t step = na.Note - nb.Note;
  if (step < -2 || step > 2) return false;
  const int64_t end_a = engine.end_of(na);
  const int64_t start_b = engine.start_of(nb);
  if (end_a + engine.hole_clicks < start_b) return false;
  if (end_a > start_b) return false;
  return engine.start_of(na) != start_b;
}

void extend_chain(Engine& engine, int32_t i, int32_t way, bool mark, int32_t line_number) {
  WorkList& work = engine.state.work;
  if (mark) tag_of(engine, i) = line_number;
  for (;;) {
    int32_t chosen = -1;
    if (way > 0) {
      int32_t j = i + 1;
      while (j < work.count && !(work.notes[j].tag == 0 && can_follow(engine, i, j))) ++j;
      if (j >= work.count) return;
      chosen = j;
      const int64_t group = engine.start_of(work_note(engine, j));
      for (int32_t k = j + 1; k < work.count; ++k) {
        if (work.notes[k].tag != 0 || engine.start_of(work_note(engine, k)) != group ||
            !can_follow(engine, i, k)) {
          break;
        }
        if (work_note(engine, k).Note > work_note(engine, chosen).Note) chosen = k;
      }
    } else {
      int32_t j = i - 1;
      while (j >= 0 && !(work.notes[j].tag == 0 && can_follow(engine, j, i))) --j;
      if (j < 0) return;
      chosen = j;
      const int64_t group = engine.start_of(work_note(engine, j));
      for (int32_t k = j - 1; k >= 0; --k) {
        if (work.notes[k].tag != 0 || engine.start_of(work_note(engine, k)) != group ||
            !can_follow(engine, k, i)) {
          break;
        }
        if (work_note(engine, k).Note > work_note(engine, chosen).Note) chosen = k;
      }
    }
    ++work.chain_length;
    if (mark) tag_of(engine, chosen) = line_number;
    i = chosen;
  }
}

bool fits_hole(const Engine& engine, int32_t p, int32_t q, int32_t note) {
  const WorkList& work = engine.state.work;
  const int64_t lower = p < 0 ? 0 : engine.end_of(work_note(engine, p));
  const int64_t upper = q >= work.count ? engine.end_of(work_note(engine, work.count - 1))
                                        : engine.start_of(work_note(engine, q));
  const int32_t tag = work.notes[note].tag;
  if (tag == -1) {
    return engine.start_of(work_note(engine, note)) >= lower &&
           engine.end_of(work_note(engine, note)) <= upper;
  }
  int32_t first = -1;
  int32_t last = -1;
  for (int32_t i = 0; i < work.count; ++i) {
    if (work.notes[i].tag != tag) continue;
    if (first < 0) first = i;
    last = i;
  }
  return engine.start_of(work_note(engine, first)) >= lower &&
         engine.end_of(work_note(engine, last)) <= upper;
}

void fill_holes(Engine& engine, int32_t k, int32_t p, int32_t direction, bool allow_refused) {
  WorkList& work = engine.state.work;
  for (;;) {
    // Find the next hole (p, q) of line k.
    int32_t q = -1;
    for (;;) {
      q = p + 1;
      while (q < work.count && work.notes[q].tag != k) ++q;
      const bool found = q < work.count;
      if (p < 0 && !found) return;
      if (!found) {
        if (engine.end_of(work_note(engine, p)) > engine.start_of(work_note(engine, work.count - 1))) {
          return;
        }
        break;  // the hole runs to the end of the list
      }
      if (p < 0) {
        if (engine.start_of(work_note(engine, 0)) < engine.start_of(work_note(engine, q))) break;
      } else if (engine.start_of(work_note(engine, q)) > engine.end_of(work_note(engine, p))) {
        break;
      }
      ++p;
    }

    int32_t filler = -1;
    for (int32_t i = p + 1; i < q; ++i) {
      if (work.notes[i].tag == -1 && !allow_refused) continue;
      if (!fits_hole(engine, p, q, i)) continue;
      if (filler < 0 || better_pitch(work_note(engine, i).Note, work_note(engine, filler).Note,
                                     direction)) {
        filler = i;
      }
    }
    if (filler >= 0) {
      if (work.notes[filler].tag == -1) work.notes[filler].tag = k;
      const int32_t merged = work.notes[filler].tag;
      for (int32_t i = 0; i < work.count; ++i) {
        if (work.notes[i].tag == merged) work.notes[i].tag = k;
      }
      continue;  // same p
    }
    if (q >= work.count) return;
    p = q;
  }
}

void divide_instrument(Engine& engine, int32_t instrument, int32_t s, int32_t direction) {
  EngineState& st = engine.state;
  WorkList& work = st.work;
  const UnitSlot& slot = engine.slot(s);
  work.count = 0;
  for (int32_t n = slot.first_note; n <= slot.last_note && work.count < kMaxLineNotes; ++n) {
    if (st.music.notes[n].Inst != instrument) continue;
    work.notes[work.count].note = st.music.notes[n];
    work.notes[work.count].tag = 0;
    ++work.count;
  }
  if (work.count == 0) return;

  // Seeds: every chain long enough opens a line.
  int32_t line_number = 1;
  for (;;) {
    const int32_t seed = extreme_tagged(engine, 0, direction);
    if (seed < 0) break;
    work.chain_length = 1;
    extend_chain(engine, seed, +1, false, line_number);
    extend_chain(engine, seed, -1, false, line_number);
    if (work.chain_length >= engine.settings.MinNotesInLine) {
      work.chain_length = 1;
      extend_chain(engine, seed, +1, true, line_number);
      extend_chain(engine, seed, -1, true, line_number);
      ++line_number;
    } else {
      work.notes[seed].tag = -1;
    }
  }

  for (int32_t k = 1; k < work.count; ++k) fill_holes(engine, k, -1, direction, false);

  // Left-overs: each refused note opens a line of its own, filled in its turn.
  int32_t highest = -1;
  for (int32_t i = 0; i < work.count; ++i) {
    if (work.notes[i].tag > highest) highest = work.notes[i].tag;
  }
  for (int32_t k = highest + 1;; ++k) {
    const int32_t note = extreme_tagged(engine, -1, direction);
    if (note < 0) break;
    work.notes[note].tag = k;
    fill_holes(engine, k, note, direction, true);
  }
}

namespace {

// Appends one line of `instrument` holding the work notes tagged `tag`.
void add_line(Engine& engine, int32_t s, int32_t& next_line, int32_t instrument, int32_t tag) {
  const WorkList& work = engine.state.work;
  UnitSlot& slot = engine.slot(s);
  if (next_line >= kMaxLines) {
    base::stop_with(base::Message(kTooManyLines, engine.state.music.notes[slot.first_note].Cpin));
  }
  clear_line(slot, next_line);
  Line& line = slot.lines[next_line++];
  line.Tipo = kInnerLine;
  line.Ins = instrument;
  line.Tmno = 0;
  for (int32_t i = 0; i < work.count; ++i) {
    if (work.notes[i].tag != tag) continue;
    const MusicNote& n = work.notes[i].note;
    line.notes[line.Tmno++] = LineNote{n.Cpin, n.Ckin, n.Dur, n.Note, n.Vel,
                                       static_cast<int32_t>(n.tie_flags)};
  }
}

}  // namespace

void divide_lines(Engine& engine, int32_t s) {
  EngineState& st = engine.state;
  UnitSlot& slot = engine.slot(s);
  int32_t lowest = slot.first_note;
  for (int32_t n = slot.first_note + 1; n <= slot.last_note; ++n) {
    if (st.music.notes[n].Note < st.music.notes[lowest].Note) lowest = n;
  }
  const int32_t low_instrument = st.music.notes[lowest].Inst;
  const int32_t bass_ins = engine.settings.BassIns;

  int32_t next_line = 0;
  for (int32_t inst = kFirstLineInstrument; inst <= kLastLineInstrument; ++inst) {
    const int32_t direction =
        (bass_ins == inst || (bass_ins == kAnyInstrument && inst == low_instrument)) ? 0 : 1;
    divide_instrument(engine, inst, s, direction);
    const WorkList& work = st.work;
    if (work.count == 0) continue;
    int32_t highest = -1;
    bool refused = false;
    for (int32_t i = 0; i < work.count; ++i) {
      if (work.notes[i].tag > highest) highest = work.notes[i].tag;
      if (work.notes[i].tag == -1) refused = true;
    }
    for (int32_t tag = 0; tag <= highest; ++tag) {
      bool used = false;
      for (int32_t i = 0; i < work.count && !used; ++i) used = work.notes[i].tag == tag;
      if (used) add_line(engine, s, next_line, inst, tag);
    }
    if (refused) add_line(engine, s, next_line, inst, -1);
  }
  for (int32_t l = next_line; l < kMaxLines; ++l) slot.lines[l].Ins = -1;
}

void mark_outer_lines(Engine& engine, int32_t s) {
  UnitSlot& slot = engine.slot(s);
  // Finds the line holding the highest (sign +1) or lowest (sign -1) given
  // pitch among the lines of `instrument` (negative: all); first line wins ties.
  auto extreme_line = [&](int32_t instrument, int32_t sign) {
    int32_t best_line = -1;
    int32_t best_pitch = 0;
    for (int32_t l = 0; l < kMaxLines && slot.lines[l].Ins != -1; ++l) {
      const Line& line = slot.lines[l];
      if (instrument >= 0 && line.Ins != instrument) continue;
      for (int32_t k = 0; k < line.Tmno; ++k) {
        const int32_t pitch = line.notes[k].given_pitch;
        if (best_line < 0 || sign * pitch > sign * best_pitch) {
          best_line = l;
          best_pitch = pitch;
        }
      }
    }
    return best_line;
  };
  if (engine.settings.MelIns != kNoInstrument) {
    const int32_t l = extreme_line(engine.settings.MelIns, +1);
    if (l >= 0) slot.lines[l].Tipo = kMelodyLine;
  }
  if (engine.settings.BassIns != kNoInstrument) {
    const int32_t l = extreme_line(engine.settings.BassIns, -1);
    if (l >= 0) slot.lines[l].Tipo = kBassLine;
  }
}

}  // namespace zelvo::engine
