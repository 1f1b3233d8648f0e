#pragma once

#include <memory>
#include <string>

#include "composer/composer_state.h"
#include "console/console.h"
#include "console/job_console.h"
#include "console/job_runner.h"
#include "console/zeroed_state.h"
#include "files/result_writer.h"
#include "files/work_reader.h"
#include "harmonizer/harmonizer_state.h"
#include "intake/composition_intake.h"
#include "intake/score_intake.h"
#include "notation/notation_grid.h"

namespace zelvo::jobs {

// The engines' state between runs: the composer's and the harmonizer's
// tables (large; each built by the first job that needs it, so a compose job
// never pays for the harmonizer's), the score and composition intakes, and
// the console store run_job prints into. Every run re-initialises what it
// reads; the harmonizer's settings keep what the last run read.
class Engines {
 public:
  Engines() = default;
  ~Engines() = default;
  Engines(const Engines&) = delete;
  Engines& operator=(const Engines&) = delete;

  composer::ComposerState& composer_state();
  harmonizer::HarmonizerState& harmonizer_state();
  // The harmonizer's state if a job has built it, else null.
  const harmonizer::HarmonizerState* built_harmonizer() const { return harmonizer_.get(); }

  // The intake that opens scores for both engines; begin_job before each job.
  intake::ScoreIntake& intake() { return intake_; }
  // Where both engines read the work's files for the jobs to come (null:
  // each job's folder); the reader is the caller's.
  void set_inputs(const files::WorkReader* inputs);
  // The console store run_job prints into.
  console::Console& store() { return store_; }

 private:
  console::ZeroedPtr<composer::ComposerState> composer_;
  console::ZeroedPtr<harmonizer::HarmonizerState> harmonizer_;
  intake::ScoreIntake intake_;
  intake::CompositionIntake composition_intake_;
  console::Console store_;
};

// How a job runs in a work folder, as the window's jobs and run_job do.
struct FolderJobOptions {
  std::string folder;       // where the files are read and written (empty: the current directory)
  std::string folder_name;  // the folder the messages name (empty: the current directory)
  // Where the work's files are read (null: from `folder`); not owned.
  const files::WorkReader* inputs = nullptr;
  bool notation = false;
  notation::Grid grid = notation::Grid::kChosen;
  engine::ProgressObserver* progress = nullptr;
  files::ResultWriter* results = nullptr;  // where outputs go; null: into `folder`
};

// The compose and harmonize steps of a job in `options.folder`, printing to
// `console`; a stop or an error ends them with JobEnded (console::JobRunner
// catches it).
void compose_in_folder(Engines& engines, const FolderJobOptions& options, console::JobConsole& console);
void harmonize_in_folder(Engines& engines, const FolderJobOptions& options, console::JobConsole& console);

}  // namespace zelvo::jobs
