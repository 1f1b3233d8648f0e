#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "player/output.h"
#include "player/player.h"

namespace zelvo::shell::gui {

// Play and Stop for the window: the output is opened on a thread of its
// own (loading a soundfont and opening the sound system take a moment, and
// a broken sound system must not freeze the window), and the outcome comes
// back on the window's thread through `on_started`. The output stays open
// between plays, so that a DAW connected to the window's port stays
// connected.
class Playback : public QObject {
 public:
  // `on_started(error)`: empty error when the sound began.
  explicit Playback(std::function<void(const std::string& error)> on_started);
  ~Playback() override;

  // Where the sound goes: a MIDI port (any part of its name; "Zelvo" the
  // window's own port), empty for the built-in synthesizer. Taken at the
  // next play().
  void set_output(const std::string& port) { port_ = port; }
  void set_loop(bool loop);
  // The channels heard (bit 0 channel 1), now and in every later play; a
  // swap keeps them.
  void set_channels(uint16_t mask);
  // The channels the player lets sound now (every one before a play).
  uint16_t player_channels() const;

  // Does nothing while a start is under way.
  void play(const std::string& midi_file, int from_bar = 1);
  // While playing: `midi_file` takes over at `at`, without a gap. False
  // when nothing plays or the file cannot be read.
  bool swap(const std::string& midi_file, player::SwapPoint at);
  void stop();
  bool starting() const { return starting_.load(); }
  // Sounding now (false while starting, after the end, after stop()).
  bool playing() const;
  int64_t tick() const;

 private:
  void join();

  std::function<void(const std::string&)> on_started_;
  std::string port_;
  bool loop_ = false;
  uint16_t channels_ = player::kAllChannels;
  // Made and used by the starting thread while `starting_`, else by the
  // window's thread.
  std::unique_ptr<player::Output> output_;
  std::string output_port_;
  std::unique_ptr<player::Player> player_;
  std::thread starter_;
  std::atomic<bool> starting_{false};
  bool started_ = false;
  int generation_ = 0;  // a start's outcome counts only if no stop came after it
};

}  // namespace zelvo::shell::gui
