#include "editor/live_run.h"

#include <QProcess>
#include <filesystem>

#include "composition/work_file.h"
#include "console/windows1252.h"
#include "console/work_files.h"
#include "files/run_inputs.h"

namespace zelvo::editor {

namespace {

namespace fs = std::filesystem;

// The inputs of a run: every file of the work folder but the composition
// and the results, copied when it changed since the last copy.
void copy_inputs(const std::string& work, const fs::path& run) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(work, error)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file() || !files::is_run_input(name)) continue;
    const fs::path target = run / name;
    if (fs::exists(target, error) && fs::last_write_time(target, error) == entry.last_write_time(error) &&
        fs::file_size(target, error) == entry.file_size(error)) {
      continue;
    }
    fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing, error);
    fs::last_write_time(target, entry.last_write_time(error), error);
  }
}

}  // namespace

LiveRun::LiveRun(std::string program, QObject* parent) : QObject(parent), program_(std::move(program)) {
  pause_.setSingleShot(true);
  pause_.setInterval(kPauseMs);
  connect(&pause_, &QTimer::timeout, this, [this] { start(); });
  process_ = new QProcess(this);
  process_->setProcessChannelMode(QProcess::MergedChannels);
  connect(process_, &QProcess::finished, this, [this](int exit_code, QProcess::ExitStatus status) {
    finished(status == QProcess::NormalExit ? exit_code : -1);
  });
  connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) finished(-1);
  });
}

LiveRun::~LiveRun() {
  if (process_->state() != QProcess::NotRunning) {
    process_->kill();
    process_->waitForFinished(2000);
  }
}

bool LiveRun::busy() const { return process_->state() != QProcess::NotRunning || pause_.isActive(); }

void LiveRun::schedule(const composition::Document& document, const std::string& work_folder) {
  pending_ = document;
  work_folder_ = work_folder;
  have_pending_ = true;
  pause_.start();
}

void LiveRun::run_now() {
  pause_.stop();
  start();
}

void LiveRun::start() {
  if (!have_pending_ || process_->state() != QProcess::NotRunning || !scratch_.isValid()) return;
  have_pending_ = false;
  const fs::path run = fs::path(scratch_.path().toStdString()) / "run";
  std::error_code error;
  fs::create_directories(run, error);
  copy_inputs(work_folder_, run);
  for (const char* result : {console::kCompositionMidi, console::kCompositionListing, console::kHarmonyMidi}) {
    fs::remove(run / result, error);
  }
  if (composition::save_composition((run / console::kCompositionFile).string(), pending_) !=
      composition::FileResult::kDone) {
    if (on_failure) on_failure("cannot write the scratch copy of incom.htm");
    return;
  }
  running_harmonize_ = harmonize_;
  process_->start(QString::fromStdString(program_),
                  {"--work", QString::fromStdString(run.string()), running_harmonize_ ? "all" : "compose"});
}

void LiveRun::finished(int exit_code) {
  ++finished_runs_;
  const fs::path run = fs::path(scratch_.path().toStdString()) / "run";
  const fs::path made = run / (running_harmonize_ ? console::kHarmonyMidi : console::kCompositionMidi);
  std::error_code error;
  if (exit_code == 0 && fs::exists(made, error)) {
    // Two alternating copies: the one playing is never overwritten.
    const fs::path kept = fs::path(scratch_.path().toStdString()) /
                          ("live-" + std::to_string(finished_runs_ % 2) + ".mid");
    fs::copy_file(made, kept, fs::copy_options::overwrite_existing, error);
    if (on_result) on_result(kept.string());
  } else if (on_failure) {
    on_failure(console::from_utf8(process_->readAll().toStdString()));
  }
  process_->readAll();
  if (have_pending_) start();
}

}  // namespace zelvo::editor
