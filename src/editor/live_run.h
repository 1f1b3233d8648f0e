#pragma once

// Live results for the window: the composition as edited now is composed
// (and harmonized) inside the program by a live loop (shell/live_loop.h)
// at once, with no pause: an edit made while a run goes stops that run and
// is run next, edits meanwhile fold into the newest. The results come back
// on the window's thread, newest last, as files of a scratch folder of
// their own (the MIDI file and, when harmonized, its tones file beside it),
// so the work folder's outco.* and outar.* change only when the user runs
// a job.
#include <QObject>
#include <QTemporaryDir>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "composition/document.h"
#include "base/message.h"

namespace zelvo::shell {
class LiveLoop;
struct LiveResult;
}  // namespace zelvo::shell

namespace zelvo::editor {

class LiveRun : public QObject {
 public:
  explicit LiveRun(QObject* parent = nullptr);
  ~LiveRun() override;

  // With the harmonizer: the run is "all" and its result outar.mid.
  void set_harmonize(bool on) { harmonize_ = on; }
  bool harmonize() const { return harmonize_; }
  // The language the runs print in (a failure's text is read for its cells).
  void set_language(int32_t language) { language_ = language; }

  // Runs the document as edited now; the other inputs come from
  // `work_folder`.
  void schedule(const composition::Document& document, const std::string& work_folder);
  // A run waits or goes, or its result is on its way to the window.
  bool busy() const;
  // Results shown (good or failed).
  int finished_runs() const { return finished_runs_; }

  // The scratch folder's copy of a good result (MIDI file), or the console
  // text of a run that failed (Windows-1252, as the composer prints it).
  std::function<void(const std::string& midi_file)> on_result;
  std::function<void(const std::string& console_text)> on_failure;

 private:
  void arrived(const shell::LiveResult& result);

  QTemporaryDir scratch_;
  bool harmonize_ = false;
  int32_t language_ = base::kEnglish;
  int finished_runs_ = 0;
  uint64_t submitted_ = 0;  // the last request's number
  uint64_t shown_ = 0;      // the newest result's
  std::unique_ptr<shell::LiveLoop> loop_;  // last: its thread reports to the above
};

}  // namespace zelvo::editor
