#include "shell/gui/roll_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QProcess>
#include <QSettings>
#include <QLabel>
#include <QStyle>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QContextMenuEvent>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>

#include "picture/roll_painter.h"
#include "player/midi_port.h"
#include "player/song.h"
#include "files/whole_file.h"
#include "midi/timeline.h"
#include "roll/tones.h"
#include "shell/gui/playback.h"

namespace zelvo::shell::gui {

namespace {

constexpr int kBarHeight = 28;  // the row of buttons on top
constexpr int kCursorMilliseconds = 40;
constexpr const char* kOutputSetting = "playback/output";

QSettings settings() { return QSettings("Zelvo", "zelvo-gui"); }

std::string beside(const std::string& path, const char* extension) {
  const size_t dot = path.rfind('.');
  const size_t slash = path.rfind('/');
  const bool has = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (has ? path.substr(0, dot) : path) + extension;
}

}  // namespace

RollPanel::RollPanel(QWidget* parent) : QWidget(parent) {
  setObjectName("RollPanel");
  setMinimumHeight(120);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 2, 4, 2);
  auto* row = new QHBoxLayout;
  play_ = new QPushButton(this);
  stop_ = new QPushButton(this);
  status_ = new QLabel(this);
  status_->setTextFormat(Qt::PlainText);
  // A long path must not widen the window: the window's size is the user's.
  status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  play_->setMinimumWidth(0);
  stop_->setMinimumWidth(0);
  loop_ = new QCheckBox(this);
  output_ = new QComboBox(this);
  // Like the status line, the output's and Loop's names must not widen the
  // window beyond the size the user gave it: they shrink with it.
  output_->setMinimumWidth(1);
  loop_->setMinimumWidth(1);
  fill_outputs();
  // Mute and solo live in the roll's context menu: the row of buttons has
  // no width to spare.
  channel_menu_ = new QMenu(this);
  retranslate();
  row->addWidget(play_);
  row->addWidget(stop_);
  row->addWidget(loop_);
  row->addWidget(output_);
  row->addWidget(status_, 1);
  layout->addLayout(row);
  layout->addStretch(1);
  connect(play_, &QPushButton::clicked, this, [this] { play(); });
  connect(stop_, &QPushButton::clicked, this, [this] { stop(); });
  connect(loop_, &QCheckBox::toggled, this, [this](bool on) { playback_->set_loop(on); });
  connect(output_, &QComboBox::activated, this, [this](int index) {
    const QString port = output_->itemData(index).toString();
    settings().setValue(kOutputSetting, port);
    playback_->set_output(port.toStdString());
  });
  cursor_timer_ = new QTimer(this);
  cursor_timer_->setInterval(kCursorMilliseconds);
  connect(cursor_timer_, &QTimer::timeout, this, [this] { follow_player(); });
  playback_ = std::make_unique<Playback>([this](const std::string& error) { started(error); });
  playback_->set_output(output_->currentData().toString().toStdString());
}

// The built-in synthesizer, the window's own port, the ports there are now,
// and the remembered choice even when its port is not there (yet).
void RollPanel::fill_outputs() {
  output_->addItem(QString(), QString());
  output_->addItem(QString(), QString(player::kOwnPortName));
  for (const player::PortList& list : player::list_output_ports()) {
    for (const std::string& port : list.ports) {
      output_->addItem(tr("%1 port %2").arg(player::system_name(list.system), QString::fromStdString(port)),
                       QString::fromStdString(port));
    }
  }
  const QString chosen = settings().value(kOutputSetting).toString();
  int index = output_->findData(chosen);
  if (index < 0) {
    output_->addItem(tr("Port %1").arg(chosen), chosen);
    index = output_->count() - 1;
  }
  output_->setCurrentIndex(index);
}

RollPanel::~RollPanel() = default;

void RollPanel::fill_channels() {
  channel_menu_->clear();
  for (int channel = 1; channel <= 16; ++channel) {
    if ((roll_.channels >> (channel - 1) & 1) == 0) continue;
    for (const bool mute : {true, false}) {
      QAction* toggle = channel_menu_->addAction((mute ? tr("Mute %1") : tr("Solo %1")).arg(channel));
      toggle->setObjectName(QString("%1-%2").arg(mute ? "mute" : "solo").arg(channel));
      toggle->setCheckable(true);
      toggle->setChecked(((mute ? muted_ : soloed_) >> (channel - 1) & 1) != 0);
      connect(toggle, &QAction::toggled, this, [this, mute, channel](bool on) {
        uint16_t& mask = mute ? muted_ : soloed_;
        const uint16_t bit = static_cast<uint16_t>(1u << (channel - 1));
        mask = on ? (mask | bit) : (mask & ~bit);
        channels_changed();
      });
    }
  }
}

QAction* RollPanel::mute_action(int channel) const {
  return channel_menu_->findChild<QAction*>(QString("mute-%1").arg(channel));
}

QAction* RollPanel::solo_action(int channel) const {
  return channel_menu_->findChild<QAction*>(QString("solo-%1").arg(channel));
}

