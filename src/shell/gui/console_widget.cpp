#include "shell/gui/console_widget.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QThread>
#include <QTimer>
#include <cstring>
#include <mutex>

#include "base/windows1252.h"

namespace zelvo::shell::gui {

namespace {

ScrollRequest request_for(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: return ScrollRequest::kLineUp;
    case QAbstractSlider::SliderSingleStepAdd: return ScrollRequest::kLineDown;
    case QAbstractSlider::SliderPageStepSub: return ScrollRequest::kPageUp;
    case QAbstractSlider::SliderPageStepAdd: return ScrollRequest::kPageDown;
    case QAbstractSlider::SliderMove: return ScrollRequest::kThumbTrack;
    case QAbstractSlider::SliderToMinimum: return ScrollRequest::kTop;
    case QAbstractSlider::SliderToMaximum: return ScrollRequest::kBottom;
    default: return ScrollRequest::kOther;
  }
}

}  // namespace

ConsoleWidget::ConsoleWidget(const console::Console& console, const console::JobControl& control, QWidget* parent)
    : QAbstractScrollArea(parent), console_(console), control_(control), logo_(make_logo()) {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setAutoFillBackground(false);
  const QFontMetrics metrics(font());
  char_width_ = std::max(1, metrics.averageCharWidth());
  line_height_ = std::max(1, metrics.lineSpacing());
  ascent_ = metrics.ascent();
  verticalScrollBar()->setSingleStep(1);
  connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this](int action) {
    if (syncing_bar_) return;
    scroll_request(request_for(action), verticalScrollBar()->sliderPosition());
  });
}

bool ConsoleWidget::on_window_thread() const { return QThread::currentThread() == thread(); }

int ConsoleWidget::page_lines() const { return viewport()->height() / line_height_; }

void ConsoleWidget::paint(bool follow_end) {
  if (!on_window_thread()) {
    post_job_update();
    return;
  }
  follow_paint_ = follow_end;
  viewport()->repaint();
  follow_paint_ = false;
}

void ConsoleWidget::recompute_scroll(bool follow_end) {
  if (on_window_thread()) {
    recompute(follow_end);
    // Back in the normal mode (no job runs) the view is invalidated again, so
    // the follow-the-end paint just made gives way to the normal one, logo
    // included.
    if (!follow_end) viewport()->update();
  } else {
    post_job_update();
  }
}

// Every request of the job thread means "show the newest lines": one queued
// update stands for all that arrive before the window gets to it, and the
// window paints for the job at most every kJobPaintInterval milliseconds so
// a job that prints fast does not spend its time waiting for paints.
void ConsoleWidget::post_job_update() {
  if (update_pending_.exchange(true)) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        const qint64 since = job_paint_clock_.isValid() ? job_paint_clock_.elapsed() : kJobPaintInterval;
        if (since < kJobPaintInterval) {
          QTimer::singleShot(static_cast<int>(kJobPaintInterval - since), this, [this] { show_job_update(); });
        } else {
          show_job_update();
        }
      },
      Qt::QueuedConnection);
}

void ConsoleWidget::show_job_update() {
  update_pending_.store(false);
  job_paint_clock_.start();
  recompute(true);
  viewport()->update();
}

void ConsoleWidget::recompute(bool follow_end) {
  int32_t lines = 0;
  {
    std::lock_guard<std::mutex> lock(console_.store_lock());
    lines = console_.line_count();
  }
  shell::recompute_scroll(scroll_, lines, viewport()->height(), line_height_, follow_end);
  show_scroll_state();
}

void ConsoleWidget::show_scroll_state() {
  syncing_bar_ = true;
  QScrollBar* bar = verticalScrollBar();
  bar->setPageStep(std::max(1, page_lines()));
  bar->setRange(0, scroll_.maximum);
  bar->setValue(scroll_.position);
  syncing_bar_ = false;
}

void ConsoleWidget::scroll_request(ScrollRequest request, int thumb) {
  const int32_t d = scroll_by(scroll_, request, thumb, viewport()->height(), line_height_);
  show_scroll_state();
  if (d != 0) viewport()->update();
}

// The bar moved some way the actions do not cover (a wheel step, a value
// set by the style): take its value as a thumb track.
void ConsoleWidget::scrollContentsBy(int, int) {
  if (syncing_bar_) return;
  const int value = verticalScrollBar()->value();
  if (value != scroll_.position) scroll_request(ScrollRequest::kThumbTrack, value);
}

void ConsoleWidget::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  recompute(control_.job_running());
}

void ConsoleWidget::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up: scroll_request(ScrollRequest::kLineUp); break;
    case Qt::Key_Down: scroll_request(ScrollRequest::kLineDown); break;
    case Qt::Key_PageUp: scroll_request(ScrollRequest::kPageUp); break;
    case Qt::Key_PageDown: scroll_request(ScrollRequest::kPageDown); break;
    case Qt::Key_Home: scroll_request(ScrollRequest::kTop); break;
    case Qt::Key_End: scroll_request(ScrollRequest::kBottom); break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
  }
  event->accept();
}

