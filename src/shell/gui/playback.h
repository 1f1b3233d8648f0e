#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include <memory>

#include "player/output.h"
#include "player/player.h"

namespace zelvo::shell::gui {

// Play and Stop for the window: the player is started on a thread of its
// own (loading a soundfont and opening the sound system take a moment, and
// a broken sound system must not freeze the window), and the outcome comes
// back on the window's thread through `on_started`.
class Playback : public QObject {
 public:
  // `on_started(error)`: empty error when the sound began.
  explicit Playback(std::function<void(const std::string& error)> on_started);
  ~Playback() override;

  // Does nothing while a start is under way.
  void play(const std::string& midi_file);
  // While playing: `midi_file` takes over at the next bar line, without a
  // gap. False when nothing plays or the file cannot be read.
  bool swap(const std::string& midi_file);
  void stop();
  bool starting() const { return starting_.load(); }
  // Sounding now (false while starting, after the end, after stop()).
  bool playing() const;
  int64_t tick() const;

 private:
  void join();

  std::function<void(const std::string&)> on_started_;
  std::unique_ptr<player::Output> output_;  // made and filled by the starter thread
  std::unique_ptr<player::Player> player_;
  std::thread starter_;
  std::atomic<bool> starting_{false};
  bool started_ = false;
  int generation_ = 0;  // a start's outcome counts only if no stop came after it
};

}  // namespace zelvo::shell::gui
