#include "composer/compose.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "base/message_id.h"
#include "base/work_folder_name.h"
#include "composer/generation_loop.h"
#include "composer/listing.h"
#include "composer/midi_output.h"
#include "composer/sequence_reader.h"
#include "files/result_writer.h"
#include "machine/builtins.h"
#include "machine/convert.h"
#include "tables/table_compiler.h"

namespace zelvo::composer {

using enum base::MessageId;

void compose_init(ComposerState& state) {
  clear_events(state.notes);
  std::memset(&state.sequences, 0, sizeof state.sequences);
  state.current_bar = 0;
  state.current_click = 0;
  state.bar_first_event = 0;
  state.range_warning = false;
  state.pass_flag = 0;
  state.done.fill(0);
  state.variable_program_count = 0;
}

base::Status compose_timing(ComposerState& state, base::ProgressLines& progress) {
  const double* values = state.composition.config;
  switch (take_timing_values(values, state.timing)) {
    case TimingProblem::kBadDenominator:
      return base::Message(kBadDenominator);
    case TimingProblem::kBadTempo:
      return base::Message(kComposerBadTempo);
    case TimingProblem::kNone:
      break;
  }
  derive_clicks(values, state.timing);
  const auto seed = static_cast<uint32_t>(machine::truncate_to_int32(values[tables::kConfigSeed]));
  const uint32_t used = machine::seed_random(state.machine, seed);
  progress.note(base::Message(kSeedMessage, static_cast<unsigned>(used)));
  progress.check_stop();
  return base::Status();
}

base::Status read_sequences(ComposerState& state, base::ProgressLines& progress) {
  const console::OpenedScore opened =
      console::open_score(state.score_opener, state.work_folder, kSequenceFile, progress);
  if (!opened.status.ok()) return opened.status;
  std::unique_ptr<std::FILE, decltype(&std::fclose)> file(opened.file, &std::fclose);
  if (file == nullptr) {
    progress.note(base::Message(kNoSequenceFile));
    progress.check_stop();
    return base::Status();
  }
  if (base::Status read = read_sequence_file(file.get(), kSequenceFile, state.timing, state.notes, state.sequences);
      !read.ok()) {
    return read;
  }
  progress.note(base::Message(kSequenceFileRead));
  progress.check_stop();
  compute_times(state.notes, state.timing);
  sort_events(state.notes);
  if (!make_sequences(state.notes, state.sequences)) {
    return base::Message(kSequenceTooManySequenceNotes, kSequenceFile, kMaxSequenceNotes);
  }
  // The sequences' own notes never reach the output.
  state.notes.count = 0;
  return base::Status();
}

base::Status write_midi_file(ComposerState& state, const char* name) {
  const MidiEncodeResult encoded = encode_midi_file(state.notes, state.timing, state.midi);
  if (!encoded.ok) return base::Message(kTimeTooLarge, static_cast<long long>(encoded.bad_delta), name);
  switch (files::write_output(state.results, state.work_folder, name, state.midi.bytes, files::Replace::kInPlace)) {
    case files::WriteResult::kNotCreated: return base::Message(kCannotCreate, name);
    case files::WriteResult::kNotWritten: return base::Message(kCannotWrite, name);
    case files::WriteResult::kWritten: break;
  }
  return base::Status();
}

base::Status write_listing_file(const ComposerState& state) {
  switch (files::write_output(state.results, state.work_folder, kCompositionListing,
                              listing_text(state.timing, state.notes), files::Replace::kInPlace)) {
    case files::WriteResult::kNotCreated: return base::Message(kCannotCreate, kCompositionListing);
    case files::WriteResult::kNotWritten: return base::Message(kCannotWrite, kCompositionListing);
    case files::WriteResult::kWritten: break;
  }
  return base::Status();
}

namespace {

// Every step's error ends the Compose job the one way: its message, then
// the abort.
void or_abort(console::JobConsole& console, const base::Status& status) {
  if (!status.ok()) console::fail(console, status.error());
}

}  // namespace

// The run order of a Compose job.
void compose(ComposerState& state, console::JobConsole& console) {
  compose_init(state);
  console_print(console, kComposerStartMessage);
  check_stop(console);

  const base::Status tables = tables::compile_tables(state.composition, state.machine, console,
                                                         state.work_folder.c_str(), state.composition_opener);
  if (!tables.ok() && tables.error().id() == kOpenError) {
    // Which files, in which folder: a job run in the wrong folder says so.
    console.print(tables.error());
    const std::string& named = state.named_folder.empty() ? state.work_folder : state.named_folder;
    console_print(console, kNoCompositionIn, base::shown_work_folder(named).c_str());
    abort_job(console);
  }
  or_abort(console, tables);
  collect_variable_programs(state);
  or_abort(console, compose_timing(state, console));
  or_abort(console, read_sequences(state, console));
  or_abort(console, generate(state, console, state.timing.bar_count));
  or_abort(console, write_listing_file(state));

  console_print(console, kMidiFileMessage);
  check_stop(console);
  add_note_offs(state.notes);
  compute_times(state.notes, state.timing);
  sort_events(state.notes);
  or_abort(console, write_midi_file(state, kCompositionMidi));
}

}  // namespace zelvo::composer
