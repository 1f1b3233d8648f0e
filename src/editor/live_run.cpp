#include "editor/live_run.h"

#include <QMetaObject>
#include <cstdio>

#include "composition/any_html.h"
#include "files/whole_file.h"
#include "shell/live_loop.h"

namespace zelvo::editor {

LiveRun::LiveRun(QObject* parent) : QObject(parent) {
  loop_ = std::make_unique<shell::LiveLoop>([this](shell::LiveResult result) {
    // From the loop's thread to the window's, in the order they came.
    QMetaObject::invokeMethod(
        this, [this, result = std::move(result)] { arrived(result); }, Qt::QueuedConnection);
  });
}

// The loop ends first: no result is queued to a LiveRun that is gone.
LiveRun::~LiveRun() { loop_.reset(); }

bool LiveRun::busy() const { return loop_->busy() || shown_ < submitted_; }

void LiveRun::schedule(const composition::Document& document, const std::string& work_folder) {
  submitted_ = loop_->submit({composition::write_any_html(document), work_folder, harmonize_, language_});
}

void LiveRun::arrived(const shell::LiveResult& result) {
  if (result.request <= shown_) return;  // never an older text after a newer one
  // Results overtaken on their way here count as shown.
  shown_ = result.request;
  ++finished_runs_;
  if (result.outcome != console::JobOutcome::kFinished || result.midi.empty()) {
    if (on_failure) on_failure(result.console_text);
    return;
  }
  // Two alternating copies: the one playing is never overwritten. The tones
  // file goes beside the MIDI file, where the roll looks for it.
  const std::string stem = scratch_.path().toStdString() + "/live-" + std::to_string(finished_runs_ % 2);
  std::remove((stem + ".tones").c_str());
  const auto written = [](const std::string& path, const std::string& bytes) {
    return files::write_file(path, bytes) == files::WriteResult::kWritten;
  };
  if (!written(stem + ".mid", result.midi) || (!result.tones.empty() && !written(stem + ".tones", result.tones))) {
    if (on_failure) on_failure("cannot write the scratch copy of the result");
    return;
  }
  if (on_result) on_result(stem + ".mid");
}

}  // namespace zelvo::editor
