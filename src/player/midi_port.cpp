#include "player/midi_port.h"

#include <jack/jack.h>
#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <vector>

#include "player/jack_output.h"

namespace zelvo::player {

namespace {

constexpr const char* kClientName = "Zelvo";

// RtMidi reports trouble through a callback (it would print otherwise); the
// last message is kept for the caller's own words.
void keep_error(RtMidiError::Type, const std::string& text, void* user) {
  *static_cast<std::string*>(user) = text;
}

RtMidi::Api api_of(PortSystem system) {
  return system == PortSystem::kAlsa ? RtMidi::LINUX_ALSA : RtMidi::UNIX_JACK;
}

// An ALSA sequencer port: RtMidi sends each event at once.
class AlsaOutput : public Output {
 public:
  explicit AlsaOutput(std::unique_ptr<RtMidiOut> out, std::unique_ptr<std::string> errors)
      : out_(std::move(out)), errors_(std::move(errors)) {}
  void send(const uint8_t* bytes, size_t size) override {
    try {
      out_->sendMessage(bytes, size);
    } catch (const RtMidiError&) {
      // A port that went away: the song plays on into nothing.
    }
  }

 private:
  std::unique_ptr<RtMidiOut> out_;
  std::unique_ptr<std::string> errors_;  // outlives out_'s callback
};

void quiet(const char*) {}

// Asked first, so that the libraries do not print their own complaints
// when there is no sequencer or server (and no JACK server gets started).
bool system_running(PortSystem system) {
  if (system == PortSystem::kAlsa) return access("/dev/snd/seq", R_OK | W_OK) == 0;
  jack_set_error_function(&quiet);
  jack_set_info_function(&quiet);
  jack_status_t status{};
  jack_client_t* probe = jack_client_open("Zelvo", JackNoStartServer, &status);
  if (probe == nullptr) return false;
  jack_client_close(probe);
  return true;
}

// An output client of `system`, or null when the system does not run.
std::unique_ptr<RtMidiOut> client(PortSystem system, std::string& errors) {
  if (!system_running(system)) return nullptr;
  try {
    auto out = std::make_unique<RtMidiOut>(api_of(system), kClientName);
    out->setErrorCallback(&keep_error, &errors);
    if (system == PortSystem::kJack) {
      errors.clear();
      out->getPortCount();  // connects to the server, or fails
      if (!errors.empty()) return nullptr;
    }
    return out;
  } catch (const RtMidiError& error) {
    errors = error.getMessage();
    return nullptr;
  }
}

}  // namespace

const char* system_name(PortSystem system) { return system == PortSystem::kAlsa ? "ALSA" : "JACK"; }

std::vector<PortList> list_output_ports() {
  std::vector<PortList> lists;
  for (PortSystem system : {PortSystem::kAlsa, PortSystem::kJack}) {
    PortList list;
    list.system = system;
    std::string errors;
    std::unique_ptr<RtMidiOut> out = client(system, errors);
    list.running = out != nullptr;
    if (out != nullptr) {
      const unsigned count = out->getPortCount();
      for (unsigned i = 0; i < count; ++i) list.ports.push_back(out->getPortName(i));
    }
    lists.push_back(std::move(list));
  }
  return lists;
}

base::Status open_port_output(const std::string& name, std::unique_ptr<Output>& output, std::string& opened) {
  const bool own = name == kOwnPortName;
  // Our own port goes where a DAW most likely is: JACK when it runs.
  const PortSystem order[2] = {own ? PortSystem::kJack : PortSystem::kAlsa,
                               own ? PortSystem::kAlsa : PortSystem::kJack};
  bool any_running = false;
  for (PortSystem system : order) {
    if (system == PortSystem::kJack) {
      if (!system_running(system)) continue;
      any_running = true;
      // A JACK port that cannot be had leaves the ALSA sequencer to try.
      if (open_jack_output(kClientName, kOwnPortName, own ? std::string() : name, output, opened).ok()) {
        return base::Status();
      }
      continue;
    }
    auto errors = std::make_unique<std::string>();
    std::unique_ptr<RtMidiOut> out = client(system, *errors);
    if (out == nullptr) continue;
    any_running = true;
    errors->clear();
    if (own) {
      out->openVirtualPort(kOwnPortName);
      if (!errors->empty()) continue;
      opened = std::string(system_name(system)) + " port " + kOwnPortName;
      output = std::make_unique<AlsaOutput>(std::move(out), std::move(errors));
      return base::Status();
    }
    const unsigned count = out->getPortCount();
    for (unsigned i = 0; i < count; ++i) {
      const std::string port = out->getPortName(i);
      if (port.find(name) == std::string::npos) continue;
      out->openPort(i, kOwnPortName);
      if (!errors->empty()) break;
      opened = std::string(system_name(system)) + " port " + port;
      output = std::make_unique<AlsaOutput>(std::move(out), std::move(errors));
      return base::Status();
    }
  }
  if (!any_running) return base::Message(base::MessageId::kNoPortSystem);
  if (own) return base::Message(base::MessageId::kCannotRegisterPort, kOwnPortName);
  return base::Message(base::MessageId::kNoPortNamed, name);
}

}  // namespace zelvo::player
