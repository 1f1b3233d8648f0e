#include "player/jack_output.h"

#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace zelvo::player {

namespace {

// Room for a few seconds of dense music between two cycles; a message that
// does not fit is dropped rather than waited for, like a full MIDI cable.
constexpr size_t kRingBytes = 16384;
constexpr size_t kLargestMessage = 3;

// The ring holds each message as one byte of size and its bytes.
class JackOutput : public Output {
 public:
  JackOutput(jack_client_t* client, jack_port_t* port, jack_ringbuffer_t* ring)
      : client_(client), port_(port), ring_(ring) {}

  ~JackOutput() override {
    // What was queued leaves in the next cycles: the last note-offs must
    // go out before the port closes. Then the callback is stopped for good
    // before the ring it reads is freed.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    jack_deactivate(client_);
    jack_client_close(client_);
    jack_ringbuffer_free(ring_);
  }

  void send(const uint8_t* bytes, size_t size) override {
    if (size == 0 || size > kLargestMessage || jack_ringbuffer_write_space(ring_) < size + 1) return;
    const char length = static_cast<char>(size);
    jack_ringbuffer_write(ring_, &length, 1);
    jack_ringbuffer_write(ring_, reinterpret_cast<const char*>(bytes), size);
  }

  // The process callback, on JACK's thread: every queued message at the
  // start of this cycle.
  static int process(jack_nframes_t frames, void* self) {
    auto& output = *static_cast<JackOutput*>(self);
    void* buffer = jack_port_get_buffer(output.port_, frames);
    jack_midi_clear_buffer(buffer);
    char length = 0;
    while (jack_ringbuffer_peek(output.ring_, &length, 1) == 1) {
      const size_t size = static_cast<unsigned char>(length);
      if (jack_ringbuffer_read_space(output.ring_) < size + 1) break;  // the writer is halfway
      jack_ringbuffer_read_advance(output.ring_, 1);
      jack_midi_data_t* event = jack_midi_event_reserve(buffer, 0, size);
      if (event == nullptr) {
        jack_ringbuffer_read_advance(output.ring_, size);  // the cycle's buffer is full
        continue;
      }
      jack_ringbuffer_read(output.ring_, reinterpret_cast<char*>(event), size);
    }
    return 0;
  }

 private:
  jack_client_t* client_;
  jack_port_t* port_;
  jack_ringbuffer_t* ring_;
};

// The first input MIDI port whose name contains `target`, or empty.
std::string find_input_port(jack_client_t* client, const std::string& target) {
  const char** ports = jack_get_ports(client, nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsInput);
  std::string found;
  for (size_t i = 0; ports != nullptr && ports[i] != nullptr && found.empty(); ++i) {
    if (std::strstr(ports[i], target.c_str()) != nullptr) found = ports[i];
  }
  jack_free(ports);
  return found;
}

}  // namespace

base::Status open_jack_output(const std::string& client_name, const std::string& port_name,
                              const std::string& target, std::unique_ptr<Output>& output, std::string& opened) {
  using enum base::MessageId;
  jack_status_t status{};
  jack_client_t* client = jack_client_open(client_name.c_str(), JackNoStartServer, &status);
  if (client == nullptr) return base::Message(kJackNotRunning);
  std::string connect_to;
  if (!target.empty()) {
    connect_to = find_input_port(client, target);
    if (connect_to.empty()) {
      jack_client_close(client);
      return base::Message(kNoPortNamed, target);
    }
  }
  jack_port_t* port = jack_port_register(client, port_name.c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
  jack_ringbuffer_t* ring = port == nullptr ? nullptr : jack_ringbuffer_create(kRingBytes);
  if (ring == nullptr) {
    jack_client_close(client);
    return base::Message(kCannotRegisterPort, port_name);
  }
  // Until it is handed out, the output's destructor closes the client.
  auto made = std::make_unique<JackOutput>(client, port, ring);
  jack_set_process_callback(client, &JackOutput::process, made.get());
  if (jack_activate(client) != 0) return base::Message(kCannotStartJackClient, client_name);
  if (!connect_to.empty() && jack_connect(client, jack_port_name(port), connect_to.c_str()) != 0) {
    return base::Message(kCannotConnectJackPort, connect_to);
  }
  opened = "JACK port " + (connect_to.empty() ? port_name : connect_to);
  output = std::move(made);
  return base::Status();
}

}  // namespace zelvo::player
