#include <poll.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "command_line.h"
#include "console/work_files.h"
#include "player/player.h"
#include "player/song.h"
#include "player_commands.h"
#include "sibling_program.h"
#include "files/paths.h"

extern char** environ;

namespace zelvo::app {

namespace {

constexpr const char* kWatchUsage =
    "usage: zelvo watch [--work DIR] [--lang en|es] [--harmonize] [--port NAME | --synth]\n"
    "\n"
    "Composes the work folder DIR (default: the current directory) now and on\n"
    "every save of incom.htm, prints the job's console, and plays the result\n"
    "in a loop; a new result takes over at the next bar line. When a job fails\n"
    "the last good result plays on. Ctrl-C stops (exit status 130).\n"
    "\n"
    "  --harmonize       compose and harmonize (also on saves of conar.txt,\n"
    "                    inarm.xml and inmus.xml) and play outar.mid\n"
    "  --port NAME       send to a MIDI port, as for zelvo play\n"
    "  --synth           the built-in synthesizer (the default)\n"
    "  --soundfont FILE  its soundfont\n";

// An editor's save may come as several writes, or as a new file renamed
// over the old one: the changes of this long are taken as one save.
constexpr int kSettleMilliseconds = 100;

int watch_usage(const std::string& problem) {
  std::fprintf(stderr, "zelvo watch: %s\n%s", problem.c_str(), kWatchUsage);
  return kExitUsage;
}

struct WatchOptions {
  std::string work = ".";
  std::string language = "en";
  bool harmonize = false;
  OutputChoice output;
};

bool watched(std::string_view name, bool harmonize) {
  if (name == console::kCompositionFile) return true;
  return harmonize && (name == console::kConfigurationText || name == console::kHarmonyFile ||
                       name == console::kMusicFile);
}

// Runs the job as a zelvo process of its own in the work folder: its
// console goes straight to ours, and the job sees the folder as any job
// does. Returns the exit status, or -1 when stopped by SIGINT/SIGTERM.
int run_job(const WatchOptions& options) {
  const std::string self = sibling_program("zelvo");
  std::vector<std::string> words = {"zelvo", "--lang", options.language, "--work", options.work,
                                    options.harmonize ? "all" : "compose"};
  std::vector<char*> args;
  for (std::string& word : words) args.push_back(word.data());
  args.push_back(nullptr);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  std::fflush(stdout);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, self.c_str(), nullptr, &attributes, args.data(), environ);
  posix_spawnattr_destroy(&attributes);
  if (spawned != 0) return kExitAborted;
  int status = 0;
  for (;;) {
    const pid_t done = waitpid(child, &status, WNOHANG);
    if (done == child) break;
    if (stop_signal_within(20)) {
      kill(child, SIGINT);
      waitpid(child, &status, 0);
      return -1;
    }
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : kExitAborted;
}

// Composes (and harmonizes) and swaps the result in. False when stopped.
bool job_and_swap(const WatchOptions& options, player::Player& player, bool& have_result) {
  const int status = run_job(options);
  if (status < 0) return false;
  const std::string result =
      files::join_path(options.work, options.harmonize ? console::kHarmonyMidi : console::kCompositionMidi);
  player::Song song;
  std::string error;
  if (status == kExitFinished && player::load_song(result, song, error)) {
    player.swap_at_next_bar(std::move(song));
    have_result = true;
    std::printf("zelvo watch: playing the new %s from the next bar line.\n", result.c_str());
  } else if (have_result) {
    std::printf("zelvo watch: the job did not finish; the last good result plays on.\n");
  } else {
    std::printf("zelvo watch: the job did not finish; nothing to play yet.\n");
  }
  std::fflush(stdout);
  return true;
}

}  // namespace

int run_watch_command(int argc, char** argv) {
  WatchOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    std::string problem;
    if (arg == "--help" || arg == "-h") {
      std::fputs(kWatchUsage, stdout);
      return kExitFinished;
    }
    if (take_output_option(argc, argv, i, options.output, problem)) {
      if (!problem.empty()) return watch_usage(problem);
      continue;
    }
    if (arg == "--harmonize") {
      options.harmonize = true;
      continue;
    }
    if (arg == "--work" || arg == "--lang") {
      if (i + 1 >= argc) return watch_usage("missing value after " + std::string(arg));
      (arg == "--work" ? options.work : options.language) = argv[++i];
      if (arg == "--lang" && options.language != "en" && options.language != "es") {
        return watch_usage("--lang takes en or es");
      }
      continue;
    }
    return watch_usage("unexpected argument " + std::string(arg));
  }
  struct stat folder {};
  if (stat(options.work.c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)) {
    std::fprintf(stderr, "zelvo watch: cannot use work folder %s\n", options.work.c_str());
    return kExitUsage;
  }
  block_stop_signals();
  // Watching the folder, not the files: a save by rename replaces the file.
  const int changes = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (changes < 0 || inotify_add_watch(changes, options.work.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO) < 0) {
    std::fprintf(stderr, "zelvo watch: cannot watch %s: %s\n", options.work.c_str(), std::strerror(errno));
    return kExitAborted;
  }
  std::string error;
  std::unique_ptr<player::Output> output = open_output(options.output, error);
  if (output == nullptr) {
    std::fprintf(stderr, "zelvo watch: %s\n", error.c_str());
    close(changes);
    return kExitAborted;
  }
  player::Player player(*output);
  player.set_loop(true);
  bool have_result = false;
  bool running = job_and_swap(options, player, have_result);
  std::printf("zelvo watch: waiting for saves in %s (Ctrl-C stops).\n", options.work.c_str());
  std::fflush(stdout);
  alignas(inotify_event) std::array<char, 8192> buffer{};
  while (running) {
    pollfd ready{changes, POLLIN, 0};
    if (stop_signal_within(0)) break;
    if (poll(&ready, 1, 50) <= 0) continue;
    bool saved = false;
    // Drain, then wait for the save to settle and drain again.
    for (int pass = 0; pass < 2; ++pass) {
      for (ssize_t size; (size = read(changes, buffer.data(), buffer.size())) > 0;) {
        for (ssize_t at = 0; at < size;) {
          const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
          if (event->len > 0 && watched(event->name, options.harmonize)) saved = true;
          at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
      }
      if (pass == 0 && saved) poll(nullptr, 0, kSettleMilliseconds);
    }
    if (saved) running = job_and_swap(options, player, have_result);
  }
  player.stop();
  close(changes);
  return kExitStopped;
}

}  // namespace zelvo::app
