#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "composer/midi_output.h"
#include "composer/note_events.h"
#include "composer/sequence_reader.h"
#include "composer/timing.h"
#include "composer/variables.h"
#include "console/composition_opener.h"
#include "console/score_opener.h"
#include "machine/machine_state.h"
#include "tables/composition.h"

namespace zelvo::composer {

// Every table of the composer: the compiled composition, the stack machine,
// the note events and the sequences. Allocated once by the application (it
// is large) and re-initialised by each run (compose_init and the table
// compiler). The machine's pointers lead into `composition`, so the state
// never moves.
struct ComposerState {
  tables::Composition composition;
  machine::MachineState machine;

  ComposerTiming timing;
  NoteTable notes;
  SequenceTables sequences;
  MidiImage midi;

  int32_t current_bar;    // counted from 1
  int32_t current_click;  // counted from 0
  int32_t bar_first_event;  // events that existed when the current bar began
  bool range_warning;     // the out-of-range warning was printed in this run

  // The generation loop's pass flag (1 preview, 0 full) and its done marks.
  int32_t pass_flag;
  std::array<uint8_t, tables::kGeneratorRecords> done;

  // The calculated variables' programs, in table order, gathered once after
  // the compile so that each recomputation is a plain loop.
  std::array<VariableProgram, tables::kMaxSymbols> variable_programs;
  int32_t variable_program_count;

  // Set by the application to read insec.xml of any layout; not owned.
  console::ScoreOpener* score_opener = nullptr;
  // Set by the application to read incom.htm written by any HTML editor.
  console::CompositionOpener* composition_opener = nullptr;

  // The folder the job reads and writes its files in; empty for the
  // current directory. Set before each job, read only by the job thread.
  std::string work_folder;
  // The folder the "no composition" message names, made absolute there;
  // empty: work_folder. Set when the job runs on a copy of the work's files.
  std::string named_folder;
};

}  // namespace zelvo::composer
