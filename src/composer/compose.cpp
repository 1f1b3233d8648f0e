#include "composer/compose.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "composer/composer_messages.h"
#include "composer/generation_loop.h"
#include "composer/listing.h"
#include "composer/midi_output.h"
#include "composer/sequence_reader.h"
#include "machine/builtins.h"
#include "machine/convert.h"
#include "tables/table_compiler.h"

namespace zelvo::composer {

void compose_init(ComposerState& state) {
  std::memset(&state.notes, 0, sizeof state.notes);
  std::memset(&state.sequences, 0, sizeof state.sequences);
  state.current_bar = 0;
  state.current_click = 0;
  state.range_warning = false;
  state.pass_flag = 0;
  state.done.fill(0);
  state.variable_program_count = 0;
}

console::Status compose_timing(ComposerState& state, console::JobConsole& console) {
  const double* values = state.composition.config;
  switch (take_timing_values(values, state.timing)) {
    case TimingProblem::kBadDenominator:
      return console::Message(kBadDenominator);
    case TimingProblem::kBadTempo:
      return console::Message(kBadTempo);
    case TimingProblem::kNone:
      break;
  }
  derive_clicks(values, state.timing);
  const auto seed = static_cast<uint32_t>(machine::truncate_to_int32(values[tables::kConfigSeed]));
  const uint32_t used = machine::seed_random(state.machine, seed);
  console_print(console, kSeedMessage, static_cast<unsigned>(used));
  check_stop(console);
  return console::Status();
}

console::Status read_sequences(ComposerState& state, console::JobConsole& console) {
  std::unique_ptr<std::FILE, decltype(&std::fclose)> file(
      state.score_opener != nullptr
          ? state.score_opener->open_score(state.work_folder, kSequenceFile, console)
          : std::fopen(console::work_path(state.work_folder, kSequenceFile).c_str(), "rb"),
      &std::fclose);
  const SequenceReadResult result = read_sequence_file(file.get(), state.timing, state.notes, state.sequences);
  switch (result.status) {
    case SequenceReadStatus::kNotOpened:
      console_print(console, kNoSequenceFile);
      check_stop(console);
      return console::Status();
    case SequenceReadStatus::kTooManyNotes:
      return console::Message(kSequenceTooManyNotes, kSequenceFile, kMaxEvents);
    case SequenceReadStatus::kTooManyBoundaries:
      return console::Message(kSequenceTooManyBoundaries, kSequenceFile, result.line, kMaxBarStyleLines);
    case SequenceReadStatus::kMissingNumber:
      return console::Message(kSequenceMissingNumber, kSequenceFile, result.line);
    case SequenceReadStatus::kNoDivisions:
      return console::Message(kSequenceNoDivisions, kSequenceFile, result.line);
    case SequenceReadStatus::kRead:
      break;
  }
  console_print(console, kSequenceFileRead);
  check_stop(console);
  compute_times(state.notes, state.timing);
  sort_events(state.notes);
  if (!make_sequences(state.notes, state.sequences)) {
    return console::Message(kSequenceTooManySequenceNotes, kSequenceFile, kMaxSequenceNotes);
  }
  // The sequences' own notes never reach the output.
  state.notes.count = 0;
  return console::Status();
}

void write_midi_file(ComposerState& state, console::JobConsole& console, const char* name) {
  const MidiEncodeResult encoded = encode_midi_file(state.notes, state.timing, state.midi);
  if (!encoded.ok) console::fail(console, kTimeTooLarge, static_cast<long long>(encoded.bad_delta), name);
  switch (midi::write_file(console::work_path(state.work_folder, name).c_str(), state.midi)) {
    case midi::WriteStatus::kNotCreated: console::fail(console, kCannotCreate, name);
    case midi::WriteStatus::kNotWritten: console::fail(console, kCannotWrite, name);
    case midi::WriteStatus::kWritten: break;
  }
}

// The run order of a Compose job.
void compose(ComposerState& state, console::JobConsole& console) {
  compose_init(state);
  console_print(console, kStartMessage);
  check_stop(console);

  const console::Status compiled = tables::compile_tables(state.composition, state.machine, console,
                                                         state.work_folder.c_str(), state.composition_opener);
  if (!compiled.ok()) console::fail(console, compiled.error());
  collect_variable_programs(state);
  if (console::Status timed = compose_timing(state, console); !timed.ok()) console::fail(console, timed.error());
  if (console::Status read = read_sequences(state, console); !read.ok()) console::fail(console, read.error());

  if (console::Status generated = generate(state, console, state.timing.bar_count); !generated.ok()) {
    console::fail(console, generated.error());
  }

  const std::string listing = console::work_path(state.work_folder, kCompositionListing);
  switch (write_listing(listing.c_str(), state.timing, state.notes)) {
    case FileResult::kNotCreated: console::fail(console, kCannotCreate, kCompositionListing);
    case FileResult::kNotWritten: console::fail(console, kCannotWrite, kCompositionListing);
    case FileResult::kWritten: break;
  }

  console_print(console, kMidiFileMessage);
  check_stop(console);
  add_note_offs(state.notes);
  compute_times(state.notes, state.timing);
  sort_events(state.notes);
  write_midi_file(state, console, kCompositionMidi);
}

}  // namespace zelvo::composer
