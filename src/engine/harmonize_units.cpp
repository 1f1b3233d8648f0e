#include "engine/harmonize_units.h"

#include <cstring>

#include "base/status.h"
#include "engine/context.h"
#include "engine/form_unit.h"
#include "engine/kept_candidates.h"
#include "engine/line_division.h"
#include "engine/line_search.h"
#include "engine/links.h"
#include "engine/note_name.h"

namespace zelvo::engine {

using enum base::MessageId;

namespace {

// A unit enters the window at slot s.
int32_t fill_slot(Engine& engine, int32_t s, int32_t first) {
  const int32_t last = form_unit(engine, s, first);
  divide_lines(engine, s);
  mark_outer_lines(engine, s);
  link_units(engine, s);
  return last + 1;
}

void print_value(Engine& engine, const char* text) {
  engine.lines.show(base::Message(kSummaryValue, text));
  engine.lines.check_stop();
}

void print_row_start(Engine& engine) {
  engine.lines.show(base::Message(kSummaryRow));
  engine.lines.check_stop();
}

// Given pitches, chosen pitches and tone types of a line just searched.
void print_line_summary(Engine& engine, const Line& line, const Candidate& chosen) {
  char name[kNoteNameSize];
  print_row_start(engine);
  for (int32_t k = 0; k < line.Tmno; ++k) print_value(engine, note_name(line.notes[k].given_pitch, name));
  print_row_start(engine);
  for (int32_t k = 0; k < line.Tmno; ++k) print_value(engine, note_name(chosen.notes[k].pitch, name));
  print_row_start(engine);
  for (int32_t k = 0; k < line.Tmno; ++k) print_value(engine, tone_type_name(chosen.notes[k].type));
}

void harmonize_slot_zero(Engine& engine, ProgressObserver* progress) {
  EngineState& st = engine.state;
  const HarmonizerSettings& settings = engine.settings;
  UnitSlot& unit = engine.slot(0);
  const MusicNote& first = st.music.notes[unit.first_note];
  forget_candidates(st);
  if (progress != nullptr) {
    int32_t lines = 0;
    while (lines < kMaxLines && unit.lines[lines].Ins != -1) ++lines;
    progress->unit_started(first.Cpin, lines);
  }
  engine.lines.show(base::Message(settings.ShowLineInfo != 0 ? kProgressLineInfo : kProgress, first.Cpin,
                                     first.Ckin / engine.clicks_per_sixteenth));
  engine.lines.check_stop();

  for (int32_t l = 0; l < kMaxLines && unit.lines[l].Ins != -1; ++l) {
    Line& line = unit.lines[l];
    if (settings.ShowLineInfo != 0) {
      engine.lines.show(base::Message(kLineInfo, line.Ins, l));
      engine.lines.check_stop();
    }
    st.tracing = l == 0 && line.notes[0].bar == 2;
    const float cost = search_line(engine, 0, l);
    if (cost < 0.0f) {
      base::stop_with(base::Message(kImpossible));
    }
    if (st.tracing && engine.listener != nullptr) engine.listener->list_candidates(st, 0, 0);
    st.tracing = false;
    if (settings.ShowLineInfo != 0) print_line_summary(engine, line, unit.candidates[l][line.Arn]);
  }

  for (int32_t l = 0; l < kMaxLines && unit.lines[l].Ins != -1; ++l) {
    const Line& line = unit.lines[l];
    const Candidate& chosen = unit.candidates[l][line.Arn];
    for (int32_t k = 0; k < line.Tmno && st.result_count < kMaxMusicNotes; ++k) {
      grow_to(st.result, st.result_count + 1, kMaxMusicNotes);
      grow_to(st.result_tones, st.result_count + 1, kMaxMusicNotes);
      const LineNote& n = line.notes[k];
      st.result_tones[st.result_count] = ResultTone{n.given_pitch, chosen.notes[k].type};
      st.result[st.result_count++] =
          MusicNote{line.Ins, n.bar,   n.click, n.duration, chosen.notes[k].pitch,
                    n.velocity, static_cast<uint32_t>(n.tie_flags)};
    }
  }
  if (engine.listener != nullptr) {
    engine.listener->list_units(st);
    engine.listener->list_all_lines(st);
  }
}

// Tells the observer that no unit is worked on, also when the job unwinds.
class UnitsEnded {
 public:
  explicit UnitsEnded(ProgressObserver* progress) : progress_(progress) {}
  ~UnitsEnded() {
    if (progress_ != nullptr) progress_->units_ended();
  }
  UnitsEnded(const UnitsEnded&) = delete;
  UnitsEnded& operator=(const UnitsEnded&) = delete;

 private:
  ProgressObserver* progress_;
};

void harmonize_all(Engine& engine, ProgressObserver* progress) {
  EngineState& state = engine.state;
  state.result_count = 0;
  state.tracing = false;
  for (int32_t s = 0; s < kUnitSlots; ++s) state.slot_map[s] = s;
  const int32_t count = state.music.note_count;
  if (count <= 0) return;
  if (engine.clicks_per_sixteenth <= 0 || engine.clicks_per_beat <= 0) {
    base::stop_with(base::Message(kBadClicks, engine.clicks_per_sixteenth, engine.clicks_per_beat));
  }

  int32_t next = 0;
  int32_t top = 0;
  for (int32_t s = 0; s < kUnitSlots; ++s) {
    next = fill_slot(engine, s, next);
    top = s;
    if (next >= count) break;
  }
  state.window_top = top;

  for (;;) {
    harmonize_slot_zero(engine, progress);
    if (engine.slot(0).last_note >= count - 1) break;
    // Moving the window rotates the slots: the old slot 0 becomes the top,
    // which is refilled or emptied before anything reads it.
    const int32_t old_first = state.slot_map[0];
    for (int32_t s = 0; s < top; ++s) state.slot_map[s] = state.slot_map[s + 1];
    state.slot_map[top] = old_first;
    if (next >= count) {
      clear_slot(engine.slot(top));
    } else {
      next = fill_slot(engine, top, next);
    }
  }

  state.music.reserve(state.result_count);
  std::copy(state.result.begin(), state.result.begin() + state.result_count, state.music.notes.begin());
  state.music.note_count = state.result_count;
}

}  // namespace

base::Status harmonize_units(EngineState& state, const HarmonizerSettings& settings, base::ProgressLines& lines,
                                DebugListener* listener, ProgressObserver* progress) {
  Engine engine(state, settings, lines, listener);
  const UnitsEnded units_ended(progress);
  return base::attempt([&] { harmonize_all(engine, progress); });
}

}  // namespace zelvo::engine
