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

}  // namespace zelvo::midi
