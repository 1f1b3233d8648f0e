#pragma once

// A JACK server of the test's own (dummy driver, no sound card), a MIDI
// input client that records what reaches it, and zelvo run beside them.
#include <fcntl.h>
#include <jack/jack.h>
#include <rtmidi/RtMidi.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "recording_output.h"
#include "support/files.h"

extern char** environ;

namespace zelvo::player {

// The demo copied into `folder`, its tempo raised from 96 to 384 so that a
// test plays its sixteen bars (of 625 ms) in ten seconds.
inline void copy_fast_demo(const std::string& folder) {
  std::filesystem::copy(ZELVO_SOURCE_DIR "/examples/demo", folder, std::filesystem::copy_options::recursive);
  std::string page = test::read_file(folder + "/incom.htm");
  page.replace(page.find("<td>96</td>"), 11, "<td>384</td>");
  test::write_file(folder + "/incom.htm", page);
}

// A child process, its standard output in a file; stopped at the end.
class Child {
 public:
  Child(std::vector<std::string> words, const std::string& output_file) {
    std::vector<char*> args;
    for (std::string& word : words) args.push_back(word.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~Child() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  void signal(int number) { kill(pid_, number); }
  // The exit status, or -1 when it did not end within `seconds`.
  int wait(int seconds) {
    for (int i = 0; i < seconds * 100; ++i) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
  }

 private:
  pid_t pid_ = -1;
};

inline void quiet_jack(const char*) {}

class JackServer {
 public:
  // Synchronous, so that a cycle late on a busy machine waits for the
  // clients instead of dropping their MIDI.
  // Names the server after this process, so that parallel tests and other
  // users' servers do not meet; zelvo run from here finds it by the name.
  explicit JackServer(const std::string& period = "128") {
    const std::string name = "zelvo-test-" + std::to_string(getpid());
    setenv("JACK_DEFAULT_SERVER", name.c_str(), 1);
    jack_set_error_function(&quiet_jack);
    jack_set_info_function(&quiet_jack);
    if (access("/usr/bin/jackd", X_OK) != 0) {
      why_not_ = "jackd is not installed (Debian package jackd2)";
      return;
    }
    server_ = std::make_unique<Child>(
        std::vector<std::string>{"/usr/bin/jackd", "--no-realtime", "--sync", "-d", "dummy", "-r", "48000", "-p", period},
        "/dev/null");
    for (int i = 0; i < 100; ++i) {
      jack_status_t status{};
      if (jack_client_t* probe = jack_client_open("probe", JackNoStartServer, &status)) {
        jack_client_close(probe);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    why_not_ = "jackd -d dummy did not start";
    server_.reset();
  }
  ~JackServer() {
    if (server_ != nullptr) {
      server_->signal(SIGTERM);
      server_->wait(5);
    }
  }
  bool running() const { return why_not_.empty(); }
  const std::string& why_not() const { return why_not_; }

 private:
  std::unique_ptr<Child> server_;
  std::string why_not_;
};

// A MIDI input port "zelvo-check:in" (on JACK unless told) recording what
// comes in.
class Listener {
 public:
  explicit Listener(RtMidi::Api api = RtMidi::UNIX_JACK) : in_(api, "zelvo-check") {
    in_.ignoreTypes(false, false, false);
    in_.setCallback(&Listener::arrived, this);
    in_.openVirtualPort("in");
  }
  std::vector<Received> received() const { return output_.received(); }
  std::vector<Received> notes() const {
    std::vector<Received> notes;
    for (const Received& message : output_.received()) {
      if (message.note_on() || message.note_off()) notes.push_back(message);
    }
    return notes;
  }
  // Waits until `count` notes have come, for up to `seconds`.
  bool wait_for_notes(size_t count, int seconds) const {
    for (int i = 0; i < seconds * 100 && notes().size() < count; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return notes().size() >= count;
  }

 private:
  static void arrived(double, std::vector<unsigned char>* message, void* self) {
    static_cast<Listener*>(self)->output_.send(message->data(), message->size());
  }
  RtMidiIn in_;
  RecordingOutput output_;
};

}  // namespace zelvo::player
