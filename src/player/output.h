#pragma once

#include <cstddef>
#include <cstdint>

namespace zelvo::player {

// Where the player's messages go: a MIDI port or the built-in synthesizer.
// send() is called from the player's thread only, one whole channel message
// (2 or 3 bytes) at a time, at the moment it is due.
class Output {
 public:
  virtual ~Output() = default;
  virtual void send(const uint8_t* bytes, size_t size) = 0;
};

}  // namespace zelvo::player
