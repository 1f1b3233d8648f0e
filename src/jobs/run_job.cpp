#include "console/job_console.h"
#include "files/whole_file.h"
#include "jobs/engines.h"
#include "jobs/job.h"

namespace zelvo::jobs {

namespace {

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

  // Nothing is read or written by path: the inputs come from memory and
  // every output goes to the writer.
  FolderJobOptions options;
  options.folder_name = input.folder_name.empty() ? "." : input.folder_name;
  options.notation = input.notation;
  options.grid = input.grid;
  options.progress = control.progress;
  RunWriter writer(control.results, output.files);
  options.results = &writer;
  // The job's outputs so far stand in front of its inputs, as in a folder.
  const files::MemoryReader inputs(output.files, input.files);
  options.inputs = &inputs;

  console::JobHooks hooks;
  hooks.compose = [&] { compose_in_folder(engines, options, console); };
  hooks.harmonize = [&] { harmonize_in_folder(engines, options, console); };
  flags.set_job_running(true);
  console::JobRunner runner(console, hooks);
  output.outcome = runner.run_body(input.command);
  output.exit_status = exit_status(output.outcome);
  engines.store().set_view(nullptr);
  engines.set_inputs(nullptr);
  output.console = std::move(recorder.text());
  if (output.outcome == console::JobOutcome::kFinished && input.command != console::JobKind::kCompose) {
    output.tones = harmonizer::result_tones(*engines.built_harmonizer());
  }
  return output;
}

}  // namespace zelvo::jobs
