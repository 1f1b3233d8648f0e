#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <vector>

#include "player/output.h"
#include "player/song.h"

namespace zelvo::player {

// What reached an output, and when.
struct Received {
  std::chrono::steady_clock::time_point at;
  uint8_t bytes[3] = {0, 0, 0};
  bool note_on() const { return (bytes[0] & 0xF0) == 0x90 && bytes[2] > 0; }
  bool note_off() const { return (bytes[0] & 0xF0) == 0x80 || ((bytes[0] & 0xF0) == 0x90 && bytes[2] == 0); }
  bool controller(uint8_t number) const { return (bytes[0] & 0xF0) == 0xB0 && bytes[1] == number; }
};

class RecordingOutput : public Output {
 public:
  void send(const uint8_t* bytes, size_t size) override {
    Received message;
    message.at = std::chrono::steady_clock::now();
    for (size_t i = 0; i < size && i < 3; ++i) message.bytes[i] = bytes[i];
    std::lock_guard lock(mutex_);
    received_.push_back(message);
  }
  std::vector<Received> received() const {
    std::lock_guard lock(mutex_);
    return received_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<Received> received_;
};

// Notes left sounding at the end of `messages`: a note-on not followed by
// its note-off or by all-notes-off (controller 123) on its channel.
inline int notes_left_sounding(const std::vector<Received>& messages) {
  int sounding[16][128] = {};
  for (const Received& message : messages) {
    const int channel = message.bytes[0] & 0x0F;
    if (message.note_on()) ++sounding[channel][message.bytes[1]];
    if (message.note_off() && sounding[channel][message.bytes[1]] > 0) --sounding[channel][message.bytes[1]];
    if (message.controller(123)) {
      for (int& count : sounding[channel]) count = 0;
    }
  }
  int left = 0;
  for (auto& channel : sounding) {
    for (int count : channel) left += count;
  }
  return left;
}

// A song of `bars` bars of 4/4 at a quarter of `quarter_micros`, one
// note a quarter on channel `channel`, pitches rising from `pitch` (so that
// the bar and beat of every note can be told from its pitch).
inline Song quarters_song(int bars, int64_t quarter_micros, uint8_t channel, uint8_t pitch) {
  midi::Timeline file;
  file.division = 96;
  file.events.push_back({0, midi::EventKind::kTempo, 0, 0, 0, static_cast<int32_t>(quarter_micros)});
  file.events.push_back({0, midi::EventKind::kProgram, channel, 19, 0, 0});
  for (int beat = 0; beat < bars * 4; ++beat) {
    const uint8_t note = static_cast<uint8_t>(pitch + beat);
    file.events.push_back({beat * 96, midi::EventKind::kNoteOn, channel, note, 100, 0});
    file.events.push_back({beat * 96 + 90, midi::EventKind::kNoteOff, channel, note, 0, 0});
  }
  file.end_tick = bars * 4 * 96;
  return make_song(file);
}

}  // namespace zelvo::player
