#include "player/synth_output.h"

#include <fluidsynth.h>

#include "audio/sound_device.h"
#include "audio/soundfont.h"
#include "audio/synth.h"

namespace zelvo::player {

namespace {

class SynthOutput : public Output {
 public:
  explicit SynthOutput(std::unique_ptr<audio::Synth> synth) : synth_(std::move(synth)) {}
  ~SynthOutput() override {
    // The driver first: it is what calls into the synthesizer.
    if (driver_ != nullptr) delete_fluid_audio_driver(driver_);
  }
  base::Status open() { return audio::open_sound_device(*synth_, driver_); }
  void send(const uint8_t* bytes, size_t size) override {
    // FluidSynth takes whole channel messages as events.
    fluid_synth_t* synth = synth_->synth();
    const int channel = bytes[0] & 0x0F;
    const int a = size > 1 ? bytes[1] : 0;
    const int b = size > 2 ? bytes[2] : 0;
    switch (bytes[0] & 0xF0) {
      case 0x80: fluid_synth_noteoff(synth, channel, a); break;
      case 0x90: b > 0 ? fluid_synth_noteon(synth, channel, a, b) : fluid_synth_noteoff(synth, channel, a); break;
      case 0xA0: fluid_synth_key_pressure(synth, channel, a, b); break;
      case 0xB0: fluid_synth_cc(synth, channel, a, b); break;
      case 0xC0: fluid_synth_program_change(synth, channel, a); break;
      case 0xD0: fluid_synth_channel_pressure(synth, channel, a); break;
      case 0xE0: fluid_synth_pitch_bend(synth, channel, a | (b << 7)); break;
      default: break;
    }
  }

 private:
  std::unique_ptr<audio::Synth> synth_;
  fluid_audio_driver_t* driver_ = nullptr;
};

}  // namespace

base::Status open_synth_output(const std::string& soundfont, std::unique_ptr<Output>& opened) {
  std::string path;
  base::Status found = audio::find_soundfont(soundfont, path);
  if (!found.ok()) return found;
  auto synth = std::make_unique<audio::Synth>(path, audio::kDefaultGain);
  if (!synth->ok()) return synth->status();
  auto output = std::make_unique<SynthOutput>(std::move(synth));
  base::Status sounding = output->open();
  if (!sounding.ok()) return sounding;
  opened = std::move(output);
  return base::Status();
}

}  // namespace zelvo::player
