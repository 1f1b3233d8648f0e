#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <string_view>

#include "command_line.h"
#include "console/windows1252.h"
#include "console/work_files.h"
#include "midi/channel_list.h"
#include "midi/timeline.h"
#include "player/player.h"
#include "player/song.h"
#include "player_commands.h"
#include "shell/live_loop.h"

namespace zelvo::app {

namespace {

constexpr const char* kWatchUsage =
    "usage: zelvo watch [--work DIR] [--lang en|es] [--harmonize] [--swap bar|beat|now]\n"
    "                   [--channels LIST] [--port NAME | --synth]\n"
    "\n"
    "Composes the work folder DIR (default: the current directory) now and on\n"
    "every save of incom.htm, prints the job's console, and plays the result\n"
    "in a loop; a new result takes over at the next bar line. When a job fails\n"
    "the last good result plays on. Ctrl-C stops (exit status 130).\n"
    "\n"
    "  --harmonize       compose and harmonize (also on saves of conar.txt,\n"
    "                    inarm.xml and inmus.xml) and play outar.mid\n"
    "  --swap POINT      where a new result takes over: bar (the next bar line,\n"
    "                    the default), beat (the next beat) or now (at once)\n"
    "  --channels LIST   only these MIDI channels sound, as 1,3 or 1-4,10\n"
    "  --port NAME       send to a MIDI port, as for zelvo play\n"
    "  --synth           the built-in synthesizer (the default)\n"
    "  --soundfont FILE  its soundfont\n"
    "\n"
    "The jobs run inside watch and write nothing to the work folder: its\n"
    "outco.* and outar.* stay as the last job run there left them. A save\n"
    "while a job runs stops it and starts again with the newest text.\n";

int watch_usage(const std::string& problem) {
  std::fprintf(stderr, "zelvo watch: %s\n%s", problem.c_str(), kWatchUsage);
  return kExitUsage;
}

struct WatchOptions {
  std::string work = ".";
  std::string language = "en";
  bool harmonize = false;
  player::SwapPoint swap = player::SwapPoint::kBar;
  uint16_t channels = player::kAllChannels;
  OutputChoice output;
};

bool watched(std::string_view name, bool harmonize) {
  if (name == console::kCompositionFile) return true;
  return harmonize && (name == console::kConfigurationText || name == console::kHarmonyFile ||
                       name == console::kMusicFile);
}

// The loop's results, handed from its thread to the command's, which the
// event descriptor wakes.
struct Arrivals {
  std::mutex lock;
  std::deque<shell::LiveResult> results;
  int wake = -1;
};

// The work folder's composition (incom.htc when present, as a job reads),
// and the other inputs from the folder itself.
shell::LiveRequest request_of(const WatchOptions& options) {
  shell::LiveRequest request;
  const std::string folder = options.work + '/';
  std::ifstream in(folder + "incom.htc", std::ios::binary);
  if (!in) in.open(folder + console::kCompositionFile, std::ios::binary);
  request.composition.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  request.composition_given = in.is_open();
  request.inputs_folder = options.work;
  request.harmonize = options.harmonize;
  request.language = options.language == "es" ? console::kSpanish : console::kEnglish;
  return request;
}

const char* swap_words(player::SwapPoint swap) {
  switch (swap) {
    case player::SwapPoint::kBar: return "from the next bar line";
    case player::SwapPoint::kBeat: return "from the next beat";
    case player::SwapPoint::kNow: return "at once";
  }
  return "";
}

// Prints the job's console and swaps its result in.
void show_result(const WatchOptions& options, const shell::LiveResult& result, player::Player& player,
                 bool& have_result) {
  const std::string text = console::to_utf8(result.console_text);
  std::fwrite(text.data(), 1, text.size(), stdout);
  const char* made = options.harmonize ? console::kHarmonyMidi : console::kCompositionMidi;
  midi::Timeline timeline;
  std::string error;
  if (result.outcome == console::JobOutcome::kFinished && midi::read_timeline(result.midi, timeline, error)) {
    player.swap(player::make_song(timeline), options.swap);
    have_result = true;
    std::printf("zelvo watch: playing the new %s %s.\n", made, swap_words(options.swap));
  } else if (have_result) {
    std::printf("zelvo watch: the job did not finish; the last good result plays on.\n");
  } else {
    std::printf("zelvo watch: the job did not finish; nothing to play yet.\n");
  }
  std::fflush(stdout);
}

// Shows every result that came. False when none had.
bool take_results(const WatchOptions& options, Arrivals& arrivals, player::Player& player, bool& have_result) {
  uint64_t count = 0;
  if (read(arrivals.wake, &count, sizeof count) <= 0) return false;
  std::deque<shell::LiveResult> results;
  {
    std::lock_guard<std::mutex> hold(arrivals.lock);
    results.swap(arrivals.results);
  }
  for (const shell::LiveResult& result : results) show_result(options, result, player, have_result);
  return !results.empty();
}

bool read_swap(std::string_view word, player::SwapPoint& swap) {
  if (word == "bar") swap = player::SwapPoint::kBar;
  else if (word == "beat") swap = player::SwapPoint::kBeat;
  else if (word == "now") swap = player::SwapPoint::kNow;
  else return false;
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
    if (arg == "--swap" || arg == "--channels") {
      if (i + 1 >= argc) return watch_usage("missing value after " + std::string(arg));
      const std::string_view value = argv[++i];
      if (arg == "--swap" && !read_swap(value, options.swap)) return watch_usage("--swap takes bar, beat or now");
      if (arg == "--channels" && !midi::read_channel_list(value, options.channels)) {
        return watch_usage("--channels takes MIDI channels from 1 to 16, as 1,3 or 1-4,10");
      }
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
  player.set_channels(options.channels);
  Arrivals arrivals;
  arrivals.wake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  bool have_result = false;
  bool stopped = false;
  {
    // No pause after a save: each one is run at once, and one that comes
    // while a run goes stops it (editors that save in several writes end
    // with the last one's text).
    shell::LiveLoop loop([&arrivals](shell::LiveResult result) {
      {
        std::lock_guard<std::mutex> hold(arrivals.lock);
        arrivals.results.push_back(std::move(result));
      }
      const uint64_t one = 1;
      if (write(arrivals.wake, &one, sizeof one) < 0) std::perror("zelvo watch");
    });
    loop.submit(request_of(options));
    // The first result before anything else is said.
    while (!(stopped = stop_signal_within(0))) {
      pollfd ready{arrivals.wake, POLLIN, 0};
      if (poll(&ready, 1, 50) > 0 && take_results(options, arrivals, player, have_result)) break;
    }
    if (!stopped) {
      std::printf("zelvo watch: waiting for saves in %s (Ctrl-C stops).\n", options.work.c_str());
      std::fflush(stdout);
    }
    alignas(inotify_event) std::array<char, 8192> buffer{};
    while (!stopped && !(stopped = stop_signal_within(0))) {
      std::array<pollfd, 2> ready{pollfd{changes, POLLIN, 0}, pollfd{arrivals.wake, POLLIN, 0}};
      if (poll(ready.data(), ready.size(), 50) <= 0) continue;
      if ((ready[1].revents & POLLIN) != 0) take_results(options, arrivals, player, have_result);
      bool saved = false;
      for (ssize_t size; (size = read(changes, buffer.data(), buffer.size())) > 0;) {
        for (ssize_t at = 0; at < size;) {
          const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
          if (event->len > 0 && watched(event->name, options.harmonize)) saved = true;
          at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
      }
      if (saved) loop.submit(request_of(options));
    }
  }  // the loop stops its run and ends here
  player.stop();
  close(arrivals.wake);
  close(changes);
  return kExitStopped;
}

}  // namespace zelvo::app
