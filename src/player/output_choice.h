#pragma once

#include <memory>
#include <string>

#include "player/output.h"

namespace zelvo::player {

// Where the sound goes: a MIDI port by name, or the built-in synthesizer.
struct OutputChoice {
  std::string port;       // empty: the built-in synthesizer
  std::string soundfont;  // empty: the installed one
};

// Opens the chosen output; `opened` names the port opened (empty for the
// synthesizer). On failure returns null and sets `error`.
std::unique_ptr<Output> open_output(const OutputChoice& choice, std::string& opened, std::string& error);

}  // namespace zelvo::player
