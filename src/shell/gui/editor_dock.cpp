#include "shell/gui/editor_dock.h"

#include <QAction>
#include <QComboBox>
#include <algorithm>
#include <QDockWidget>
#include <QMainWindow>
#include <QTimer>

#include "base/work_files.h"
#include "editor/editor_panel.h"
#include "editor/live_run.h"
#include "shell/folders.h"
#include "shell/gui/console_widget.h"
#include "shell/gui/roll_panel.h"
#include "files/paths.h"

namespace zelvo::shell::gui {

EditorDock::EditorDock(QMainWindow& window, RollPanel& roll, ConsoleWidget& console_view,
                       console::JobConsole& console)
    : QObject(&window), roll_(roll), console_(console) {
  dock_ = new QDockWidget(tr("Composition"), &window);
  dock_->setObjectName("EditorDock");
  panel_ = new editor::EditorPanel(dock_);
  dock_->setWidget(panel_);
  window.addDockWidget(Qt::RightDockWidgetArea, dock_);
  panel_->set_language(console.language());
  dock_->hide();
  live_ = new editor::LiveRun(this);
  panel_->on_changed = [this] { edited(); };
  connect(panel_->live_action(), &QAction::toggled, this, [this](bool on) {
    if (on) edited();
  });
  connect(panel_->harmonize_action(), &QAction::toggled, this, [this](bool on) {
    live_->set_harmonize(on);
    edited();
  });
  live_->on_result = [this](const std::string& midi_file) { show_result(midi_file); };
  live_->on_failure = [this](const std::string& text) {
    // The last good result stays shown and playing.
    if (panel_->mark_errors(text) == 0) panel_->set_status(tr("Live: the run failed"));
  };
  console_view.on_line_clicked = [this](const std::string& line) {
    if (dock_->isVisible()) panel_->select_from_message(line);
  };
  auto* jobs = new QTimer(this);
  connect(jobs, &QTimer::timeout, this, [this] { watch_jobs(); });
  jobs->start(200);
}

std::string EditorDock::folder() const { return work_folder ? work_folder() : current_directory(); }

void EditorDock::show_editor() {
  const std::string path = files::join_path(folder(), base::kCompositionFile);
  if (panel_->path() != path || !panel_->modified()) panel_->open(path);
  dock_->show();
  dock_->raise();
}

void EditorDock::edited() {
  last_edit_ = std::chrono::steady_clock::now();
  if (!panel_->live_action()->isChecked() || panel_->path().empty()) return;
  live_->set_language(console_.language());
  live_->schedule(panel_->document(), folder());
}

void EditorDock::show_result(const std::string& midi_file) {
  const bool was_playing = roll_.playing();
  panel_->mark_errors("");
  play_result(midi_file, was_playing);
  last_latency_ms_ =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - last_edit_).count();
  panel_->set_status(tr("Live: %1 notes, %2 ms after the last edit")
                         .arg(roll_.piano_roll().notes.size())
                         .arg(static_cast<int>(last_latency_ms_)));
}

// While playing, the new result takes over at the point chosen.
void EditorDock::play_result(const std::string& midi_file, bool was_playing) {
  if (was_playing) {
    constexpr player::SwapPoint kPoints[] = {player::SwapPoint::kBar, player::SwapPoint::kBeat,
                                             player::SwapPoint::kNow};
    roll_.swap_file(midi_file, kPoints[std::clamp(panel_->swap_box()->currentIndex(), 0, 2)]);
  } else {
    roll_.show_file(midi_file);
  }
}

// The window's own jobs: the messages of a Composer or All run point at
// their cells.
void EditorDock::watch_jobs() {
  const bool running = console_.control().job_running();
  if (running && !job_seen_running_) console_before_job_ = console_.store().contents();
  if (!running && job_seen_running_ && dock_->isVisible()) {
    const std::string text = console_.store().contents();
    const bool grew = text.compare(0, console_before_job_.size(), console_before_job_) == 0;
    panel_->mark_errors(grew ? text.substr(console_before_job_.size()) : text);
  }
  job_seen_running_ = running;
}

bool EditorDock::ask_on_close(Platform& platform) {
  if (!panel_->modified()) return true;
  switch (platform.ask_unsaved("Zelvo", tr("Save the changes to incom.htm before closing?").toStdString())) {
    case UnsavedChoice::kSave: return panel_->save();
    case UnsavedChoice::kDiscard: return true;
    case UnsavedChoice::kCancel: return false;
  }
  return false;
}

void EditorDock::retranslate(int language) {
  dock_->setWindowTitle(tr("Composition"));
  panel_->set_language(language);
}

}  // namespace zelvo::shell::gui
