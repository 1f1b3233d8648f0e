#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "midi/song.h"
#include "midi/time_sort.h"

namespace zelvo::midi {

// One note-on (velocity 0: a note-off) at an absolute tick.
struct TrackEvent {
  int32_t time;
  int32_t channel;  // counted from 0; the status byte keeps its low bits
  int32_t note;
  int32_t velocity;
};

constexpr int32_t kMaxTrackEvents = kMaxSortRecords;

// The events of a track in time order; the first `count` are in use. The
// table grows with the longest track written (reserve).
struct TrackEvents {
  std::vector<TrackEvent> events;
  int32_t count;

  // Room for n events. REQUIRES: 0 <= n <= kMaxTrackEvents.
  void reserve(int32_t n) {
    if (events.size() < static_cast<size_t>(n)) events.resize(std::max(static_cast<size_t>(n), 2 * events.size()));
  }
};

// A later time signature: music whose meter changes carries one at the
// first tick of every bar where it does.
struct MeterEvent {
  int32_t time;
  uint32_t numerator;             // 8 bits
  uint32_t denominator_exponent;  // 8 bits
};

constexpr int32_t kMaxMeterEvents = 256;

// A later tempo: music whose tempo changes carries one where it does.
struct TempoEvent {
  int32_t time;
  uint32_t micros_per_quarter;  // 24 bits
};

constexpr int32_t kMaxTempoEvents = 256;

// What the header and the two leading meta events carry, and the later time
// signatures (by time; none for music in one meter). Only the low bits each
// field has room for are written.
struct TrackSettings {
  uint32_t division;             // ticks per quarter note, 16 bits
  uint32_t numerator;            // 8 bits
  uint32_t denominator_exponent; // 8 bits
  uint32_t micros_per_quarter;   // 24 bits
  const MeterEvent* meters = nullptr;
  int32_t meter_count = 0;       // at most kMaxMeterEvents
  const TempoEvent* tempos = nullptr;
  int32_t tempo_count = 0;       // at most kMaxTempoEvents
};

// The file in memory: the song the settings and the track make, then its
// bytes. Part of an engine's state, so their memory serves every job.
struct FileImage {
  Song song;
  std::string bytes;
};

struct EncodeResult {
  bool ok;
  int64_t bad_delta;  // when !ok: the delta time that no variable-length quantity holds
};

// Encodes the file in kEngineLayout; a time signature, then a tempo, goes
// before the notes of its tick, and one after the last note is left out. A
// note whose channel does not fit the status byte keeps the bytes it makes.
// Fails on the first negative delta time or one beyond kMaxVarLength;
// image.bytes then holds the bytes before that event, with the track length
// still 0.
EncodeResult encode_file(const TrackSettings& settings, const TrackEvents& track, FileImage& image);

enum class WriteStatus : uint8_t { kWritten, kNotCreated, kNotWritten };

// Writes image.bytes as the file `path`.
WriteStatus write_file(const char* path, const FileImage& image);

}  // namespace zelvo::midi
