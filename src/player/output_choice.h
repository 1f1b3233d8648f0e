#pragma once

#include <memory>
#include <string>

#include "base/status.h"
#include "player/output.h"

namespace zelvo::player {

// Where the sound goes: a MIDI port by name, or the built-in synthesizer.
struct OutputChoice {
  std::string port;       // empty: the built-in synthesizer
  std::string soundfont;  // empty: the installed one
};

// Opens the chosen output as `output`; `opened` names the port opened
// (empty for the synthesizer).
base::Status open_output(const OutputChoice& choice, std::unique_ptr<Output>& output, std::string& opened);

}  // namespace zelvo::player
