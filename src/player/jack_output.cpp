#include "player/jack_output.h"

#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

namespace zelvo::player {

namespace {

// Room for a few seconds of dense music between two cycles; a message that
// does not fit is dropped rather than waited for, like a full MIDI cable.
constexpr size_t kRingBytes = 16384;
constexpr size_t kLargestMessage = 3;
// The longest wait for the server's cycles, when closing or connecting.
constexpr std::chrono::seconds kLongestWait{2};

// The ring holds each message as one byte of size and its bytes.
class JackOutput : public Output {
 public:
  JackOutput(jack_client_t* client, jack_port_t* port, jack_ringbuffer_t* ring)
      : client_(client), port_(port), ring_(ring) {}

  ~JackOutput() override {
    // What was queued must go out before the port closes, the last
    // note-offs above all. A fixed pause is not enough on a busy machine:
    // the ring is waited for until it is empty, then two more cycles, so
    // that the cycle that took its last message has ended and the clients
    // after us have read it. Then the callback is stopped for good before
    // the ring it reads is freed.
    if (sent_.load()) {
      wait_until([this] { return jack_ringbuffer_read_space(ring_) == 0; });
      wait_cycles(2);
    }
    jack_deactivate(client_);
    jack_client_close(client_);
    jack_ringbuffer_free(ring_);
  }

  // Waits until `count` more cycles have ended.
  void wait_cycles(uint64_t count) const {
    const uint64_t until = cycles_.load(std::memory_order_acquire) + count;
    wait_until([this, until] { return cycles_.load(std::memory_order_acquire) >= until; });
  }

  void send(const uint8_t* bytes, size_t size) override {
    if (size == 0 || size > kLargestMessage || jack_ringbuffer_write_space(ring_) < size + 1) return;
    const char length = static_cast<char>(size);
    jack_ringbuffer_write(ring_, &length, 1);
    jack_ringbuffer_write(ring_, reinterpret_cast<const char*>(bytes), size);
    sent_.store(true);
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
    output.cycles_.fetch_add(1, std::memory_order_release);
    return 0;
  }

 private:
  jack_client_t* client_;
  jack_port_t* port_;
  // Polls `done` until it holds; a server that stopped running is not
  // waited for longer than kLongestWait.
  template <typename Done>
  static void wait_until(Done done) {
    const auto give_up = std::chrono::steady_clock::now() + kLongestWait;
    while (!done() && std::chrono::steady_clock::now() < give_up) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }

  jack_ringbuffer_t* ring_;
  std::atomic<uint64_t> cycles_{0};  // process calls ended
  std::atomic<bool> sent_{false};     // anything queued: else nothing to wait for
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
  if (!connect_to.empty()) {
    if (jack_connect(client, jack_port_name(port), connect_to.c_str()) != 0) {
      return base::Message(kCannotConnectJackPort, connect_to);
    }
    // The connection carries messages from the cycle after the server takes
    // it in: sent sooner, they would go nowhere.
    made->wait_cycles(2);
  }
  opened = "JACK port " + (connect_to.empty() ? port_name : connect_to);
  output = std::move(made);
  return base::Status();
}

}  // namespace zelvo::player
