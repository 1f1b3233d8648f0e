#pragma once

// Live results: a composition run after every edit, once the edits pause.
// The run is the zelvo program in a child process, on a scratch copy of the
// work folder, so the window never waits for it and the work folder's
// outco.* and outar.mid change only when the user runs a job. One run at a
// time: edits during a run are run once it ends, with the latest text.
#include <QObject>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "composition/document.h"

class QProcess;

namespace zelvo::editor {

class LiveRun : public QObject {
 public:
  static constexpr int kPauseMs = 150;  // after the last edit

  // `program`: the zelvo command line program.
  explicit LiveRun(std::string program, QObject* parent = nullptr);
  ~LiveRun() override;

  // With the harmonizer: the run is "all" and its result outar.mid.
  void set_harmonize(bool on) { harmonize_ = on; }
  bool harmonize() const { return harmonize_; }
  void set_program(std::string program) { program_ = std::move(program); }

  // The document as edited now, composed once the edits pause; the other
  // inputs come from `work_folder`.
  void schedule(const composition::Document& document, const std::string& work_folder);
  // Runs at once, without the pause.
  void run_now();
  bool busy() const;
  int finished_runs() const { return finished_runs_; }

  // The scratch folder's copy of a good result (MIDI file), or the console
  // text of a run that failed (Windows-1252, as the composer prints it).
  std::function<void(const std::string& midi_file)> on_result;
  std::function<void(const std::string& console_text)> on_failure;

 private:
  void start();
  void finished(int exit_code);

  std::string program_;
  QTemporaryDir scratch_;
  QTimer pause_;
  QProcess* process_ = nullptr;
  composition::Document pending_;
  std::string work_folder_;
  bool have_pending_ = false;
  bool harmonize_ = false;
  bool running_harmonize_ = false;
  int finished_runs_ = 0;
};

}  // namespace zelvo::editor
