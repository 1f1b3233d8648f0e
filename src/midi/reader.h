#pragma once

#include <cstdint>
#include <cstdio>

namespace zelvo::midi {

// Result codes of read_file; the caller prints the message of each.
enum class ReadResult : int32_t {
  kRead = 0,
  kCannotOpen = 1,     // cannot be opened, or fewer than four bytes
  kNotMidi = 2,        // no "MThd", or a data byte before any status byte
  kNotFormat0 = 3,
  kBarOrTempo = 4,     // leading tempo or time-signature events that the
                       // file cannot be timed by
  kUnexpectedEnd = 5,  // the file ends before the end-of-track event
  kMeterNotFollowed = 6,  // a later time signature the sink cannot follow
};

// What read_file finds, in file order.
class EventSink {
 public:
  virtual ~EventSink() = default;
  // The header's ticks per quarter note.
  virtual void division(int32_t ticks) = 0;
  // A tempo among the leading meta events; micros_per_quarter > 0.
  virtual void tempo(int32_t micros_per_quarter) = 0;
  // A time signature among them; exponent <= 30.
  virtual void time_signature(int32_t numerator, int32_t exponent) = 0;
  // The leading meta events are read, `timing_events` of them tempo or
  // time signature. Anything but kRead ends the reading with that result.
  virtual ReadResult leading_events_read(int32_t timing_events) = 0;
  // A note-on with a velocity above 0 at an absolute tick; channel counted
  // from 1.
  virtual void note_on(int64_t tick, int32_t channel, int32_t note, int32_t velocity) = 0;
  // A note-off, or a note-on with velocity 0.
  virtual void note_off(int64_t tick, int32_t channel, int32_t note) = 0;
  // A time signature after the leading meta events, at an absolute tick.
  // Anything but kRead ends the reading with that result.
  virtual ReadResult later_time_signature(int64_t /*tick*/, int32_t /*numerator*/,
                                          int32_t /*exponent*/) {
    return ReadResult::kRead;
  }
  // A tempo after the leading meta events, at an absolute tick;
  // micros_per_quarter > 0.
  virtual void later_tempo(int64_t /*tick*/, int32_t /*micros_per_quarter*/) {}
};

// Reads a format 0 Standard MIDI File whose track begins with its meta
// events (tempo and time signature among them, each with a one-byte delta),
// as the composer writes it. Running status is followed; system exclusive
// and meta events after the leading ones are skipped (a time signature or a tempo is
// shown to the sink first), other channel events are skipped by their
// length.
ReadResult read_file(const char* path, EventSink& sink);
// The same from an open binary stream (kCannotOpen when it is null); the
// caller closes it.
ReadResult read_file(std::FILE* file, EventSink& sink);

}  // namespace zelvo::midi
