#include "shell/gui/playback.h"

#include "audio/soundfont.h"

namespace zelvo::shell::gui {

Playback::Playback(std::function<void(const std::string&)> on_started) : on_started_(std::move(on_started)) {}

Playback::~Playback() {
  join();
  player_.stop();
}

void Playback::join() {
  if (starter_.joinable()) starter_.join();
}

void Playback::play(const std::string& midi_file) {
  if (starting_.load()) return;
  join();
  player_.stop();
  started_ = false;
  starting_.store(true);
  const int generation = ++generation_;
  starter_ = std::thread([this, midi_file, generation] {
    std::string soundfont, error;
    if (audio::find_soundfont("", soundfont, error)) player_.start(midi_file, soundfont, error);
    QMetaObject::invokeMethod(
        this,
        [this, error, generation] {
          if (generation != generation_) return;  // stopped while starting
          join();
          starting_.store(false);
          started_ = error.empty();
          if (on_started_) on_started_(error);
        },
        Qt::QueuedConnection);
  });
}

void Playback::stop() {
  ++generation_;
  join();
  starting_.store(false);
  started_ = false;
  player_.stop();
}

bool Playback::playing() const { return started_ && player_.playing(); }

int64_t Playback::tick() const { return started_ ? player_.tick() : -1; }

}  // namespace zelvo::shell::gui
