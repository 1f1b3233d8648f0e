#include "player/output_choice.h"

#include "player/midi_port.h"
#include "player/synth_output.h"

namespace zelvo::player {

base::Status open_output(const OutputChoice& choice, std::unique_ptr<Output>& output, std::string& opened) {
  opened.clear();
  if (choice.port.empty()) return open_synth_output(choice.soundfont, output);
  return open_port_output(choice.port, output, opened);
}

}  // namespace zelvo::player
