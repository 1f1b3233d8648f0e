#pragma once

// For live_bench: a JACK server of the benchmark's own (dummy driver, no
// sound card), an input port that stamps every note-on as it arrives, and
// zelvo watch run beside them with its standard output read line by line
// and stamped.
#include <fcntl.h>
#include <jack/jack.h>
#include <rtmidi/RtMidi.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace zelvo::bench {

using Clock = std::chrono::steady_clock;

inline void quiet_jack(const char*) {}

// A child process; `output`: a pipe end its standard output goes to (-1:
// /dev/null). Ended with SIGINT, then SIGKILL, when dropped.
class Child {
 public:
  Child(std::vector<std::string> words, int output = -1) {
    std::vector<char*> args;
    for (std::string& word : words) args.push_back(word.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output >= 0) {
      posix_spawn_file_actions_adddup2(&actions, output, 1);
    } else {
      posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~Child() {
    if (pid_ <= 0) return;
    kill(pid_, SIGINT);
    for (int i = 0; i < 300; ++i) {
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  bool started() const { return pid_ > 0; }

 private:
  pid_t pid_ = -1;
};

// jackd -d dummy under a name of this process's own, which the programs
// started from here find through JACK_DEFAULT_SERVER.
class JackServer {
 public:
  JackServer() {
    setenv("JACK_DEFAULT_SERVER", ("zelvo-bench-" + std::to_string(getpid())).c_str(), 1);
    jack_set_error_function(&quiet_jack);
    jack_set_info_function(&quiet_jack);
    if (access("/usr/bin/jackd", X_OK) != 0) return;
    server_ = std::make_unique<Child>(std::vector<std::string>{"/usr/bin/jackd", "--no-realtime", "-d", "dummy",
                                                                "-r", "48000", "-p", "128"});
    for (int i = 0; i < 100; ++i) {
      jack_status_t status{};
      if (jack_client_t* probe = jack_client_open("probe", JackNoStartServer, &status)) {
        jack_client_close(probe);
        running_ = true;
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  bool running() const { return running_; }

 private:
  std::unique_ptr<Child> server_;
  bool running_ = false;
};

// "zelvo-bench:in": the arrival time and velocity of every note-on.
class NoteListener {
 public:
  NoteListener() : in_(RtMidi::UNIX_JACK, "zelvo-bench") {
    in_.setCallback(&NoteListener::arrived, this);
    in_.openVirtualPort("in");
  }
  // The first note-on of `velocity` (any, when negative) that arrived after
  // `after`, waiting up to `seconds`.
  bool first_after(Clock::time_point after, int velocity, Clock::time_point& at, int seconds) {
    std::unique_lock<std::mutex> hold(lock_);
    return came_.wait_for(hold, std::chrono::seconds(seconds), [&] {
      for (const auto& [note, its_velocity] : notes_) {
        if (note > after && (velocity < 0 || its_velocity == velocity)) {
          at = note;
          return true;
        }
      }
      return false;
    });
  }

 private:
  static void arrived(double, std::vector<unsigned char>* message, void* self) {
    auto* listener = static_cast<NoteListener*>(self);
    if (message->size() < 3 || ((*message)[0] & 0xF0) != 0x90 || (*message)[2] == 0) return;
    std::lock_guard<std::mutex> hold(listener->lock_);
    listener->notes_.push_back({Clock::now(), (*message)[2]});
    listener->came_.notify_all();
  }
  std::mutex lock_;
  std::condition_variable came_;
  std::vector<std::pair<Clock::time_point, int>> notes_;
  RtMidiIn in_;
};

// The lines a program writes, each stamped when read.
class LineReader {
 public:
  LineReader() {
    if (pipe2(ends_, O_CLOEXEC) != 0) ends_[0] = ends_[1] = -1;
  }
  ~LineReader() {
    if (ends_[1] >= 0) close(ends_[1]);
    if (reader_.joinable()) reader_.join();
    if (ends_[0] >= 0) close(ends_[0]);
  }
  int write_end() const { return ends_[1]; }
  // Once the program holds the write end: reads until it closes.
  void start() {
    close(ends_[1]);
    ends_[1] = -1;
    reader_ = std::thread([this] {
      std::string line;
      char c = 0;
      while (read(ends_[0], &c, 1) == 1) {
        if (c != '\n') {
          line += c;
          continue;
        }
        std::lock_guard<std::mutex> hold(lock_);
        lines_.push_back({Clock::now(), line});
        line.clear();
        came_.notify_all();
      }
    });
  }
  // The time of the `count`-th line holding `text`, waiting up to `seconds`.
  bool nth(const std::string& text, size_t count, Clock::time_point& at, int seconds) {
    std::unique_lock<std::mutex> hold(lock_);
    return came_.wait_for(hold, std::chrono::seconds(seconds), [&] {
      size_t seen = 0;
      for (const auto& [when, line] : lines_) {
        if (line.find(text) != std::string::npos && ++seen == count) {
          at = when;
          return true;
        }
      }
      return false;
    });
  }

 private:
  int ends_[2] = {-1, -1};
  std::thread reader_;
  std::mutex lock_;
  std::condition_variable came_;
  std::vector<std::pair<Clock::time_point, std::string>> lines_;
};

}  // namespace zelvo::bench
