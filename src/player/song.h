#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"
#include "midi/timeline.h"

// A MIDI file made ready for playing in real time: its channel messages as
// raw bytes stamped in microseconds (the tempo map applied once, up front),
// and its bar lines, so that the player can seek, loop and swap by bar.
namespace zelvo::player {

struct TimedMessage {
  int64_t micros = 0;  // from the start of the song
  uint8_t bytes[3] = {0, 0, 0};
  uint8_t size = 0;    // 2 or 3
};

// A tempo in force from `tick` (and `micros`) on.
struct TempoStep {
  int64_t tick = 0;
  int64_t micros = 0;
  int32_t micros_per_quarter = 500'000;
};

// A bar count beyond this is not played past: the last bar then runs to the
// end of the song. It bounds what a file with a tiny meter and a huge last
// tick can cost.
inline constexpr size_t kMaxBars = 100'000;

struct Song {
  int32_t division = 480;
  std::vector<TimedMessage> messages;  // in time order, file order within a time
  std::vector<TempoStep> tempo;        // at least one, the first at tick 0
  // Bar lines in microseconds: bar_lines[0] is 0, bar n (from 1) runs from
  // bar_lines[n - 1] to bar_lines[n]; the last entry closes the last bar.
  std::vector<int64_t> bar_lines;
  int64_t end_micros = 0;
  // Where each bar begins in ticks, and its beats (the meter's numerator),
  // bar for bar as bar_lines; the last tick entry closes the last bar.
  std::vector<int64_t> bar_ticks;
  std::vector<uint8_t> bar_beats;

  int bar_count() const { return static_cast<int>(bar_lines.size()) - 1; }
  int64_t tick_at(int64_t micros) const;
  int64_t micros_at_tick(int64_t tick) const;
  // The bar (from 1) sounding at `micros`.
  int bar_at(int64_t micros) const;
  // The first beat line at or after `micros` (a bar line is one); the last
  // bar line when none comes before it. A beat is one note of the meter's
  // denominator: a quarter in 4/4, an eighth in 6/8.
  int64_t next_beat(int64_t micros) const;
};

// Builds a song from a file's events. A meter change takes effect at the
// first bar line at or after it, as notation reads a change written inside
// a bar; the default meter is 4/4 and the default tempo 120 a quarter.
Song make_song(const midi::Timeline& file);

// Reads a MIDI file (format 0 or 1) into a song: the one place where the
// player reads files, so that it can move to another reader in one edit.
base::Status load_song(const std::string& path, Song& song);

}  // namespace zelvo::player
