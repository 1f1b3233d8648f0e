#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "midi/timeline.h"

// What a piano roll shows of a song: notes as spans of ticks, bar lines from
// the time signatures, the channels in use; and the clock that turns ticks
// into seconds through the tempo changes.
namespace zelvo::roll {

inline constexpr int32_t kNoToneType = -1;

struct RollNote {
  int64_t start = 0;
  int64_t end = 0;
  uint8_t channel = 0;  // 0-15
  uint8_t pitch = 0;
  uint8_t velocity = 0;
  int16_t given_pitch = -1;            // the music's pitch, when known
  int32_t tone_type = kNoToneType;     // 0-7 a non-harmonic tone type
};

// The tone type of a note tied over (a bar line, most often): the
// harmonizer gives the part that sounds on its own type, from `tick`.
struct HeldTone {
  int64_t tick = 0;
  uint8_t channel = 0;  // 0-15
  uint8_t pitch = 0;
  int32_t tone_type = kNoToneType;
};

struct BarLine {
  int64_t tick = 0;
  int32_t number = 0;  // from 1
  // In a song whose meter changes: the meter of bar 1 and of every bar that
  // starts a new one (0 elsewhere, and in a song in one meter).
  uint8_t numerator = 0;
  uint8_t denominator_exponent = 0;
};

// Bars beyond this many get no line (a file with one-tick bars).
inline constexpr size_t kMaxBarLines = 100'000;

struct PianoRoll {
  int32_t division = 0;
  int64_t end_tick = 0;
  std::vector<RollNote> notes;  // by start tick
  std::vector<BarLine> bars;
  std::vector<HeldTone> held_tones;  // by tick
  uint16_t channels = 0;  // bit c: channel c has a note
  uint8_t lowest = 60;    // pitch range of the notes (60-60 when none)
  uint8_t highest = 60;
};

// A note-off ends the earliest sounding note of its channel and pitch; a
// note still sounding at the end of the song ends there.
PianoRoll make_piano_roll(const midi::Timeline& song);

// Ticks to seconds by the song's tempo changes (120 beats a minute until
// the first).
class TempoMap {
 public:
  explicit TempoMap(const midi::Timeline& song);
  double seconds(int64_t tick) const;
  int64_t tick_at(double seconds) const;

 private:
  struct Segment {
    int64_t tick;
    double start_seconds;
    double seconds_per_tick;
  };
  std::vector<Segment> segments_;
};

}  // namespace zelvo::roll
