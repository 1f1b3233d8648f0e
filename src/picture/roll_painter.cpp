#include "picture/roll_painter.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <cstdio>

#include "files/whole_file.h"
#include "roll/tones.h"

namespace zelvo::picture {

namespace {

// Sixteen colours told apart on white, channel 10 (drums) in grey.
constexpr uint32_t kChannelColours[16] = {
    0x1f77b4, 0xd62728, 0x2ca02c, 0xff7f0e, 0x9467bd, 0x8c564b, 0xe377c2, 0x17becf,
    0xbcbd22, 0x555555, 0x393b79, 0xad494a, 0x637939, 0x8c6d31, 0x7b4173, 0x3182bd};

constexpr double kRowHeightInFile = 6;
constexpr double kMinBarNumberSpacing = 28;

QColor channel_colour(int channel, int alpha = 255) {
  const uint32_t rgb = kChannelColours[channel & 15];
  return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF, alpha);
}

double pitch_y(const RollFrame& frame, int32_t pitch) {
  const double rows = frame.highest - frame.lowest + 1;
  const double row = frame.notes_area.height() / rows;
  return frame.notes_area.top() + (frame.highest - pitch) * row;
}

void paint_grid(QPainter& painter, const roll::PianoRoll& roll, const RollFrame& frame, const QRectF& bounds) {
  const QRectF& area = frame.notes_area;
  const double row = area.height() / (frame.highest - frame.lowest + 1);
  painter.setPen(QPen(QColor(0xbb, 0xbb, 0xbb), 0));
  painter.setFont(QFont("DejaVu Sans", 7));
  for (int32_t pitch = frame.lowest; pitch <= frame.highest; ++pitch) {
    if (pitch % 12 != 0) continue;
    const double y = pitch_y(frame, pitch) + row;  // the line under the C row
    painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    painter.drawText(QRectF(bounds.left(), y - 10, kKeyLabelWidth - 4, 10), Qt::AlignRight | Qt::AlignBottom,
                     QString("C%1").arg(pitch / 12 - 1));
  }
  double last_label = -1e9;
  painter.setPen(QPen(QColor(0x88, 0x88, 0x88), 0));
  for (const roll::BarLine& bar : roll.bars) {
    if (bar.tick < frame.first_tick || bar.tick > frame.last_tick) continue;
    const double x = tick_x(frame, bar.tick);
    painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    // A new meter is written after its bar's number, and is never left out.
    QString label = QString::number(bar.number);
    if (bar.numerator != 0) label += QString("  %1/%2").arg(bar.numerator).arg(1 << bar.denominator_exponent);
    if ((bar.numerator != 0 || x - last_label >= kMinBarNumberSpacing) && x < area.right()) {
      painter.drawText(QPointF(x + 2, area.top() - 4), label);
      last_label = x;
    }
  }
}

void paint_notes(QPainter& painter, const roll::PianoRoll& roll, const RollFrame& frame) {
  const double row = frame.notes_area.height() / (frame.highest - frame.lowest + 1);
  painter.setFont(QFont("DejaVu Sans", std::clamp(static_cast<int>(row * 1.2), 5, 9)));
  for (const roll::RollNote& note : roll.notes) {
    if (note.end < frame.first_tick || note.start >= frame.last_tick) continue;
    const double x0 = tick_x(frame, note.start);
    const double x1 = std::max(x0 + 1.5, tick_x(frame, note.end));
    if (note.given_pitch >= 0 && note.given_pitch != note.pitch && note.given_pitch >= frame.lowest &&
        note.given_pitch <= frame.highest) {
      painter.setPen(QPen(channel_colour(note.channel, 110), 0, Qt::DashLine));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(QRectF(x0, pitch_y(frame, note.given_pitch), x1 - x0, row));
    }
    if (note.pitch < frame.lowest || note.pitch > frame.highest) continue;
    painter.setPen(Qt::NoPen);
    painter.setBrush(channel_colour(note.channel, 70 + note.velocity * 185 / 127));
    const QRectF shape(x0, pitch_y(frame, note.pitch), x1 - x0, row);
    painter.drawRect(shape);
    const std::string_view label = roll::tone_type_label(note.tone_type);
    if (!label.empty()) {
      painter.setPen(QPen(Qt::black, 0));
      painter.drawText(QPointF(x0 + 1, shape.top() - 1), QString::fromLatin1(label.data(), label.size()));
    }
  }
  // The type of a note held over, where that part of it starts.
  painter.setPen(QPen(Qt::black, 0));
  for (const roll::HeldTone& held : roll.held_tones) {
    if (held.tick < frame.first_tick || held.tick >= frame.last_tick) continue;
    if (held.pitch < frame.lowest || held.pitch > frame.highest) continue;
    const std::string_view label = roll::tone_type_label(held.tone_type);
    painter.drawText(QPointF(tick_x(frame, held.tick) + 1, pitch_y(frame, held.pitch) - 1),
                     QString::fromLatin1(label.data(), label.size()));
  }
}

void paint_legend(QPainter& painter, const roll::PianoRoll& roll, const QRectF& bounds) {
  painter.setFont(QFont("DejaVu Sans", 8));
  const QFontMetricsF metrics(painter.font());
  double x = bounds.left() + kKeyLabelWidth;
  const double y = bounds.bottom() - kLegendHeight + 5;
  for (int channel = 0; channel < 16; ++channel) {
    if ((roll.channels & (1u << channel)) == 0) continue;
    painter.setPen(Qt::NoPen);
    painter.setBrush(channel_colour(channel));
    painter.drawRect(QRectF(x, y, 12, 12));
    const QString text = channel == 9 ? QString("Channel 10 (drums)") : QString("Channel %1").arg(channel + 1);
    painter.setPen(QPen(Qt::black, 0));
    painter.drawText(QPointF(x + 16, y + 10), text);
    x += 16 + metrics.horizontalAdvance(text) + 14;
  }
}

}  // namespace

