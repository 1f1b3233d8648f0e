#pragma once

#include <memory>
#include <string>

#include "base/status.h"
#include "player/output.h"

namespace zelvo::player {

// The built-in synthesizer (FluidSynth with a General MIDI soundfont)
// playing on the desktop's sound system, as the window's playback does.
// `soundfont` empty picks the installed one.
base::Status open_synth_output(const std::string& soundfont, std::unique_ptr<Output>& opened);

}  // namespace zelvo::player
