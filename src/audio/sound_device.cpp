#include "audio/sound_device.h"

#include <fluidsynth.h>

#include <cstdlib>
#include <vector>

#include "audio/synth.h"

namespace zelvo::audio {

base::Status open_sound_device(Synth& synth, fluid_audio_driver_t*& driver) {
  // JACK is left out: opening it may start a sound server of its own.
  // "file" plays in real time into nothing, for machines without sound.
  std::vector<std::string> drivers = {"pipewire", "pulseaudio", "alsa"};
  const char* forced = std::getenv("ZELVO_AUDIO_DRIVER");
  if (forced != nullptr && *forced != '\0') drivers = {forced};
  fluid_settings_setstr(synth.settings(), "audio.file.name", "/dev/null");
  fluid_settings_setstr(synth.settings(), "audio.file.type", "raw");
  for (const std::string& name : drivers) {
    if (fluid_settings_setstr(synth.settings(), "audio.driver", name.c_str()) != FLUID_OK) continue;
    driver = new_fluid_audio_driver(synth.settings(), synth.synth());
    if (driver != nullptr) return base::Status();
  }
  if (forced != nullptr && *forced != '\0') return base::Message(base::MessageId::kNoForcedSoundDevice, forced);
  return base::Message(base::MessageId::kNoSoundDevice);
}

}  // namespace zelvo::audio
