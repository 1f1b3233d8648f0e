#include "pictures.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <vector>

#include "composer/shapes.h"

namespace zelvo_docs {

namespace {

constexpr int kScale = 2;  // drawn at twice the size the page shows
const QColor kInk(40, 40, 40);
const QColor kAccent(200, 60, 40);
const QColor kGrid(210, 210, 210);

QFont face(int pixels, bool bold = false) {
  QFont font("DejaVu Sans");
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QImage canvas(int width, int height) {
  QImage image(width * kScale, height * kScale, QImage::Format_ARGB32);
  image.fill(Qt::white);
  image.setDotsPerMeterX(2 * 3780 * kScale / 2);
  image.setDotsPerMeterY(2 * 3780 * kScale / 2);
  return image;
}

using zelvo::composer::shape_value;

// Two periods of the shape between bottom and top, with a dot at every
// onset of a pulse of an eighth of the period.
QImage draw_shape(int shape) {
  const int w = 260, h = 84, left = 10, right = 10, top = 8, bottom = 8;
  QImage image = canvas(w, h);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(kScale, kScale);
  const double plot_w = w - left - right, plot_h = h - top - bottom;
  auto y_of = [&](double r) { return top + (1 - (r + 1) / 2) * plot_h; };
  p.setPen(QPen(kGrid, 1));
  p.drawLine(QPointF(left, y_of(1)), QPointF(w - right, y_of(1)));
  p.drawLine(QPointF(left, y_of(-1)), QPointF(w - right, y_of(-1)));
  p.drawLine(QPointF(left + plot_w / 2, top - 4), QPointF(left + plot_w / 2, h - bottom + 4));
  QPainterPath path;
  const int steps = 400;
  for (int i = 0; i <= steps; ++i) {
    const double t = 2.0 * i / steps;  // periods
    const double x = t - std::floor(t);
    const QPointF point(left + plot_w * i / steps, y_of(shape_value(shape, i == steps ? 0.9999 : x)));
    if (i == 0) path.moveTo(point);
    else if (shape == 2 && std::fabs(shape_value(shape, x) - shape_value(shape, std::max(0.0, x - 2.0 / steps))) > 1)
      path.lineTo(point.x(), path.currentPosition().y()), path.lineTo(point);
    else path.lineTo(point);
  }
  p.setPen(QPen(kInk, 1.2));
  p.drawPath(path);
  p.setBrush(kAccent);
  p.setPen(Qt::NoPen);
  for (int onset = 0; onset < 16; ++onset) {
    const double t = onset / 8.0;
    const double x = t - std::floor(t);
    p.drawEllipse(QPointF(left + plot_w * onset / 16.0, y_of(shape_value(shape, x))), 2.6, 2.6);
  }
  return image;
}

struct Note {
  int start, length, pitch;
};

// A six-note phrase as a piano roll: the written phrase in grey, what the
// play mode makes of it in colour.
QImage draw_play_mode(int mode) {
  const std::vector<Note> phrase = {{0, 2, 60}, {2, 2, 64}, {4, 1, 67}, {5, 1, 65}, {6, 2, 62}, {8, 4, 60}};
  const int lowest = 60, highest = 67, total = 12;
  std::vector<Note> played;
  for (const Note& note : phrase) {
    Note out = note;
    if (mode == 3 || mode == 4) out.start = total - note.start - note.length;
    if (mode == 2 || mode == 4) out.pitch = highest + lowest - note.pitch;
    played.push_back(out);
  }
  const int w = 260, h = 84, left = 10, top = 6, bottom = 6;
  QImage image = canvas(w, h);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(kScale, kScale);
  const double step_x = (w - 2.0 * left) / total;
  const double step_y = (h - top - bottom) / double(highest - lowest + 1);
  p.setPen(QPen(kGrid, 1));
  for (int pitch = lowest; pitch <= highest + 1; ++pitch) {
    const double y = top + (highest + 1 - pitch) * step_y;
    p.drawLine(QPointF(left, y), QPointF(w - left, y));
  }
  auto draw = [&](const std::vector<Note>& notes, const QColor& colour, double inset) {
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    for (const Note& note : notes) {
      p.drawRoundedRect(QRectF(left + note.start * step_x + inset, top + (highest - note.pitch) * step_y + inset,
                               note.length * step_x - 2 * inset, step_y - 2 * inset), 2, 2);
    }
  };
  draw(phrase, QColor(205, 205, 205), 0.5);
  draw(played, QColor(kAccent.red(), kAccent.green(), kAccent.blue(), 200), 2.0);
  return image;
}

// Diatonic staff positions from C4 (0): D4 1, E4 2, ... B3 -1.
struct StaffNote {
  int position;
  const char* label;  // empty: a chord tone
};

// The treble clef and a meter of 3/4 at the staff's start: the clef from
// a face that has the musical symbols, curling round the G line.
void draw_clef_and_meter(QPainter& p, double g_line_y, double space) {
  QFont clef("FreeSerif");
  clef.setPixelSize(int(space * 4.6));
  p.setFont(clef);
  p.setPen(kInk);
  p.drawText(QPointF(9, g_line_y + space * 0.92), QString::fromUcs4(U"\U0001D11E"));
  QFont digits("DejaVu Serif");
  digits.setPixelSize(int(space * 2.3));
  digits.setBold(true);
  p.setFont(digits);
  const double top_line = g_line_y - 3 * space;
  p.drawText(QRectF(30, top_line, 12, 2 * space), Qt::AlignCenter, "3");
  p.drawText(QRectF(30, top_line + 2 * space, 12, 2 * space), Qt::AlignCenter, "4");
}

// One bar of three quarter notes on a treble staff over a C major chord:
// the tone type in red with its name, the chord tones around it in black.
QImage draw_tone(const char* name, std::vector<StaffNote> notes) {
  const int w = 176, h = 100;
  QImage image = canvas(w, h);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(kScale, kScale);
  const double space = 8.0;              // between two staff lines
  const double e4_y = 66.0;              // the lowest line
  auto y_of = [&](int position) { return e4_y - (position - 2) * space / 2; };
  p.setPen(QPen(kInk, 0.8));
  for (int line = 0; line < 5; ++line) p.drawLine(QPointF(8, y_of(2 + 2 * line)), QPointF(w - 8, y_of(2 + 2 * line)));
  p.drawLine(QPointF(w - 8, y_of(2)), QPointF(w - 8, y_of(10)));  // the bar line
  draw_clef_and_meter(p, y_of(4), space);
  p.setFont(face(11, true));
  p.drawText(QPointF(50, 14), "C");
  p.setFont(face(10));
  for (size_t i = 0; i < notes.size(); ++i) {
    const double x = 64 + 38.0 * i;
    const int position = notes[i].position;
    p.setPen(QPen(kInk, 0.8));
    for (int ledger = 0; ledger >= position; ledger -= 2) p.drawLine(QPointF(x - 8, y_of(ledger)), QPointF(x + 8, y_of(ledger)));
    const bool tone = notes[i].label[0] != '\0';
    const QColor colour = tone ? kAccent : kInk;
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    p.save();
    p.translate(x, y_of(position));
    p.rotate(-20);
    p.drawEllipse(QPointF(0, 0), 4.8, 3.5);
    p.restore();
    p.setPen(QPen(colour, 1));
    const bool stem_up = position < 6;
    if (stem_up) p.drawLine(QPointF(x + 4.4, y_of(position) - 1), QPointF(x + 4.4, y_of(position) - 26));
    else p.drawLine(QPointF(x - 4.4, y_of(position) + 1), QPointF(x - 4.4, y_of(position) + 26));
    p.drawText(QRectF(x - 18, h - 16, 36, 14), Qt::AlignCenter, tone ? notes[i].label : "ct");
  }
  p.setPen(kAccent);
  p.setFont(face(11, true));
  p.drawText(QPointF(w - 30, 14), name);
  return image;
}

}  // namespace

bool draw_pictures(const QString& folder) {
  bool ok = true;
  auto save = [&](const QImage& image, const QString& name) { ok = image.save(folder + "/" + name, "PNG") && ok; };
  for (int shape = 1; shape <= 5; ++shape) save(draw_shape(shape), QString("shape-%1.png").arg(shape));
  for (int mode = 1; mode <= 4; ++mode) save(draw_play_mode(mode), QString("play-mode-%1.png").arg(mode));
  // Over C E G: each non-harmonic tone between the chord tones that the
  // rules ask for before and after it.
  save(draw_tone("fa", {{0, ""}, {1, "fa"}, {0, ""}}), "tone-fa.png");
  save(draw_tone("fd", {{0, ""}, {-1, "fd"}, {0, ""}}), "tone-fd.png");
  save(draw_tone("pa", {{0, ""}, {1, "pa"}, {2, ""}}), "tone-pa.png");
  save(draw_tone("pd", {{2, ""}, {1, "pd"}, {0, ""}}), "tone-pd.png");
  save(draw_tone("as", {{0, ""}, {3, "as"}, {2, ""}}), "tone-as.png");
  save(draw_tone("ai", {{2, ""}, {-1, "ai"}, {0, ""}}), "tone-ai.png");
  save(draw_tone("ea", {{2, ""}, {3, "ea"}, {0, ""}}), "tone-ea.png");
  save(draw_tone("ed", {{0, ""}, {-1, "ed"}, {2, ""}}), "tone-ed.png");
  return ok;
}

}  // namespace zelvo_docs
