#pragma once

#include <memory>
#include <string>

#include "player/output.h"

namespace zelvo::player {

// The built-in synthesizer (FluidSynth with a General MIDI soundfont)
// playing on the desktop's sound system, as the window's playback does.
// `soundfont` empty picks the installed one. On failure returns null and
// sets `error`.
std::unique_ptr<Output> open_synth_output(const std::string& soundfont, std::string& error);

}  // namespace zelvo::player
