#include "audio/player.h"

#include <fluidsynth.h>

#include "audio/sound_device.h"
#include "audio/synth.h"
#include "midi/timeline.h"

namespace zelvo::audio {

Player::Player() = default;

Player::~Player() { stop(); }

bool Player::start(const std::string& midi, const std::string& soundfont, std::string& error) {
  stop();
  midi::Timeline song;
  if (!midi::read_timeline_file(midi, song, error)) return false;
  synth_ = std::make_unique<Synth>(soundfont, kDefaultGain);
  if (!synth_->ok()) {
    error = synth_->error();
    synth_.reset();
    return false;
  }
  driver_ = open_sound_device(*synth_, error);
  if (driver_ == nullptr) {
    synth_.reset();
    return false;
  }
  player_ = new_fluid_player(synth_->synth());
  if (player_ == nullptr || fluid_player_add(player_, midi.c_str()) != FLUID_OK ||
      fluid_player_play(player_) != FLUID_OK) {
    stop();
    error = midi + ": cannot be played";
    return false;
  }
  return true;
}

void Player::stop() {
  // The driver first: it is what calls into the player and the synth.
  if (driver_ != nullptr) delete_fluid_audio_driver(driver_);
  driver_ = nullptr;
  if (player_ != nullptr) {
    fluid_player_stop(player_);
    delete_fluid_player(player_);
  }
  player_ = nullptr;
  synth_.reset();
}

bool Player::playing() const {
  return player_ != nullptr && fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING;
}

int64_t Player::tick() const { return player_ != nullptr ? fluid_player_get_current_tick(player_) : 0; }

}  // namespace zelvo::audio
