#pragma once

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QPixmap>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "console/console.h"
#include "console/job_control.h"
#include "console/console_view.h"
#include "shell/scroll.h"

namespace zelvo::shell::gui {

// The console text as the main window's client area: the store's lines with
// tabs every 15 pixels from the left margin, the logo below the text, and a
// vertical scroll bar driven by the shell's scroll arithmetic.
//
// Repaint requests from the job thread are posted to the window's thread and
// coalesced; the job never waits for the window, so closing the window or
// starting the next job can wait for the job thread without a deadlock. The
// paint reads the store under the console's store lock.
class ConsoleWidget : public QAbstractScrollArea, public console::ConsoleView {
 public:
  static constexpr qint64 kJobPaintInterval = 20;  // milliseconds

  ConsoleWidget(const console::Console& console, const console::JobControl& control, QWidget* parent = nullptr);

  // console::ConsoleView
  void paint(bool follow_end) override;
  void recompute_scroll(bool follow_end) override;

  // A scroll-bar request, as the bar or the keyboard makes it.
  void scroll_request(ScrollRequest request, int thumb = 0);

  const ScrollState& scroll_state() const { return scroll_; }
  int line_height() const { return line_height_; }
  int char_width() const { return char_width_; }
  // Lines that fit in the client area.
  int page_lines() const;
  // A click on a line of text hands the line (Windows-1252) over.
  std::function<void(const std::string& line)> on_line_clicked;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  bool on_window_thread() const;
  void post_job_update();
  void show_job_update();
  void recompute(bool follow_end);
  void show_scroll_state();
  void draw_line(class QPainter& painter, const char* begin, const char* end, int top) const;

  const console::Console& console_;
  const console::JobControl& control_;  // a running job is followed to the end
  ScrollState scroll_;
  int char_width_ = 8;
  int line_height_ = 16;
  int ascent_ = 12;
  bool follow_paint_ = false;
  bool syncing_bar_ = false;
  std::atomic<bool> update_pending_{false};
  QElapsedTimer job_paint_clock_;
  std::vector<std::string> visible_lines_;
  int32_t visible_first_ = 0;   // the line number and top of visible_lines_[0]
  int32_t visible_top_ = 0;
  QPixmap logo_;
};

// The logo drawn below the console text (also the window's icon).
QPixmap make_logo();
QPixmap make_icon(int size);

}  // namespace zelvo::shell::gui