// One stored line, tab by tab; text beyond the right edge is not drawn, so a
// line of any length costs no more than the window's width.
void ConsoleWidget::draw_line(QPainter& painter, const char* begin, const char* end, int top) const {
  const QFontMetrics metrics(font());
  const int right = viewport()->width();
  int x = 0;  // from the left margin
  const char* segment = begin;
  for (const char* at = begin;; ++at) {
    if (at == end || *at == '\t') {
      if (at != segment && char_width_ + x < right) {
        const QString text =
            QString::fromStdString(base::to_utf8(std::string_view(segment, static_cast<size_t>(at - segment))));
        painter.drawText(char_width_ + x, top + ascent_, text);
        x += metrics.horizontalAdvance(text);
      }
      if (at == end) break;
      x = next_tab_stop(x);
      segment = at + 1;
    }
  }
}

void ConsoleWidget::paintEvent(QPaintEvent*) {
  const QRect client = viewport()->rect();
  const bool follow_end = follow_paint_ || control_.job_running();
  // The lines to draw are copied under the store lock and drawn after it,
  // so the job thread never waits for the drawing.
  PaintRange range;
  visible_lines_.clear();
  {
    std::lock_guard<std::mutex> lock(console_.store_lock());
    range = paint_range(scroll_, console_.line_count(), 0, client.height(), line_height_, follow_end);
    const char* text = console_.text();
    const char* const stored_end = text + console_.length();
    for (int32_t k = 0; text <= stored_end && k < range.last; ++k) {
      const char* line_end = static_cast<const char*>(
          std::memchr(text, console::kLineEnd, static_cast<size_t>(stored_end - text) + 1));
      if (line_end == nullptr) line_end = stored_end;
      if (k >= range.first) visible_lines_.emplace_back(text, line_end);
      text = line_end + 1;
    }
  }
  QPainter painter(viewport());
  painter.fillRect(client, Qt::white);
  painter.setPen(Qt::black);
  painter.setFont(font());
  int32_t k = range.first;
  visible_first_ = range.first;
  visible_top_ = range.y(range.first);
  for (const std::string& line : visible_lines_) {
    draw_line(painter, line.data(), line.data() + line.size(), range.y(k++));
  }
  if (!follow_end) {
    const Point at = logo_position(scroll_, client.width(), client.height(), line_height_);
    painter.drawPixmap(at.x, at.y, logo_);
  }
}

void ConsoleWidget::mousePressEvent(QMouseEvent* event) {
  const int32_t index = (static_cast<int32_t>(event->position().y()) - visible_top_) / line_height_;
  if (on_line_clicked && index >= 0 && index < static_cast<int32_t>(visible_lines_.size())) {
    on_line_clicked(visible_lines_[index]);
  }
  QAbstractScrollArea::mousePressEvent(event);
}

QPixmap make_logo() {
  // A small staff with three rising notes and the product name.
  QPixmap logo(90, 50);
  logo.fill(Qt::transparent);
  QPainter p(&logo);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1f, 0x6f, 0x5c));
  p.drawRoundedRect(QRectF(0.5, 0.5, 89, 49), 8, 8);
  p.setPen(QPen(QColor(0xd8, 0xf0, 0xe8), 1));
  for (int i = 0; i < 5; ++i) p.drawLine(QPointF(8, 8 + i * 5), QPointF(82, 8 + i * 5));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xff, 0xd1, 0x66));
  const QPointF heads[] = {{24, 25.5}, {44, 18}, {64, 10.5}};
  for (const QPointF& head : heads) {
    p.drawEllipse(head, 4.2, 3.2);
    p.fillRect(QRectF(head.x() + 3.2, head.y() - 14, 1.4, 14), QColor(0xff, 0xd1, 0x66));
  }
  p.setPen(Qt::white);
  QFont name = p.font();
  name.setBold(true);
  name.setPixelSize(11);
  p.setFont(name);
  p.drawText(QRectF(0, 32, 90, 16), Qt::AlignCenter, "Zelvo");
  return logo;
}

QPixmap make_icon(int size) {
  QPixmap icon(size, size);
  icon.fill(Qt::transparent);
  QPainter p(&icon);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = size / 64.0;
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1f, 0x6f, 0x5c));
  p.drawRoundedRect(QRectF(2 * s, 2 * s, 60 * s, 60 * s), 12 * s, 12 * s);
  p.setBrush(QColor(0xff, 0xd1, 0x66));
  p.drawEllipse(QPointF(24 * s, 44 * s), 9 * s, 7 * s);
  p.drawRect(QRectF(31 * s, 14 * s, 3.5 * s, 30 * s));
  QPainterPath flag;
  flag.moveTo(34.5 * s, 14 * s);
  flag.cubicTo(44 * s, 18 * s, 48 * s, 24 * s, 44 * s, 32 * s);
  flag.cubicTo(44 * s, 26 * s, 40 * s, 23 * s, 34.5 * s, 22 * s);
  flag.closeSubpath();
  p.drawPath(flag);
  return icon;
}

}  // namespace zelvo::shell::gui