uint16_t RollPanel::heard_channels() const {
  return soloed_ != 0 ? soloed_ : static_cast<uint16_t>(player::kAllChannels & ~muted_);
}

void RollPanel::contextMenuEvent(QContextMenuEvent* event) {
  if (!channel_menu_->isEmpty()) channel_menu_->exec(event->globalPos());
}

uint16_t RollPanel::playing_channels() const { return playback_->player_channels(); }

void RollPanel::channels_changed() { playback_->set_channels(heard_channels()); }

void RollPanel::show_after_job(std::function<bool()> job_running, std::function<bool()> finished,
                               std::string midi_file) {
  delete job_timer_;
  job_timer_ = new QTimer(this);
  job_timer_->setInterval(100);
  connect(job_timer_, &QTimer::timeout, this,
          [this, job_running = std::move(job_running), finished = std::move(finished), midi_file] {
            if (job_running()) return;
            job_timer_->deleteLater();
            job_timer_ = nullptr;
            if (finished()) {
              show_file(midi_file);
            } else if (has_roll_) {
              // The roll is of an earlier run: say so rather than pass it off
              // as the failed job's result.
              status_->setText(QString::fromStdString(file_) + tr(kStaleNote));
            }
            if (play_when_shown_) play();
            play_when_shown_ = false;
          });
  job_timer_->start();
}

void RollPanel::show_file(const std::string& midi_file) {
  stop();
  load_roll(midi_file);
}

void RollPanel::swap_file(const std::string& midi_file, player::SwapPoint at) {
  if (!playing()) return show_file(midi_file);
  const int64_t shown_first = first_tick_;
  const int64_t shown_span = shown_ticks_;
  load_roll(midi_file);
  first_tick_ = shown_first;  // the view stays where the music is
  shown_ticks_ = shown_span;
  if (playback_->swap(midi_file, at)) status_->setText(QString::fromStdString(midi_file) + tr(": playing"));
}

void RollPanel::load_roll(const std::string& midi_file) {
  file_ = midi_file;
  midi::Timeline song;
  const base::Status read = midi::read_timeline_file(midi_file, song);
  has_roll_ = read.ok();
  if (!has_roll_) {
    roll_ = roll::PianoRoll{};
    fill_channels();
    // Said in English, as the player's and the media commands' faults are.
    status_->setText(QString::fromStdString(base::render(read.error(), base::kEnglish)));
    update();
    return;
  }
  roll_ = roll::make_piano_roll(song);
  fill_channels();
  if (std::string tones; files::read_whole(beside(midi_file, ".tones"), tones)) roll::apply_tones(tones, roll_);
  first_tick_ = 0;
  shown_ticks_ = std::max<int64_t>(1, roll_.end_tick);
  const player::Song timed = player::make_song(song);
  bar_ticks_.clear();
  for (int64_t line : timed.bar_lines) bar_ticks_.push_back(timed.tick_at(line));
  from_bar_ = 1;
  status_->setText(QString::fromStdString(midi_file));
  update();
}

void RollPanel::play_file(const std::string& midi_file) {
  if (job_timer_ != nullptr) {
    play_when_shown_ = true;
    return;
  }
  show_file(midi_file);
  play();
}

void RollPanel::play() {
  if (!has_roll_ || playback_->starting()) return;
  status_->setText(QString::fromStdString(file_) + tr(": starting..."));
  playback_->play(file_, from_bar_);
}

void RollPanel::stop() {
  playback_->stop();
  cursor_timer_->stop();
  cursor_tick_ = from_bar_ > 1 ? bar_ticks_[from_bar_ - 1] : -1;
  if (has_roll_) status_->setText(QString::fromStdString(file_));
  update();
}

bool RollPanel::playing() const { return playback_->playing(); }

QString RollPanel::status_text() const { return status_->text(); }

int RollPanel::width_to_show(const QString& text) const {
  const QMargins margins = layout()->contentsMargins();
  const int gap = style()->layoutSpacing(QSizePolicy::PushButton, QSizePolicy::PushButton, Qt::Horizontal);
  int width = margins.left() + margins.right() + status_->fontMetrics().horizontalAdvance(text);
  for (const QWidget* item : {static_cast<const QWidget*>(play_), static_cast<const QWidget*>(stop_),
                              static_cast<const QWidget*>(loop_), static_cast<const QWidget*>(output_)}) {
    width += item->sizeHint().width() + std::max(gap, 6);
  }
  return width;
}

int RollPanel::status_width() const { return status_->contentsRect().width(); }

void RollPanel::started(const std::string& error) {
  if (!error.empty()) {
    status_->setText(tr("Cannot play: ") + QString::fromStdString(error));
    return;
  }
  status_->setText(QString::fromStdString(file_) + tr(": playing"));
  cursor_timer_->start();
}

