#include "composer/generation_loop.h"

#include "base/message_id.h"
#include "composer/calculated_generator.h"
#include "composer/sequence_generator.h"
#include "machine/convert.h"

namespace zelvo::composer {

using enum base::MessageId;

using machine::truncate_to_int32;

namespace {

constexpr uint32_t kOrderBound = 65000;

int32_t clamp_midi(int32_t value, bool& clamped) {
  if (value > 127) {
    clamped = true;
    return 127;
  }
  if (value < 0) {
    clamped = true;
    return 0;
  }
  return value;
}

}  // namespace

void run_outputs(ComposerState& state, base::ProgressLines& progress) {
  if (state.pass_flag >= 1) return;
  recompute_variables(state);
  NoteTable& notes = state.notes;
  for (int32_t channel = 0; channel < tables::kOutputRecords; ++channel) {
    const double* const out = state.composition.outputs[channel].slot;
    machine::run_program(state.machine, tables::slot_word(out[tables::kOutCode]));
    if (!(out[tables::kOutChannel] >= 1 && out[tables::kOutChannel] <= 16) || out[tables::kOutGate] == 0) continue;
    if (notes.count - state.bar_first_event >= kMaxBarEvents) {
      base::stop_with(base::Message(kTooManyBarEvents, kMaxBarEvents, state.current_bar));
    }
    // Half the table is kept for the note-off copies.
    if (notes.count >= kMaxGeneratedEvents) {
      base::stop_with(base::Message(kTooManyNoteEvents, kMaxGeneratedEvents, state.current_bar));
    }
    reserve_events(notes, notes.count + 1);
    NoteEvent& e = notes.events[notes.count];
    bool clamped = false;
    e.Inst = truncate_to_int32(out[tables::kOutChannel]);
    e.Cpin = state.current_bar;
    e.Ckin = state.current_click;
    e.Dur = truncate_to_int32(out[tables::kOutDuration]);
    e.Note = clamp_midi(truncate_to_int32(out[tables::kOutNote]), clamped);
    e.Vel = clamp_midi(truncate_to_int32(out[tables::kOutVelocity]), clamped);
    if (clamped && !state.range_warning) {
      state.range_warning = true;
      progress.note(base::Message(kRangeWarning));
      progress.check_stop();
    }
    ++notes.count;
  }
}

int32_t select_next_generator(const ComposerState& state) {
  uint32_t bound = kOrderBound;
  int32_t candidate = 0;
  for (int32_t g = 1; g <= tables::kMaxGenerators; ++g) {
    if (state.done[g]) continue;
    const double* const record = state.composition.generators[g].slot;
    const uint32_t kind = tables::slot_word(record[tables::kSlotKind]);
    if (kind != tables::kKindCalculated && kind != tables::kKindSequence) continue;
    const double order = kind == tables::kKindCalculated ? record[calc::kOrder] : record[seq::kOrder];
    if (static_cast<double>(bound) >= order) {
      candidate = g;
      // An order of 0 wraps the bound round to 4294967295.
      bound = static_cast<uint32_t>(static_cast<int64_t>(truncate_to_int32(order)) - 1);
    }
  }
  return candidate;
}

namespace {

// Whether any program can store into a generator's kind or order slot. When
// none can, every pass picks the generators in one and the same order.
bool orders_can_change(const ComposerState& state) {
  const double* const first = state.composition.generators[0].slot;
  const double* const last = first + tables::kGeneratorRecords * tables::kGeneratorSlots;
  auto reaches = [&](const double* pointer) {
    if (pointer < first || pointer >= last) return false;
    const auto index = pointer - first;
    const double* const record = first + index / tables::kGeneratorSlots * tables::kGeneratorSlots;
    const auto slot = index % tables::kGeneratorSlots;
    const uint32_t kind = tables::slot_word(record[tables::kSlotKind]);
    const int32_t order = kind == tables::kKindCalculated ? calc::kOrder : seq::kOrder;
    return slot == tables::kSlotKind || slot == order;
  };
  const machine::MachineState& machine = state.machine;
  for (int32_t t = 0; t < machine.target_count && t < machine::kMaxTargets; ++t) {
    if (reaches(machine.targets[t])) return true;
  }
  for (const double* value : machine.symbol_values) {
    if (reaches(value)) return true;
  }
  return false;
}

// The generators of one pass in the order select_next_generator takes them.
int32_t pass_order(ComposerState& state, std::array<uint8_t, tables::kGeneratorRecords>& order) {
  int32_t count = 0;
  state.done.fill(0);
  for (int32_t g = select_next_generator(state); g != 0; g = select_next_generator(state)) {
    order[count++] = static_cast<uint8_t>(g);
    state.done[g] = 1;
  }
  state.done.fill(0);
  return count;
}

void run_generator(ComposerState& state, base::ProgressLines& progress, int32_t g) {
  const uint32_t kind = tables::slot_word(state.composition.generators[g].slot[tables::kSlotKind]);
  if (kind == tables::kKindCalculated) {
    run_calculated_generator(state, progress, g);
  } else {
    run_sequence_generator(state, progress, g);
  }
}

void generate_bars(ComposerState& state, base::ProgressLines& progress, int32_t bar_count) {
  progress.note(base::Message(kGenerationStarts));
  progress.check_stop();
  const int32_t clicks_per_bar = state.timing.clicks_per_bar();
  std::array<uint8_t, tables::kGeneratorRecords> order;
  const int32_t fixed_count = orders_can_change(state) ? -1 : pass_order(state, order);
  for (int32_t bar = 1; bar <= bar_count; ++bar) {
    state.current_bar = bar;
    progress.show(base::Message(kEachBar, bar));
    progress.check_stop();
    if (state.notes.count >= kGenerationStopEvents) break;
    state.bar_first_event = state.notes.count;
    for (int32_t click = 0; click < clicks_per_bar; ++click) {
      state.current_click = click;
      state.done.fill(0);
      if (fixed_count >= 0) {
        for (state.pass_flag = 1; state.pass_flag >= 0; --state.pass_flag) {
          for (int32_t i = 0; i < fixed_count; ++i) run_generator(state, progress, order[i]);
        }
        continue;
      }
      state.pass_flag = 1;
      while (state.pass_flag >= 0) {
        const int32_t g = select_next_generator(state);
        if (g == 0) {
          --state.pass_flag;
          state.done.fill(0);
          continue;
        }
        run_generator(state, progress, g);
        state.done[g] = 1;
      }
    }
  }
}

}  // namespace

base::Status generate(ComposerState& state, base::ProgressLines& progress, int32_t bar_count) {
  return base::attempt([&] { generate_bars(state, progress, bar_count); });
}

bool within_window(const ComposerState& state, double start_bar, double start_click, double length_bars,
                   double length_clicks) {
  const double clicks_per_bar = state.timing.clicks_per_bar();
  const double now = static_cast<double>(state.current_bar) * clicks_per_bar + state.current_click;
  const double start = start_bar * clicks_per_bar + start_click;
  const double end = start + length_bars * clicks_per_bar + length_clicks;
  return start <= now && now < end;
}

}  // namespace zelvo::composer
