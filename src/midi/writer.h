#pragma once

#include <array>
#include <cstdint>

#include "midi/file_layout.h"
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

// The events of a track in time order; the first `count` are in use.
struct TrackEvents {
  std::array<TrackEvent, kMaxTrackEvents> events;
  int32_t count;
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

constexpr int32_t kMaxFileBytes = kFirstEventOffset + kMaxTrackEvents * kMaxEventBytes +
                                  kMaxMeterEvents * kMaxMeterEventBytes +
                                  kMaxTempoEvents * kMaxTempoEventBytes + kEndOfTrackBytes;

// The bytes of a MIDI file, built whole in memory before they go to disk.
struct FileImage {
  std::array<uint8_t, kMaxFileBytes> bytes;
  int32_t size;
};

struct EncodeResult {
  bool ok;
  int64_t bad_delta;  // when !ok: the delta time that no variable-length quantity holds
};

// Encodes the file; a time signature, then a tempo, goes before the notes of
// its tick, and one after the last note is left out. Fails on the first negative delta time or one beyond
// kMaxVarLength; image.size then counts the bytes before that event, with
// the track length still 0.
EncodeResult encode_file(const TrackSettings& settings, const TrackEvents& track, FileImage& image);

enum class WriteStatus : uint8_t { kWritten, kNotCreated, kNotWritten };

// Writes image.size bytes as the file `path`.
WriteStatus write_file(const char* path, const FileImage& image);

}  // namespace zelvo::midi
