#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "console/job_console.h"
#include "console/job_runner.h"
#include "harmonizer/harmonizer_state.h"
#include "jobs/engines.h"
#include "notation/notation_grid.h"
#include "shell/unit_watch.h"

namespace zelvo::shell {

// Everything that outlives a job: the console, the job control (language,
// Stop), the open-result choice, and the engines' state, allocated once for
// the program's life. The harmonizer's settings keep what the last run read.
class Application {
 public:
  Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The text jobs print to, and the job's language and Stop; printing goes
  // through console(), which joins the two.
  console::Console& console_store() { return store_; }
  console::JobControl& job_control() { return control_; }
  console::JobConsole& console() { return console_; }
  // The engines' states are built by the first job that needs them (a
  // compose job never pays for the harmonizer's tables) and kept for the
  // program's life: every run re-initialises what it reads. Called from the
  // job thread, or while no job runs.
  composer::ComposerState& composer_state();
  harmonizer::HarmonizerState& harmonizer_state();
  console::JobRunner& runner() { return *runner_; }
  // The unit the harmonizer is working on, for the "still working" lines.
  const UnitWatch& unit_watch() const { return unit_watch_; }

  // Whether jobs also write their results as MusicXML (outco.musicxml,
  // outar.musicxml with tone types); off unless asked for.
  bool write_notation() const { return write_notation_ != 0; }
  void set_write_notation(bool on) { write_notation_ = on ? 1 : 0; }
  // Where those files place their notes (notation_grid.h); the grid the
  // music fits unless asked otherwise.
  notation::Grid notation_grid() const { return static_cast<notation::Grid>(notation_grid_.load()); }
  void set_notation_grid(notation::Grid grid) { notation_grid_ = static_cast<int32_t>(grid); }

  // The folder the next job reads and writes in (empty: the current
  // directory). A job takes it when it starts, so a change while it runs
  // waits for the next one.
  std::string work_folder() const;
  void set_work_folder(std::string folder);

  bool open_result() const { return open_result_ != 0; }
  void set_open_result(bool on) { open_result_ = on ? 1 : 0; }
  // Called with the result's file name after a job that ended normally and
  // while the open-result switch is on; the front end sets it.
  void set_result_opener(std::function<void(const char*)> opener) { opener_ = std::move(opener); }

 private:
  console::Console store_;
  console::JobControl control_;
  console::JobConsole console_{store_, control_};
  jobs::Engines engines_;
  UnitWatch unit_watch_;
  std::atomic<int32_t> open_result_{0};
  std::atomic<int32_t> write_notation_{0};
  std::atomic<int32_t> notation_grid_{static_cast<int32_t>(notation::Grid::kChosen)};
  std::function<void(const char*)> opener_;
  mutable std::mutex work_folder_lock_;
  std::string work_folder_;
  std::unique_ptr<console::JobRunner> runner_;
};

}  // namespace zelvo::shell
