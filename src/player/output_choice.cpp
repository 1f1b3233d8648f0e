#include "player/output_choice.h"

#include "player/midi_port.h"
#include "player/synth_output.h"

namespace zelvo::player {

std::unique_ptr<Output> open_output(const OutputChoice& choice, std::string& opened, std::string& error) {
  opened.clear();
  if (choice.port.empty()) return open_synth_output(choice.soundfont, error);
  return open_port_output(choice.port, opened, error);
}

}  // namespace zelvo::player