uint32_t channel_rgb(int channel) { return kChannelColours[channel & 15]; }

void pitch_rows(const roll::PianoRoll& roll, int32_t& lowest, int32_t& highest) {
  int32_t low = roll.lowest;
  int32_t high = roll.highest;
  for (const roll::RollNote& note : roll.notes) {
    if (note.given_pitch < 0) continue;
    low = std::min<int32_t>(low, note.given_pitch);
    high = std::max<int32_t>(high, note.given_pitch);
  }
  lowest = std::max(0, low - 2);
  highest = std::min(127, high + 2);
}

RollFrame whole_song_frame(const roll::PianoRoll& roll, const QRectF& bounds) {
  RollFrame frame;
  frame.first_tick = 0;
  frame.last_tick = std::max<int64_t>(1, roll.end_tick);
  pitch_rows(roll, frame.lowest, frame.highest);
  frame.notes_area = bounds.adjusted(kKeyLabelWidth, kBarNumberHeight, -4, -kLegendHeight);
  return frame;
}

double tick_x(const RollFrame& frame, int64_t tick) {
  const double span = static_cast<double>(std::max<int64_t>(1, frame.last_tick - frame.first_tick));
  return frame.notes_area.left() + static_cast<double>(tick - frame.first_tick) * frame.notes_area.width() / span;
}

void paint_roll(QPainter& painter, const roll::PianoRoll& roll, const RollFrame& frame, const QRectF& bounds,
                int64_t cursor_tick) {
  painter.save();
  painter.fillRect(bounds, Qt::white);
  painter.setClipRect(bounds);
  paint_grid(painter, roll, frame, bounds);
  painter.save();
  painter.setClipRect(frame.notes_area.adjusted(0, -12, 0, 0));
  paint_notes(painter, roll, frame);
  if (cursor_tick >= 0) {
    const double x = tick_x(frame, cursor_tick);
    painter.setPen(QPen(QColor(0xd0, 0x10, 0x10), 2));
    painter.drawLine(QPointF(x, frame.notes_area.top()), QPointF(x, frame.notes_area.bottom()));
  }
  painter.restore();
  paint_legend(painter, roll, bounds);
  painter.restore();
}

base::Status save_roll(const roll::PianoRoll& roll, const std::string& path, int width) {
  int32_t lowest = 0, highest = 0;
  pitch_rows(roll, lowest, highest);
  const int height =
      static_cast<int>(kBarNumberHeight + (highest - lowest + 1) * kRowHeightInFile + kLegendHeight);
  const QRectF bounds(0, 0, width, height);
  const RollFrame frame = whole_song_frame(roll, bounds);
  const bool svg = path.size() >= 4 && QString::fromStdString(path.substr(path.size() - 4)).toLower() == ".svg";
  // Drawn into memory, then written whole by the file layer.
  QBuffer drawn;
  drawn.open(QIODevice::WriteOnly);
  bool made = false;
  if (svg) {
    QSvgGenerator generator;
    generator.setOutputDevice(&drawn);
    generator.setSize(QSize(width, height));
    generator.setViewBox(bounds);
    generator.setTitle("Piano roll");
    QPainter painter;
    if (painter.begin(&generator)) {
      paint_roll(painter, roll, frame, bounds);
      made = painter.end();
    }
    // The generator reports no errors of its own: the drawing must be there.
    made = made && drawn.size() > 0;
  } else {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paint_roll(painter, roll, frame, bounds);
    painter.end();
    made = image.save(&drawn, "PNG");
  }
  const QByteArray& bytes = drawn.data();
  if (!made || files::write_whole(path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))) !=
                   files::WriteResult::kWritten) {
    return base::Message(base::MessageId::kFileNotWritten, path);
  }
  return base::Status();
}

}  // namespace zelvo::picture
