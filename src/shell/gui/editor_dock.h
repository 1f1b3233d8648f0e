#pragma once

// Options > Edit Composition: the composition editor as a dock beside the
// console, its Live runs, the roll and the sound following them, the cells
// the console's messages name, and the question on quit.
#include <QCoreApplication>
#include <QObject>
#include <chrono>
#include <functional>
#include <string>

#include "console/job_console.h"
#include "shell/platform.h"

class QDockWidget;
class QMainWindow;

namespace zelvo::editor {
class EditorPanel;
class LiveRun;
}  // namespace zelvo::editor

namespace zelvo::shell::gui {

class ConsoleWidget;
class RollPanel;

class EditorDock : public QObject {
  Q_DECLARE_TR_FUNCTIONS(EditorDock)

 public:
  EditorDock(QMainWindow& window, RollPanel& roll, ConsoleWidget& console_view, console::JobConsole& console);

  // Shows the dock with the work folder's composition (read again when
  // nothing is edited).
  void show_editor();
  editor::EditorPanel* panel() const { return panel_; }
  editor::LiveRun* live() const { return live_; }
  QDockWidget* dock() const { return dock_; }
  // The dock's and the editor's texts in `language` (base::kEnglish or
  // kSpanish), the column help included.
  void retranslate(int language);
  // Edits not saved are saved or dropped as the user answers; false when
  // the window must stay open (Cancel, or a save that failed).
  bool ask_on_close(Platform& platform);

  // Milliseconds from the last edit to the roll showing its result.
  double last_edit_to_roll_ms() const { return last_latency_ms_; }

  // The work folder whose composition the dock edits (the window's choice).
  std::function<std::string()> work_folder;

 private:
  std::string folder() const;
  void edited();
  void show_result(const std::string& midi_file);
  // The only place that plays a Live result: swap it in while playing.
  void play_result(const std::string& midi_file, bool was_playing);
  void watch_jobs();

  RollPanel& roll_;
  console::JobConsole& console_;
  QDockWidget* dock_ = nullptr;
  editor::EditorPanel* panel_ = nullptr;
  editor::LiveRun* live_ = nullptr;
  bool job_seen_running_ = false;
  std::string console_before_job_;
  std::chrono::steady_clock::time_point last_edit_;
  double last_latency_ms_ = -1;
};

}  // namespace zelvo::shell::gui
