#pragma once

#include "base/status.h"

typedef struct _fluid_audio_driver_t fluid_audio_driver_t;

namespace zelvo::audio {

class Synth;

// Opens the desktop's sound system (PipeWire, PulseAudio or ALSA, the
// first that opens; ZELVO_AUDIO_DRIVER names one FluidSynth driver
// instead, "jack" among them) to play `synth` in real time, as `driver`.
base::Status open_sound_device(Synth& synth, fluid_audio_driver_t*& driver);

}  // namespace zelvo::audio
