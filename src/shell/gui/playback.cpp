#include "shell/gui/playback.h"

#include "player/midi_port.h"
#include "player/song.h"
#include "player/synth_output.h"
#include "player/output_choice.h"

namespace zelvo::shell::gui {

Playback::Playback(std::function<void(const std::string&)> on_started) : on_started_(std::move(on_started)) {}

Playback::~Playback() {
  join();
  player_.reset();
}

void Playback::join() {
  if (starter_.joinable()) starter_.join();
}

void Playback::set_loop(bool loop) {
  loop_ = loop;
  if (!starting_.load() && player_ != nullptr) player_->set_loop(loop);
}

void Playback::set_channels(uint16_t mask) {
  channels_ = mask;
  if (!starting_.load() && player_ != nullptr) player_->set_channels(mask);
}

uint16_t Playback::player_channels() const {
  return !starting_.load() && player_ != nullptr ? player_->channels() : player::kAllChannels;
}

void Playback::play(const std::string& midi_file, int from_bar) {
  if (starting_.load()) return;
  join();
  if (player_ != nullptr) player_->stop();
  started_ = false;
  starting_.store(true);
  const int generation = ++generation_;
  starter_ = std::thread([this, midi_file, from_bar, generation, port = port_, loop = loop_,
                          channels = channels_] {
    player::Song song;
    base::Status status = player::load_song(midi_file, song);
    if (status.ok()) {
      if (output_ == nullptr || output_port_ != port) {
        player_.reset();
        output_.reset();
        std::string opened;
        status = player::open_output({port, ""}, output_, opened);
        output_port_ = port;
        if (output_ != nullptr) player_ = std::make_unique<player::Player>(*output_);
      }
      if (player_ != nullptr) {
        player_->set_channels(channels);
        player_->play(std::move(song), {from_bar, 0, loop});
      }
    }
    // The window tells what went wrong in English, as the player always has.
    const std::string error = status.ok() ? std::string() : base::render(status.error(), base::kEnglish);
    QMetaObject::invokeMethod(
        this,
        [this, error, generation] {
          if (generation != generation_) return;  // stopped while starting
          join();
          starting_.store(false);
          started_ = error.empty();
          // A choice made while it started.
          if (player_ != nullptr) player_->set_channels(channels_);
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
  if (player_ != nullptr) player_->stop();
}

bool Playback::playing() const { return started_ && player_ != nullptr && player_->playing(); }

int64_t Playback::tick() const { return playing() ? player_->position().tick : -1; }

bool Playback::swap(const std::string& midi_file, player::SwapPoint at) {
  if (!playing()) return false;
  player::Song song;
  if (!player::load_song(midi_file, song).ok()) return false;
  player_->swap(std::move(song), at);
  return true;
}

}  // namespace zelvo::shell::gui
