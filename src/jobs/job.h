#pragma once

// Jobs as functions on inputs. A caller gives run_job the work's files as
// bytes (JobInput: name -> bytes, the command, the language, the notation
// options) and gets back what the job printed and made (JobOutput: the
// console text in Windows-1252, the exit status, every file the job made or
// changed as name -> bytes, the result's tone types). Engines is the
// engines' state, allocated on the first run that needs it and reused by
// every later one; JobControl is what the caller shares with a running job
// (the Stop request, the console as it grows, the harmonizer's progress).
// Console text, files and exit status are byte for byte what the same job
// gives in a work folder holding the same files: the command line's jobs
// call run_job and read and write their folder only around it.
//
// The engines read the work's files through a files::WorkReader and hand
// their outputs over as bytes (files::ResultWriter), so a run reads its
// inputs from JobInput::files, with each output it has made standing in
// front of them for the steps after it. Nothing is read or written by path,
// the harmonizer's debug listings included: callers that keep a work folder
// read it before and write it after.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "console/console_view.h"
#include "console/job_control.h"
#include "console/job_end.h"
#include "console/job_runner.h"
#include "base/message.h"
#include "engine/progress_observer.h"
#include "files/result_writer.h"
#include "harmonizer/tones_file.h"
#include "notation/notation_grid.h"

namespace zelvo::jobs {

class Engines;

// Files by name; a file in a subfolder (the harmonizer's debug listings) is
// named by its relative path with '/'.
using Files = std::map<std::string, std::string>;

struct JobInput {
  Files files;  // the work folder's files the job may read
  console::JobKind command = console::JobKind::kCompose;  // compose, harmonize or all
  int32_t language = base::kEnglish;
  bool notation = false;  // also write outco.musicxml / outar.musicxml
  notation::Grid grid = notation::Grid::kChosen;
  // The work folder as the harmonizer's "no configuration" message names it
  // (made absolute as that message does); empty: the current directory.
  std::string folder_name;
};

// One note of the harmonizer's result and the tone type it was given, as
// outar.tones lists them.
using ResultTone = harmonizer::ToneLine;

struct JobOutput {
  std::string console;  // every message as appended, Windows-1252
  console::JobOutcome outcome = console::JobOutcome::kFinished;
  int exit_status = 0;  // 0 finished, 1 aborted, 130 stopped
  Files files;          // every file the job wrote (and its writer took)
  std::vector<ResultTone> tones;  // after a harmonization that reached its end
};

// The exit status the command line gives for `outcome`.
int exit_status(console::JobOutcome outcome);

// What the caller and a running job share. request_stop may be called from
// any thread while run_job runs; the view and the progress observer are
// called on the thread that runs the job.
class JobControl {
 public:
  void request_stop() { flags_.request_stop(); }
  // The flags a job console reads (language, running, Stop).
  console::JobControl& flags() { return flags_; }

  // Given each message as it is appended (may be null).
  console::ConsoleView* view = nullptr;
  // Told each harmonic unit as the engine starts it (may be null).
  engine::ProgressObserver* progress = nullptr;
  // Given each output file as the job writes it (may be null); its answer
  // is the job's, so a caller writing into a folder gets the folder's
  // messages (a file that cannot be created, a full disk) from the job.
  files::ResultWriter* results = nullptr;

 private:
  console::JobControl flags_;
};

// Runs the job `input` asks for on `engines`, on the calling thread. Never
// throws for anything the job reads; one run at a time per Engines.
JobOutput run_job(Engines& engines, const JobInput& input, JobControl& control);

}  // namespace zelvo::jobs
