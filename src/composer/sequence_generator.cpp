#include "composer/sequence_generator.h"

#include <algorithm>
#include <cstring>

#include "composer/generation_loop.h"
#include "machine/convert.h"

namespace zelvo::composer {

using machine::truncate_to_int32;

double map_pitch(double p, int32_t lowest, int32_t highest, double top_shift, double bottom_shift,
                 bool inverted) {
  const double span = static_cast<double>(highest) - lowest;
  if (!inverted) return (p - lowest) * (1 + (top_shift - bottom_shift) / span) + lowest + bottom_shift;
  const double a = lowest + bottom_shift - highest;
  const double b = highest + top_shift - lowest;
  return (p - lowest) * (1 + (a - b) / span) + b + lowest;
}

namespace {

// A note of the table, or an empty one for an index outside it: a window
// that a program moved while a pass was running reads no further than the
// table.
SequenceNote note_at(const SequenceTables& sequences, int64_t index) {
  if (index < 0 || index >= kMaxSequenceNotes) return SequenceNote{0, 0, 0, 0};
  return sequences.notes[static_cast<size_t>(index)];
}

int64_t onset(const SequenceNote& note, int64_t clicks_per_bar) {
  return note.bar * clicks_per_bar + note.click;
}

double stretch_factor(const ComposerState& state, double stretch_beats, int64_t sequence_length) {
  // A sequence of no length has nothing to stretch.
  if (sequence_length == 0) return 1.0;
  return state.timing.clicks_per_beat * stretch_beats / static_cast<double>(sequence_length) + 1;
}

}  // namespace

void run_sequence_generator(ComposerState& state, base::ProgressLines& progress, int32_t number) {
  using namespace seq;
  double* const record = state.composition.generators[number].slot;
  const bool preview = state.pass_flag > 0;
  const SequenceTables& sequences = state.sequences;
  double& counter_slot = record[tables::kSlotClicks];

  recompute_variables(state);
  if (state.current_bar == 1 && state.current_click == 0) {
    counter_slot = 1;
    record[kPosition] = -1;
  }

  double c[kCopySlots];
  std::memcpy(c, record, sizeof c);
  if (!within_window(state, c[kStartBar], c[kStartClick], c[kLengthBars], c[kLengthClicks])) return;
  const int64_t clicks_per_bar = state.timing.clicks_per_bar();

  double& counter = c[tables::kSlotClicks];
  double& position = c[kPosition];
  const double mode = c[kMode];
  if (mode == 0 || (mode == 1 && position == -1 && counter == 1) || (mode == 2 && counter == 1)) {
    const double first_note = c[kFirstNote];
    const double notes_cut = c[kNotesCut];
    machine::run_program(state.machine, tables::slot_word(record[tables::kSlotCode]));
    std::memcpy(c, record, sizeof c);
    if (position != -1) {
      // Only the copy gets them back: in the preview pass the record keeps
      // what the program stored, and the full pass remembers that.
      c[kFirstNote] = first_note;
      c[kNotesCut] = notes_cut;
    }
  }

  // A sequence number outside the sequences read plays nothing, as an empty
  // sequence does.
  const int32_t s = truncate_to_int32(c[kSequence]);
  if (s < 0 || s >= sequences.sequence_count) return;
  const int32_t first = sequences.boundaries[s];
  const int32_t last = sequences.boundaries[s + 1] - 1;
  if (last < first) return;

  const double first_note = c[kFirstNote] < 1 ? 1 : c[kFirstNote];
  const double notes_cut = c[kNotesCut] < 0 ? 0 : c[kNotesCut];
  const int32_t lo = static_cast<int32_t>(
      std::min<int64_t>(int64_t{first} + truncate_to_int32(first_note) - 1, last));
  const int32_t hi = static_cast<int32_t>(std::max<int64_t>(int64_t{last} - truncate_to_int32(notes_cut), lo));

  int32_t play_mode = truncate_to_int32(c[kPlayMode]);
  if (play_mode < 1) play_mode = 1;
  if (play_mode > 4) play_mode = 4;
  const bool forward = play_mode <= 2;
  const bool inverted = play_mode == 2 || play_mode == 4;

  const SequenceNote last_note = sequences.notes[last];
  const int64_t sequence_length = onset(last_note, clicks_per_bar) + last_note.duration;
  double stretch = stretch_factor(state, c[kStretch], sequence_length);

  int32_t lowest = sequences.notes[first].note;
  int32_t highest = lowest;
  for (int32_t i = first + 1; i <= last; ++i) {
    lowest = std::min(lowest, sequences.notes[i].note);
    highest = std::max(highest, sequences.notes[i].note);
  }
  if (lowest == highest) highest = lowest + 1;  // the mapping needs a span

  double wait = 1;
  if (position >= 0) {
    const int64_t n = lo + static_cast<int64_t>(position);
    const SequenceNote a = note_at(sequences, n);
    const SequenceNote b = note_at(sequences, n + 1);
    const int64_t distance = forward ? onset(b, clicks_per_bar) - onset(a, clicks_per_bar)
                                     : onset(b, clicks_per_bar) + b.duration - onset(a, clicks_per_bar) - a.duration;
    wait = stretch * static_cast<double>(distance);
  }

  if (!forward && position == -1 && counter == 1) position = hi - lo;

  if (c[kGlide] != 0 && forward && position >= 0 && lo + position < hi) {
    const int64_t n = lo + static_cast<int64_t>(position);
    const double current = map_pitch(note_at(sequences, n).note, lowest, highest, c[kTopShift], c[kBottomShift], inverted);
    const double next = map_pitch(note_at(sequences, n + 1).note, lowest, highest, c[kTopShift], c[kBottomShift], inverted);
    c[tables::kSlotValue] = current + (next - current) * counter / wait;
  }

  if (counter >= wait) {
    if (!preview && c[kMode] == 2) {
      // The fresh copy keeps the position set above in this evaluation.
      const double kept_position = position;
      recompute_variables(state);
      machine::run_program(state.machine, tables::slot_word(record[tables::kSlotCode]));
      std::memcpy(c, record, sizeof c);
      position = kept_position;
      stretch = stretch_factor(state, c[kStretch], sequence_length);
    }
    for (;;) {
      if (forward) position += 1;
      const SequenceNote note = note_at(sequences, lo + static_cast<int64_t>(position));
      c[tables::kSlotValue] = map_pitch(note.note, lowest, highest, c[kTopShift], c[kBottomShift], inverted);
      c[tables::kSlotLength] = note.duration * stretch;
      c[tables::kSlotOnset] = 1;
      if (preview) {
        record[tables::kSlotValue] = c[tables::kSlotValue];
        return;
      }
      std::memcpy(record, c, sizeof c);
      run_outputs(state, progress);
      if (!forward) position -= 1;
      // Chord notes (same bar and click) are all emitted in this click.
      const int64_t n = lo + static_cast<int64_t>(position);
      const SequenceNote here = note_at(sequences, n);
      const SequenceNote after = note_at(sequences, n + 1);
      if (here.bar != after.bar || here.click != after.click) break;
      if (forward ? n >= hi : position < 0) break;
    }
    c[tables::kSlotOnset] = 0;
    counter = 0;
    const bool pass_over = forward ? lo + position >= hi : position <= -1;
    if (pass_over) {
      // The next pass begins `rest` sixteenths after the last note ends.
      counter = 1.0 - truncate_to_int32(state.timing.clicks_per_sixteenth * c[kRest] + c[tables::kSlotLength]);
      position = -1;
    }
  }

  counter += 1;
  if (!preview) std::memcpy(record, c, sizeof c);
}

}  // namespace zelvo::composer
