#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "roll/piano_roll.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QMainWindow;
class QPushButton;
class QTimer;

namespace zelvo::shell::gui {

class Playback;

// The piano roll of the last result under the console, with Play and Stop,
// a Loop toggle and the output (the built-in synthesizer or a MIDI port,
// remembered in the settings). A click in the roll picks the bar Play
// starts from. The mouse wheel scrolls through time; with Ctrl it zooms
// around the pointer. While the file plays a cursor follows the music.
class RollPanel : public QWidget {
 public:
  static constexpr const char* kStaleNote = " (older than the last job, which did not finish)";

  explicit RollPanel(QWidget* parent = nullptr);
  ~RollPanel() override;

  // Shows `midi_file` (with the tones file beside it, if any). A file that
  // cannot be read leaves an empty panel with the reason.
  void show_file(const std::string& midi_file);
  // Shows the file and plays it; while a job's result is awaited
  // (show_after_job), plays it once shown.
  void play_file(const std::string& midi_file);
  void play();
  void stop();
  // Shows `midi_file`; while playing, it also takes over the sound at the
  // next bar line (no gap, no restart).
  void swap_file(const std::string& midi_file);

  // Once `job_running` turns false, shows `midi_file` if `finished` holds
  // (the job ran to its end); otherwise a roll already shown is marked as
  // older than that job (kStaleNote). Checked a few times a second.
  void show_after_job(std::function<bool()> job_running, std::function<bool()> finished, std::string midi_file);

  bool has_roll() const { return has_roll_; }
  const roll::PianoRoll& piano_roll() const { return roll_; }
  const std::string& file() const { return file_; }
  // The line under the roll: the file, or why nothing plays.
  QString status_text() const;
  // The width the panel needs for the status line `text` to show whole
  // beside the buttons.
  int width_to_show(const QString& text) const;
  // The status line's own width as laid out now.
  int status_width() const;
  bool playing() const;
  QPushButton* play_button() const { return play_; }
  QPushButton* stop_button() const { return stop_; }
  QCheckBox* loop_box() const { return loop_; }
  // Item data: the port's name, empty for the built-in synthesizer.
  QComboBox* output_box() const { return output_; }

  // Play starts from the bar holding `tick` (the cursor marks its start).
  void choose_bar_at_tick(int64_t tick);
  int from_bar() const { return from_bar_; }

  // The shown span of ticks; zoom() scales it around `at_tick`.
  int64_t first_tick() const { return first_tick_; }
  int64_t shown_ticks() const { return shown_ticks_; }
  void zoom(double factor, int64_t at_tick);
  void scroll_by(int64_t ticks);
  int64_t cursor_tick() const { return cursor_tick_; }
  QSize sizeHint() const override { return QSize(600, 260); }

 protected:
  void paintEvent(class QPaintEvent* event) override;
  void wheelEvent(class QWheelEvent* event) override;
  void mousePressEvent(class QMouseEvent* event) override;

 private:
  void started(const std::string& error);
  // Reads and shows the roll of `midi_file`.
  void load_roll(const std::string& midi_file);
  void follow_player();
  QRectF roll_bounds() const;
  int64_t tick_under(double x) const;
  void fill_outputs();

  roll::PianoRoll roll_;
  bool has_roll_ = false;
  std::string file_;
  int64_t first_tick_ = 0;
  int64_t shown_ticks_ = 1;
  int64_t cursor_tick_ = -1;
  QLabel* status_ = nullptr;
  QPushButton* play_ = nullptr;
  QPushButton* stop_ = nullptr;
  QTimer* cursor_timer_ = nullptr;
  std::unique_ptr<Playback> playback_;
  QTimer* job_timer_ = nullptr;
  bool play_when_shown_ = false;
  QCheckBox* loop_ = nullptr;
  QComboBox* output_ = nullptr;
  std::vector<int64_t> bar_ticks_;  // where each bar begins
  int from_bar_ = 1;
};

// The panel as a dock under the window's console.
RollPanel* add_roll_panel(QMainWindow& window);

// Whether `path` names a MIDI file (.mid, .midi), and whether the desktop
// has a program for such files (xdg-mime's default for audio/midi).
bool is_midi_file(const std::string& path);
bool desktop_plays_midi();

}  // namespace zelvo::shell::gui
