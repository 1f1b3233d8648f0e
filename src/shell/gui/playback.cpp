#include "shell/gui/playback.h"

#include "player/song.h"
#include "player/synth_output.h"

namespace zelvo::shell::gui {

Playback::Playback(std::function<void(const std::string&)> on_started) : on_started_(std::move(on_started)) {}

Playback::~Playback() {
  join();
  player_.reset();
  output_.reset();
}

void Playback::join() {
  if (starter_.joinable()) starter_.join();
}

void Playback::play(const std::string& midi_file) {
  if (starting_.load()) return;
  join();
  player_.reset();
  output_.reset();
  started_ = false;
  starting_.store(true);
  const int generation = ++generation_;
  starter_ = std::thread([this, midi_file, generation] {
    std::string error;
    player::Song song;
    if (player::load_song(midi_file, song, error)) output_ = player::open_synth_output("", error);
    if (output_ != nullptr) {
      player_ = std::make_unique<player::Player>(*output_);
      player_->play(std::move(song));
    }
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
  player_.reset();
  output_.reset();
}

bool Playback::swap(const std::string& midi_file) {
  if (!playing()) return false;
  player::Song song;
  std::string error;
  if (!player::load_song(midi_file, song, error)) return false;
  player_->swap_at_next_bar(std::move(song));
  return true;
}

bool Playback::playing() const { return started_ && player_ != nullptr && player_->playing(); }

int64_t Playback::tick() const { return started_ && player_ != nullptr ? player_->position().tick : -1; }

}  // namespace zelvo::shell::gui
