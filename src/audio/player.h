#pragma once

#include <cstdint>
#include <memory>
#include <string>

typedef struct _fluid_player_t fluid_player_t;
typedef struct _fluid_audio_driver_t fluid_audio_driver_t;

// Playing a MIDI file through the desktop's sound system (PipeWire,
// PulseAudio or ALSA, the first that opens) in real time.
namespace zelvo::audio {

class Synth;

class Player {
 public:
  Player();
  ~Player();
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  // Loads the soundfont, opens the sound system and starts playing `midi`.
  // Takes as long as loading the soundfont does: not for a window's thread.
  // On failure (no sound device, no soundfont, a file that is not MIDI)
  // returns false with `error` set and nothing playing.
  bool start(const std::string& midi, const std::string& soundfont, std::string& error);

  // Silences and closes everything; does nothing when nothing plays.
  void stop();

  // True from a successful start until the end of the file or stop().
  bool playing() const;

  // The tick being played (0 when nothing plays).
  int64_t tick() const;

 private:
  std::unique_ptr<Synth> synth_;
  fluid_player_t* player_ = nullptr;
  fluid_audio_driver_t* driver_ = nullptr;
};

}  // namespace zelvo::audio