void RollPanel::follow_player() {
  if (!playback_->playing()) {
    stop();
    return;
  }
  cursor_tick_ = playback_->tick();
  // Page along with the music, as a score follower does.
  if (cursor_tick_ < first_tick_ || cursor_tick_ >= first_tick_ + shown_ticks_) {
    first_tick_ = std::max<int64_t>(0, cursor_tick_ - shown_ticks_ / 10);
  }
  update();
}

void RollPanel::zoom(double factor, int64_t at_tick) {
  const int64_t total = std::max<int64_t>(1, roll_.end_tick);
  const double ratio = static_cast<double>(at_tick - first_tick_) / static_cast<double>(shown_ticks_);
  shown_ticks_ = std::clamp<int64_t>(static_cast<int64_t>(static_cast<double>(shown_ticks_) / factor),
                                     std::max<int64_t>(1, roll_.division / 4), total);
  first_tick_ = at_tick - static_cast<int64_t>(ratio * static_cast<double>(shown_ticks_));
  scroll_by(0);
}

void RollPanel::scroll_by(int64_t ticks) {
  const int64_t total = std::max<int64_t>(1, roll_.end_tick);
  first_tick_ = std::clamp<int64_t>(first_tick_ + ticks, 0, std::max<int64_t>(0, total - shown_ticks_));
  update();
}

void RollPanel::choose_bar_at_tick(int64_t tick) {
  if (bar_ticks_.size() < 2) return;
  const auto line = std::upper_bound(bar_ticks_.begin(), bar_ticks_.end(), tick);
  from_bar_ = std::clamp(static_cast<int>(line - bar_ticks_.begin()), 1, static_cast<int>(bar_ticks_.size()) - 1);
  if (!playback_->playing()) {
    cursor_tick_ = from_bar_ > 1 ? bar_ticks_[from_bar_ - 1] : -1;
    status_->setText(QString::fromStdString(file_) + tr(": Play starts at bar %1").arg(from_bar_));
  }
  update();
}

void RollPanel::mousePressEvent(QMouseEvent* event) {
  if (!has_roll_ || event->button() != Qt::LeftButton || !roll_bounds().contains(event->position())) return;
  choose_bar_at_tick(tick_under(event->position().x()));
  event->accept();
}

int64_t RollPanel::tick_under(double x) const {
  picture::RollFrame frame = picture::whole_song_frame(roll_, roll_bounds());
  const double left = frame.notes_area.left();
  x = std::clamp(x, left, frame.notes_area.right());
  return first_tick_ + static_cast<int64_t>((x - left) / frame.notes_area.width() * static_cast<double>(shown_ticks_));
}

QRectF RollPanel::roll_bounds() const { return QRectF(0, kBarHeight, width(), height() - kBarHeight); }

void RollPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!has_roll_) return;
  const QRectF bounds = roll_bounds();
  picture::RollFrame frame = picture::whole_song_frame(roll_, bounds);
  frame.first_tick = first_tick_;
  frame.last_tick = first_tick_ + shown_ticks_;
  painter.setRenderHint(QPainter::Antialiasing);
  picture::paint_roll(painter, roll_, frame, bounds, cursor_tick_);
}

void RollPanel::wheelEvent(QWheelEvent* event) {
  if (!has_roll_) return;
  const QPoint delta = event->angleDelta();
  const int steps = delta.y() != 0 ? delta.y() : delta.x();
  if (event->modifiers() & Qt::ControlModifier) {
    zoom(steps > 0 ? 1.25 : 0.8, tick_under(event->position().x()));
  } else {
    // One notch moves a tenth of the view; wheel down goes forward in time.
    scroll_by(-steps * shown_ticks_ / 1200);
  }
  event->accept();
}

void RollPanel::retranslate() {
  play_->setText(tr("Play"));
  stop_->setText(tr("Stop"));
  loop_->setText(tr("Loop"));
  output_->setToolTip(tr("Where Play sends the music"));
  output_->setItemText(0, tr("Built-in synthesizer"));
  output_->setItemText(1, tr("Port %1 (connect a DAW to it)").arg(player::kOwnPortName));
  if (file_.empty()) status_->setText(tr("No result yet: run Composer, Harmonizer or All."));
  if (auto* dock = qobject_cast<QDockWidget*>(parentWidget())) dock->setWindowTitle(tr("Piano roll"));
}

RollPanel* add_roll_panel(QMainWindow& window) {
  auto* dock = new QDockWidget(RollPanel::tr("Piano roll"), &window);
  dock->setObjectName("RollDock");
  dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
  auto* panel = new RollPanel(dock);
  dock->setWidget(panel);
  window.addDockWidget(Qt::BottomDockWidgetArea, dock);
  return panel;
}

bool is_midi_file(const std::string& path) {
  const QString name = QString::fromStdString(path).toLower();
  return name.endsWith(".mid") || name.endsWith(".midi");
}

bool desktop_plays_midi() {
  QProcess query;
  query.start("xdg-mime", {"query", "default", "audio/midi"});
  if (!query.waitForFinished(3000)) {
    query.kill();
    query.waitForFinished(1000);
    return false;
  }
  return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace zelvo::shell::gui
