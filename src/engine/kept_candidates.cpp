#include "engine/kept_candidates.h"

#include <cstring>

namespace zelvo::engine {

namespace {

bool same_state(const LinkState& a, const LinkState& b) {
  return a.bar == b.bar && a.click == b.click && a.duration == b.duration &&
         a.given_pitch == b.given_pitch && a.tie_flags == b.tie_flags &&
         a.chosen_pitch == b.chosen_pitch && a.tone_type == b.tone_type;
}

}  // namespace

void forget_candidates(EngineState& state) {
  state.kept.list_count = 0;
  state.kept.notes_used = 0;
}

Recalled recall_candidates(Engine& engine, int32_t s, int32_t l, bool no_lookahead) {
  KeptCandidates& kept = engine.state.kept;
  UnitSlot& slot = engine.slot(s);
  const Line& line = slot.lines[l];
  for (int32_t k = kept.list_count - 1; k >= 0; --k) {
    const KeptCandidates::List& kept_list = kept.lists[k];
    if (kept_list.s != s || kept_list.l != l || kept_list.no_lookahead != no_lookahead ||
        !same_state(kept_list.entry, line.npadre)) {
      continue;
    }
    if (kept_list.count < 0) return Recalled::kNoPath;
    Candidate* list = slot.candidates[l];
    const KeptNote* notes = kept.notes + kept_list.first_note;
    for (int32_t c = 0; c < kMaxCandidates; ++c) {
      Candidate& candidate = list[c];
      if (c >= kept_list.count) {
        candidate.cost = 0.0f;
        for (PathNote& note : candidate.notes) note = PathNote{-1, 0};
        continue;
      }
      candidate.cost = kept.costs[k][c];
      for (int32_t n = 0; n < kept_list.note_count; ++n, ++notes) {
        candidate.notes[n] = PathNote{notes->pitch, notes->type};
      }
      for (int32_t n = kept_list.note_count; n < kMaxLineNotes; ++n) candidate.notes[n] = PathNote{0, 0};
    }
    return Recalled::kList;
  }
  return Recalled::kNotKept;
}

void keep_candidates(Engine& engine, int32_t s, int32_t l, bool no_lookahead, bool built) {
  KeptCandidates& kept = engine.state.kept;
  if (kept.list_count >= KeptCandidates::kLists) return;
  const UnitSlot& slot = engine.slot(s);
  const Line& line = slot.lines[l];
  const Candidate* list = slot.candidates[l];
  const int32_t note_count = line.Tmno;
  int32_t count = 0;
  if (built) {
    while (count < kMaxCandidates && list[count].notes[0].pitch != -1) ++count;
    if (kept.notes_used + count * note_count > KeptCandidates::kNotes) return;
    static const int8_t zeros[sizeof(PathNote) * kMaxLineNotes] = {};  // {0, 0} notes
    static const Candidate empty{};
    for (int32_t c = 0; c < count; ++c) {
      const size_t rest = sizeof(PathNote) * static_cast<size_t>(kMaxLineNotes - note_count);
      if (std::memcmp(zeros, list[c].notes + note_count, rest) != 0) return;
    }
    for (int32_t c = count; c < kMaxCandidates; ++c) {
      if (list[c].cost != 0.0f || std::memcmp(empty.notes, list[c].notes, sizeof(empty.notes)) != 0) return;
    }
  }
  KeptCandidates::List& kept_list = kept.lists[kept.list_count];
  kept_list.s = s;
  kept_list.l = l;
  kept_list.no_lookahead = no_lookahead;
  kept_list.entry = line.npadre;
  kept_list.count = built ? count : -1;
  kept_list.note_count = note_count;
  kept_list.first_note = kept.notes_used;
  for (int32_t c = 0; c < count; ++c) {
    kept.costs[kept.list_count][c] = list[c].cost;
    for (int32_t n = 0; n < note_count; ++n) {
      kept.notes[kept.notes_used++] = KeptNote{list[c].notes[n].pitch, list[c].notes[n].type};
    }
  }
  ++kept.list_count;
}

}  // namespace zelvo::engine
