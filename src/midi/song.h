#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A Standard MIDI File as read: its header and, track by track, every event
// in file order with its absolute tick. Readers of any one kind of music
// (the piano roll, the player, the notation) take what they need from it.
namespace zelvo::midi {

// Small and with no memory of its own: a file holds hundreds of thousands
// of events, and few of them carry data (SongTrack::data).
struct SongEvent {
  int64_t tick = 0;          // absolute, from the track's start
  uint32_t offset = 0;       // where the event's delta time starts in the file
  uint32_t data_at = 0;      // where its data starts in the track's `bytes`
  uint32_t data_length = 0;  // and how long it is
  uint8_t status = 0;        // the channel status in force (running status resolved),
                             // kMetaEvent, kSystemExclusive or kEndOfExclusive
  uint8_t data1 = 0;         // channel events: the first data byte; meta events: the type
  uint8_t data2 = 0;         // channel events: the second data byte (0 for one-byte events)
};

struct SongTrack {
  std::vector<SongEvent> events;  // the end-of-track event left out
  std::string bytes;              // the data of its events, one after another
  int64_t end_tick = 0;           // the tick of its end, or of its last delta time

  // The bytes of a meta event or a system exclusive message (of an event
  // with status 0 when written: SongEvent::status).
  std::string_view data(const SongEvent& event) const {
    return std::string_view(bytes.data() + event.data_at, event.data_length);
  }
  // Gives `event` `data`, kept after the data held.
  void set_data(SongEvent& event, std::string_view data) {
    event.data_at = static_cast<uint32_t>(bytes.size());
    event.data_length = static_cast<uint32_t>(data.size());
    bytes.append(data);
  }
};

struct Song {
  uint32_t header_length = 0;
  uint32_t format = 0;
  uint32_t declared_tracks = 0;  // what the header says
  uint32_t division = 0;         // ticks per quarter note
  std::vector<SongTrack> tracks;  // the MTrk chunks read
};

// The same music: format, division and, track by track, the same events
// and ends. Where the events lie in a file does not count, so a song read
// back after writing compares equal to the song written.
inline bool same_music(const Song& a, const Song& b) {
  if (a.format != b.format || a.division != b.division || a.tracks.size() != b.tracks.size()) return false;
  for (size_t t = 0; t < a.tracks.size(); ++t) {
    const SongTrack& x = a.tracks[t];
    const SongTrack& y = b.tracks[t];
    if (x.end_tick != y.end_tick || x.events.size() != y.events.size()) return false;
    for (size_t i = 0; i < x.events.size(); ++i) {
      const SongEvent& e = x.events[i];
      const SongEvent& f = y.events[i];
      if (e.tick != f.tick || e.status != f.status || e.data1 != f.data1 || e.data2 != f.data2 ||
          x.data(e) != y.data(f)) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace zelvo::midi
