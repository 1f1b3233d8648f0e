#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "console/job_console.h"
#include "files/whole_file.h"
#include "jobs/engines.h"
#include "jobs/job.h"

namespace zelvo::jobs {

namespace {

namespace fs = std::filesystem;

// The inputs are stamped with this time, so that any file the job writes,
// however soon after, carries a later one.
const fs::file_time_type kInputStamp = fs::file_time_type::clock::now() - std::chrono::hours(24 * 365);

// Keeps every appended message and passes it on to the caller's view.
class Recorder : public console::ConsoleView {
 public:
  explicit Recorder(console::ConsoleView* next) : next_(next) {}
  void appended(std::string_view text) override {
    text_.append(text);
    if (next_ != nullptr) next_->appended(text);
  }
  void paint(bool follow_end) override {
    if (next_ != nullptr) next_->paint(follow_end);
  }
  void recompute_scroll(bool follow_end) override {
    if (next_ != nullptr) next_->recompute_scroll(follow_end);
  }
  std::string& text() { return text_; }

 private:
  console::ConsoleView* next_;
  std::string text_;
};

// Keeps each output, where the steps after it read it, and passes it on to
// the caller's writer, whose answer it gives.
class RunWriter : public files::ResultWriter {
 public:
  RunWriter(files::ResultWriter* next, Files& kept) : next_(next), kept_(kept) {}
  files::WriteResult write(const std::string& name, std::string_view bytes, files::Replace replace) override {
    const files::WriteResult result =
        next_ != nullptr ? next_->write(name, bytes, replace) : files::WriteResult::kWritten;
    if (result != files::WriteResult::kWritten) return result;
    kept_[name] = std::string(bytes);
    return result;
  }

 private:
  files::ResultWriter* next_;
  Files& kept_;
};

void empty_folder(const fs::path& folder) {
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(folder, ignored)) fs::remove_all(entry.path(), ignored);
}

// A name that stays inside the folder: relative, no "." or ".." step.
bool plain_name(const std::string& name) {
  const fs::path path(name);
  if (name.empty() || path.is_absolute() || path.has_root_name()) return false;
  for (const fs::path& step : path) {
    if (step.empty() || step == "." || step == "..") return false;
  }
  return true;
}

// Writes the inputs in subfolders (the harmonizer's debug folder, where its
// listings go by path only when it is there) into the empty `folder`; false
// when one cannot be, or when a name leaves the folder.
bool place_inputs(const fs::path& folder, const Files& files) {
  std::error_code error;
  for (const auto& [name, bytes] : files) {
    if (!plain_name(name)) return false;
    if (name.find('/') == std::string::npos) continue;  // read from memory
    const fs::path path = folder / name;
    if (path.has_parent_path()) fs::create_directories(path.parent_path(), error);
    if (files::write_file(path.string(), bytes) != files::WriteResult::kWritten) return false;
    fs::last_write_time(path, kInputStamp, error);
    if (error) return false;
  }
  return true;
}

// Every file under `folder` the job made or wrote.
Files written_files(const fs::path& folder) {
  Files files;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::recursive_directory_iterator();
       it.increment(error)) {
    if (!it->is_regular_file(error) || it->last_write_time(error) == kInputStamp) continue;
    std::string bytes;
    if (!files::read_whole(it->path().string(), bytes)) continue;
    files[fs::relative(it->path(), folder, error).generic_string()] = std::move(bytes);
  }
  return files;
}

}  // namespace

int exit_status(console::JobOutcome outcome) {
  switch (outcome) {
    case console::JobOutcome::kFinished: return 0;
    case console::JobOutcome::kAborted: return 1;
    case console::JobOutcome::kStopped: return 130;
  }
  return 1;
}

JobOutput run_job(Engines& engines, const JobInput& input, JobControl& control) {
  JobOutput output;
  console::JobControl& flags = control.flags();
  flags.set_language(input.language);
  console::JobConsole console(engines.store(), flags);
  Recorder recorder(control.view);
  engines.store().set_view(&recorder);
  console.clear_console();

  const std::string& scratch = engines.scratch_folder();
  FolderJobOptions options;
  options.folder = scratch;
  options.folder_name = input.folder_name.empty() ? "." : input.folder_name;
  options.notation = input.notation;
  options.grid = input.grid;
  options.progress = control.progress;
  RunWriter writer(control.results, output.files);
  options.results = &writer;
  // The job's outputs so far stand in front of its inputs, as in a folder.
  const files::MemoryReader inputs(output.files, input.files);
  options.inputs = &inputs;
  const bool placed = !scratch.empty() && (empty_folder(scratch), place_inputs(scratch, input.files));

  console::JobHooks hooks;
  hooks.compose = [&] { compose_in_folder(engines, options, console); };
  hooks.harmonize = [&] { harmonize_in_folder(engines, options, console); };
  if (!placed) {
    // Without a place to run in, the job ends as a failing library call does.
    hooks.compose = hooks.harmonize = [&] { throw std::runtime_error("cannot prepare the job's files"); };
  }
  flags.set_job_running(true);
  console::JobRunner runner(console, hooks);
  output.outcome = runner.run_body(input.command);
  output.exit_status = exit_status(output.outcome);
  engines.store().set_view(nullptr);
  engines.set_inputs(nullptr);
  output.console = std::move(recorder.text());
  if (placed) {
    // What the job wrote by path (the debug listings) goes out last.
    for (auto& [name, bytes] : written_files(scratch)) {
      if (output.files.count(name) != 0) continue;
      if (control.results != nullptr) control.results->write(name, bytes, files::Replace::kInPlace);
      output.files[name] = std::move(bytes);
    }
    empty_folder(scratch);
  }
  if (output.outcome == console::JobOutcome::kFinished && input.command != console::JobKind::kCompose) {
    output.tones = harmonizer::result_tones(*engines.built_harmonizer());
  }
  return output;
}

}  // namespace zelvo::jobs
