#include "engine/form_unit.h"

#include <cstring>

#include "base/status.h"

namespace zelvo::engine {

using enum base::MessageId;

void clear_slot(UnitSlot& slot) {
  // Only the terminators: a line is cleared when divide_lines takes it, so a
  // unit of a few lines does not pay for the 200 lines and their candidates.
  for (Line& line : slot.lines) line.Ins = -1;
  slot.chord_index = 0;
  slot.scale_index = 0;
  slot.chord_classes = 0;
  slot.scale_classes = 0;
  slot.first_note = 0;
  slot.last_note = 0;
}

void clear_line(UnitSlot& slot, int32_t l) {
  Line& line = slot.lines[l];
  std::memset(static_cast<void*>(&line), 0, sizeof(line));
  line.Tipo = kInnerLine;
  line.Ins = -1;
  line.Lp = -1;
  line.Lh = -1;
  line.Arn = -1;
  line.npadre.bar = -1;
  // The line's candidate list is left as it is: Yarm 0 says it is not yet
  // built, and the search writes all of it before anything reads it.
}

int32_t entry_in_force(const Engine& engine, const HarmonyTable& table, int64_t time) {
  int32_t k = 0;
  while (k < table.size() && table.entries[k].bar != 0 &&
         engine.start_of(table.entries[k]) <= time) {
    ++k;
  }
  return k - 1;
}

namespace {

// The start of the first entry after `time`, if earlier than `end`.
int64_t earlier_change(const Engine& engine, const HarmonyTable& table, int64_t time,
                       int64_t end) {
  for (int32_t k = 0; k < table.size() && table.entries[k].bar != 0; ++k) {
    const int64_t start = engine.start_of(table.entries[k]);
    if (start > time) return start < end ? start : end;
  }
  return end;
}

}  // namespace

int32_t form_unit(Engine& engine, int32_t s, int32_t first) {
  EngineState& st = engine.state;
  const MusicNote* notes = st.music.notes.data();
  const int32_t count = st.music.note_count;
  UnitSlot& slot = engine.slot(s);
  clear_slot(slot);
  slot.first_note = first;

  const int64_t first_start = engine.start_of(notes[first]);
  slot.chord_index = entry_in_force(engine, st.chords, first_start);
  slot.scale_index = entry_in_force(engine, st.scales, first_start);
  if (slot.chord_index < 0 || slot.scale_index < 0) {
    base::stop_with(base::Message(kNoHarmonyInForce, notes[first].Cpin));
  }
  // The tone rules of every note of the unit ask these.
  slot.chord_classes = pitch_classes(st.chords.entries[slot.chord_index]);
  slot.scale_classes = pitch_classes(st.scales.entries[slot.scale_index]);

  // The chord change may come first; a scale change replaces it only when earlier.
  int64_t end = engine.start_of(notes[count - 1]) + 1;
  for (int32_t k = 0; k < st.chords.size() && st.chords.entries[k].bar != 0; ++k) {
    if (engine.start_of(st.chords.entries[k]) > first_start) {
      end = engine.start_of(st.chords.entries[k]);
      break;
    }
  }
  end = earlier_change(engine, st.scales, first_start, end);

  int32_t counters[kCountedInstruments] = {};
  int32_t highest = 0;
  const int32_t limit = engine.settings.HarmUnitNoteLimit;
  int32_t n = first;
  bool overflow = false;
  while (n < count && engine.start_of(notes[n]) < end) {
    const int32_t inst = notes[n].Inst;
    if (inst >= 0 && inst < kCountedInstruments) {
      ++counters[inst];
      if (counters[inst] > highest) highest = counters[inst];
    }
    if (highest >= kMaxLineNotes || highest >= limit) {
      overflow = true;
      break;
    }
    ++n;
  }

  int32_t last = n - 1;
  if (overflow) {
    const int64_t group_start = engine.start_of(notes[n]);
    for (int32_t k = n - 1; k >= first; --k) {
      if (engine.start_of(notes[k]) != group_start) {
        last = k;
        break;
      }
    }
  }
  // A limit of 1 or less overflows at the first note itself, and notes of
  // absurd bar numbers can sort out of time order (their 32-bit times wrap),
  // leaving the first note past the unit's end: the unit still takes that
  // note, or the window would never move on.
  if (last < first) last = first;
  slot.last_note = last;
  return last;
}

}  // namespace zelvo::engine
