#pragma once

#include <QRectF>
#include <cstdint>
#include <string>

#include "base/status.h"
#include "roll/piano_roll.h"

class QPainter;

// Drawing a piano roll with QPainter, on screen or into a file: time left
// to right with bar lines and numbers, pitch bottom to top with a line and a
// label at every C, one colour per channel (legend below), velocity as
// opacity, and for a harmonized result the given pitch faintly beside the
// chosen one with the tone type written on the note.
namespace zelvo::picture {

// The part of the song shown and how it maps to the area.
struct RollFrame {
  int64_t first_tick = 0;
  int64_t last_tick = 0;   // shown up to here (exclusive); at least first + 1
  int32_t lowest = 0;      // pitch rows shown, inclusive
  int32_t highest = 127;
  QRectF notes_area;       // where the rows lie
};

inline constexpr double kKeyLabelWidth = 34;   // left margin: the C labels
inline constexpr double kBarNumberHeight = 16; // top margin: the bar numbers
inline constexpr double kLegendHeight = 22;    // bottom margin: the channels

// The rows of a roll: its pitch range with two spare rows above and below.
void pitch_rows(const roll::PianoRoll& roll, int32_t& lowest, int32_t& highest);

// The frame for the whole song in `bounds` (margins taken off).
RollFrame whole_song_frame(const roll::PianoRoll& roll, const QRectF& bounds);

double tick_x(const RollFrame& frame, int64_t tick);

// Draws margins, grid, notes and legend. `cursor_tick` >= 0 draws the play
// cursor there.
void paint_roll(QPainter& painter, const roll::PianoRoll& roll, const RollFrame& frame,
                const QRectF& bounds, int64_t cursor_tick = -1);

// The channel's colour (0-15).
uint32_t channel_rgb(int channel);

// Writes the whole song `width` pixels wide as SVG (a name ending in .svg)
// or PNG (any other name), under a temporary name renamed at the end.
// Needs a QGuiApplication.
base::Status save_roll(const roll::PianoRoll& roll, const std::string& path, int width);

}  // namespace zelvo::picture
