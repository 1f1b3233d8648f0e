#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

#include "midi/codec.h"
#include "midi/song.h"

// The decoded timeline of a Standard MIDI File (format 0 or 1): the events
// a listener hears or a picture shows, the tracks merged into one list in
// time order, taken from what the codec (midi/codec.h) reads. The piano
// roll, the player and the renderer read MIDI through it, and notation reads
// its merged track decoded by decode_track.
namespace zelvo::midi {

enum class EventKind : uint8_t {
  kNoteOn,           // data1 pitch, data2 velocity (1-127)
  kNoteOff,          // data1 pitch (a note-on of velocity 0 is read as this)
  kKeyPressure,      // data1 pitch, data2 pressure
  kController,       // data1 controller, data2 value
  kProgram,          // data1 program
  kChannelPressure,  // data1 pressure
  kPitchBend,        // value 0-16383, 8192 the centre
  kTempo,            // value microseconds per quarter note
  kTimeSignature,    // data1 numerator, data2 denominator exponent
  // Only in a track decoded as written (decode_track):
  kKeySignature,     // data1 the sharps (a signed byte: flats below 0), data2 1 for minor
  kSystem,           // a system exclusive or other system message
};

struct TimelineEvent {
  int64_t tick = 0;
  EventKind kind = EventKind::kNoteOn;
  uint8_t channel = 0;  // 0-15
  uint8_t data1 = 0;
  uint8_t data2 = 0;
  int32_t value = 0;
};

struct Timeline {
  int32_t division = 0;  // ticks per quarter note
  int64_t end_tick = 0;  // the latest end of track or event
  std::vector<TimelineEvent> events;  // by tick; equal ticks in file order, track by track
};

// Limits that keep any file's cost bounded: a file beyond them is refused.
inline constexpr size_t kMaxTimelineEvents = 4'000'000;

// Reads `bytes`; on failure the message says the fault in a few words ("not
// a MIDI file", "track 2 ends inside an event", ...), after `source` and a
// colon when `source` is not empty. Chunks other than MThd and MTrk are
// skipped; system exclusive and meta events other than tempo and time
// signature are passed over.
base::Status read_timeline(std::string_view bytes, Timeline& song, const std::string& source = {});

// The same from a file, whose name begins the message.
base::Status read_timeline_file(const std::string& path, Timeline& song);

// Every event of `track` that has a kind above, in file order, decoded as
// the file writes it: a tempo of 0, a meter of no beats or of any unit, key
// signatures and system messages are kept (a reader that follows such a
// file's every quirk, as notation does, needs them), data bytes keep their
// top bit, and nothing is sorted or bounded. A tempo needs its three bytes,
// a meter and a key two.
// `division` is the header's; the end is the track's.
Timeline decode_track(const SongTrack& track, int32_t division);

// The microseconds per quarter note of a tempo meta event's data: its
// first three bytes, big-endian (bytes it lacks are left out, as get_be
// leaves them). Every reader of MIDI decodes tempo through it.
uint32_t tempo_micros(std::string_view data);

}  // namespace zelvo::midi
