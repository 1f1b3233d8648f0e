#pragma once

#include <memory>
#include <string>
#include <vector>

#include "base/status.h"
#include "player/output.h"

// MIDI ports of the ALSA sequencer (through RtMidi) and of JACK (through
// libjack); PipeWire offers both.
namespace zelvo::player {

// The name of the port this program registers for others to connect to.
inline constexpr const char* kOwnPortName = "Zelvo";

enum class PortSystem { kAlsa, kJack };

struct PortList {
  PortSystem system = PortSystem::kAlsa;
  bool running = false;            // false: no sequencer or no server
  std::vector<std::string> ports;  // where this program can send
};

// The ports of the ALSA sequencer, then of JACK.
std::vector<PortList> list_output_ports();

const char* system_name(PortSystem system);

// Opens an output: `name` kOwnPortName registers the program's own port
// (JACK where a server runs, else the ALSA sequencer); any other name
// connects to the first port whose name contains it, ALSA first, as
// `output`; `opened` says what was opened ("JACK port Zelvo", "ALSA port
// FLUID Synth (1234):Synth input port").
base::Status open_port_output(const std::string& name, std::unique_ptr<Output>& output, std::string& opened);

}  // namespace zelvo::player
