#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A Standard MIDI File as read: its header and, track by track, every event
// in file order with its absolute tick. Readers of any one kind of music
// (the piano roll, the player, the notation) take what they need from it.
namespace zelvo::midi {

struct SongEvent {
  int64_t tick = 0;     // absolute, from the track's start
  uint8_t status = 0;   // the channel status in force (running status resolved),
                        // kMetaEvent, kSystemExclusive or kEndOfExclusive
  uint8_t data1 = 0;    // channel events: the first data byte; meta events: the type
  uint8_t data2 = 0;    // channel events: the second data byte (0 for one-byte events)
  std::string data;     // the bytes of a meta event or a system exclusive message
  uint32_t offset = 0;  // where the event's delta time starts in the file
};

struct SongTrack {
  std::vector<SongEvent> events;  // the end-of-track event left out
  int64_t end_tick = 0;           // the tick of its end, or of its last delta time
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
      if (e.tick != f.tick || e.status != f.status || e.data1 != f.data1 || e.data2 != f.data2 || e.data != f.data) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace zelvo::midi
