#pragma once

#include <memory>
#include <string>

#include "base/status.h"
#include "player/output.h"

namespace zelvo::player {

// A JACK client of this program's own, with one MIDI output port named
// `port_name`. It is written on libjack directly, not through RtMidi: the
// JACK output of RtMidi 5 frees its ring buffer while the client's process
// callback may still be reading it, and a player stopped in the middle of
// a song then crashed now and then. This client is deactivated before
// anything the callback reads is freed.
//
// `target` empty: the port waits for others to connect to it. Otherwise it
// connects to the first input port whose name contains `target`. Fails
// when no server runs, no port has that name, or the port cannot be made.
// `opened` gets the port's name as the user should read it.
base::Status open_jack_output(const std::string& client_name, const std::string& port_name,
                              const std::string& target, std::unique_ptr<Output>& output, std::string& opened);

}  // namespace zelvo::player
