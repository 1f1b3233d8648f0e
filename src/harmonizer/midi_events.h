#pragma once

#include <cstdint>
#include <string_view>

#include "base/status.h"
#include "midi/song.h"

// The harmonizer's reading of a format 0 MIDI file (outco.mid, what the
// composer writes, or what the merge of tracks makes of a score): the MIDI
// codec reads the bytes, this checks the layout the harmonizer requires and
// hands what it takes, in file order, to an event sink.
namespace zelvo::harmonizer {

// What the reading finds, in file order.
class MidiEventSink {
 public:
  virtual ~MidiEventSink() = default;
  // The header's ticks per quarter note.
  virtual void division(int32_t ticks) = 0;
  // A tempo among the leading meta events; micros_per_quarter > 0.
  virtual void tempo(int32_t micros_per_quarter) = 0;
  // A time signature among them; exponent <= 30.
  virtual void time_signature(int32_t numerator, int32_t exponent) = 0;
  // The leading meta events are read, `timing_events` of them tempo or
  // time signature. A failure ends the reading with its message.
  virtual base::Status leading_events_read(int32_t timing_events) = 0;
  // A note-on with a velocity above 0 at an absolute tick; channel counted
  // from 1.
  virtual void note_on(int64_t tick, int32_t channel, int32_t note, int32_t velocity) = 0;
  // A note-off, or a note-on with velocity 0.
  virtual void note_off(int64_t tick, int32_t channel, int32_t note) = 0;
  // A time signature after the leading meta events, at an absolute tick.
  // A failure ends the reading with its message.
  virtual base::Status later_time_signature(int64_t tick, int32_t numerator, int32_t exponent) = 0;
  // A tempo after the leading meta events, at an absolute tick;
  // micros_per_quarter > 0.
  virtual void later_tempo(int64_t tick, int32_t micros_per_quarter) = 0;
};

// Reads a format 0 file whose track begins with its meta events (tempo and
// time signature among them, each after a one-byte delta), as the composer
// writes it. Running status is followed; system exclusive messages and
// other meta events are skipped, a time signature or a tempo after the
// leading events is shown to the sink even when the file ends inside it,
// other channel events are skipped. The file, named `name` in the messages,
// is refused when it has fewer than four bytes ("cannot be read"), no
// "MThd" or a data byte before any status byte, a format other than 0,
// leading tempo or time-signature events that cannot time it, or an end
// before its end-of-track event.
base::Status read_midi_events(std::string_view bytes, MidiEventSink& sink, const char* name);

// The same for the one track the score intake merges a multi-track file
// into (intake::merge_midi_tracks), before it is written: what the sink is
// shown, and the answer, are those of reading the track written in the
// merged layout (midi::kMergedLayout). The events are read as they are
// where those bytes would read as them; otherwise the bytes are written and
// read.
base::Status read_midi_events(const midi::Song& merged, MidiEventSink& sink, const char* name);

}  // namespace zelvo::harmonizer
