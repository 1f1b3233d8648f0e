#include "engine/line_search.h"

#include <cstring>
#include <utility>

#include "base/status.h"
#include "engine/kept_candidates.h"
#include "engine/path_search.h"

namespace zelvo::engine {

using enum base::MessageId;

namespace {

bool is_empty(const Candidate& candidate) { return candidate.notes[0].pitch == -1; }

// The exit state of a line ending with `ending` on its last note.
LinkState exit_state(const Line& line, const PathNote& ending) {
  const LineNote& last = line.notes[line.Tmno - 1];
  return LinkState{last.bar,       last.click,   last.duration, last.given_pitch,
                   last.tie_flags, ending.pitch, ending.type};
}

bool same_ending(const PathNote& a, const PathNote& b) {
  return a.pitch == b.pitch && a.type == b.type;
}

}  // namespace

bool stop_lookahead(Engine& engine, int32_t s, int32_t l) {
  const Line& line = engine.slot(s).lines[l];
  if (line.Lh == -1) return true;
  if (s >= engine.settings.LinkLimit) return true;
  if (s >= 1) {
    const Line& next = engine.slot(s + 1).lines[line.Lh];
    const bool outer = next.Tipo == kBassLine || next.Tipo == kMelodyLine;
    const int32_t limit =
        outer ? engine.settings.LimitNotesThirdBM : engine.settings.LimitNotesThirdIn;
    if (next.Tmno > limit) return true;
  }
  return false;
}

void select_candidates(Engine& engine, int32_t s, int32_t l) {
  UnitSlot& slot = engine.slot(s);
  const Line& line = slot.lines[l];
  Candidate* list = slot.candidates[l];
  const PoolEntry* pool = engine.state.pool.entries;
  const int32_t last = line.Tmno - 1;

  for (int32_t k = 0; k < kMaxCandidates; ++k) {
    list[k].cost = 0.0f;
    for (PathNote& note : list[k].notes) note = PathNote{-1, 0};
  }

  int8_t groups[kMaxGroups];
  int32_t group_count = 0;
  for (int32_t x = 0; x < kPoolSize; ++x) {
    if (pool[x].cost < 0.0) continue;
    const int8_t pitch = pool[x].notes[last].pitch;
    bool known = false;
    for (int32_t g = 0; g < group_count && !known; ++g) known = groups[g] == pitch;
    if (!known && group_count < kMaxGroups) groups[group_count++] = pitch;
  }
  int32_t filled = 0;
  for (int32_t g = 0; g < group_count; ++g) {
    for (int32_t x = 0; x < kPoolSize && filled < kMaxCandidates; ++x) {
      if (pool[x].cost < 0.0 || pool[x].notes[last].pitch != groups[g]) continue;
      std::memcpy(list[filled].notes, pool[x].notes, sizeof(list[filled].notes));
      list[filled].cost = static_cast<float>(pool[x].cost);
      ++filled;
    }
  }

  // Same endings together, cheapest first (the later of equal costs).
  int32_t i = 0;
  while (i < kMaxCandidates && !is_empty(list[i])) {
    const PathNote key = list[i].notes[last];
    for (;;) {
      int32_t best = -1;
      for (int32_t k = i; k < kMaxCandidates && !is_empty(list[k]); ++k) {
        if (!same_ending(list[k].notes[last], key)) continue;
        if (best < 0 || list[k].cost <= list[best].cost) best = k;
      }
      if (best < 0) break;
      if (best != i) std::swap(list[best], list[i]);
      ++i;
      if (i >= kMaxCandidates) break;
    }
  }
}

float search_line(Engine& engine, int32_t s, int32_t l) {
  EngineState& st = engine.state;
  const HarmonizerSettings& settings = engine.settings;
  UnitSlot& slot = engine.slot(s);
  Line& line = slot.lines[l];
  Candidate* list = slot.candidates[l];
  const int32_t last = line.Tmno - 1;

  if (s >= 2 && line.Tmno >= 3) return 0.0f;
  const bool no_lookahead = slot.last_note >= st.music.note_count - 1 || line.Lh == -1 ||
                            (settings.LinkLimit == 0 && settings.NoLinkAct == 1);

  if (s >= 1 && line.Lp != -1) {
    const LinkState& before = engine.slot(s - 1).lines[line.Lp].nlast;
    if (before.chosen_pitch != line.npadre.chosen_pitch ||
        before.tone_type != line.npadre.tone_type) {
      line.Yarm = 0;
    }
  }

  if (line.Yarm != 1) {
    if (s >= 1 && line.Lp != -1) line.npadre = engine.slot(s - 1).lines[line.Lp].nlast;
    // The debug listings show every search's pool: with them on, every list
    // is built.
    const Recalled recalled = engine.listener == nullptr
                                  ? recall_candidates(engine, s, l, no_lookahead)
                                  : Recalled::kNotKept;
    if (recalled == Recalled::kNoPath) return -1.0f;
    if (recalled == Recalled::kNotKept) {
      const bool built = build_candidates(engine, s, l, no_lookahead);
      if (!built) {
        if (engine.listener == nullptr) keep_candidates(engine, s, l, no_lookahead, false);
        return -1.0f;
      }
      if (st.tracing && engine.listener != nullptr) engine.listener->list_paths(st, s, 0, l);
      select_candidates(engine, s, l);
      if (engine.listener == nullptr) keep_candidates(engine, s, l, no_lookahead, true);
    }
    if (settings.LinkLimit == 1 && settings.LimitOneLink == 1 && s == 1) return list[0].cost;
    line.Yarm = 1;
  }

  if (engine.listener != nullptr) engine.listener->list_link(st, s, l);

  if (no_lookahead || line.Lh == -1 || stop_lookahead(engine, s, l)) {
    line.Arn = 0;
    if (line.Lh == -1) return list[0].cost;
    const LinkState exit = exit_state(line, list[0].notes[last]);
    line.nlast = exit;
    engine.slot(s + 1).lines[line.Lh].npadre = exit;
    return list[0].cost;
  }

  if (settings.ShowLineInfo != 0) {
    if (s == 0) {
      engine.lines.show(base::Message(kLookAheadFirst));
    } else {
      engine.lines.show(base::Message(kLookAheadDeeper, s + 1));
    }
    engine.lines.check_stop();
  }

  float best = 999999.0f;
  int32_t chosen = -1;
  bool tried = false;
  PathNote last_tried{};
  for (int32_t i = 0; i < kMaxCandidates && !is_empty(list[i]); ++i) {
    const PathNote ending = list[i].notes[last];
    if (tried && same_ending(ending, last_tried)) continue;
    tried = true;
    last_tried = ending;
    line.nlast = exit_state(line, ending);
    const float ahead = search_line(engine, s + 1, line.Lh);
    if (ahead < 0.0f) continue;
    if (ahead == 0.0f) {
      chosen = i;
      best = 0.0f;
      break;
    }
    const float sum = ahead + list[i].cost;
    if (sum < best) {
      best = sum;
      chosen = i;
    }
  }
  if (best < 999999.0f) {
    line.nlast = exit_state(line, list[chosen].notes[last]);
    search_line(engine, s + 1, line.Lh);
    line.Arn = chosen;
    return list[chosen].cost;
  }
  return -1.0f;
}

}  // namespace zelvo::engine
