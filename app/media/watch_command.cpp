#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>

#include "command_help.h"
#include "failure_line.h"
#include "command_line.h"
#include "base/message.h"
#include "usage_output.h"
#include "base/windows1252.h"
#include "base/work_files.h"
#include "files/whole_file.h"
#include "files/first_present.h"
#include "midi/channel_list.h"
#include "midi/timeline.h"
#include "player/player.h"
#include "player/song.h"
#include "player_commands.h"
#include "shell/live_loop.h"

namespace zelvo::app {

namespace {

int watch_usage(int language, const std::string& problem) {
  return command_usage_error("zelvo watch", "watch", language, problem);
}

struct WatchOptions {
  std::string work = ".";
  int language = base::kEnglish;
  bool harmonize = false;
  player::SwapPoint swap = player::SwapPoint::kBar;
  uint16_t channels = player::kAllChannels;
  OutputChoice output;
};

bool watched(std::string_view name, bool harmonize) {
  if (name == base::kCompositionFile) return true;
  return harmonize && (name == base::kConfigurationText || name == base::kHarmonyFile ||
                       name == base::kMusicFile);
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
  const char* name = files::name_to_read(options.work, base::kCompositionFiles, files::Presence::kOpens);
  request.composition_given = files::read_whole(base::work_path(options.work, name), request.composition);
  request.inputs_folder = options.work;
  request.harmonize = options.harmonize;
  request.language = options.language;
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
  const std::string text = base::to_utf8(result.console_text);
  std::fwrite(text.data(), 1, text.size(), stdout);
  const char* made = options.harmonize ? base::kHarmonyMidi : base::kCompositionMidi;
  midi::Timeline timeline;
  if (result.outcome == console::JobOutcome::kFinished && midi::read_timeline(result.midi, timeline).ok()) {
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
    const int language = options.language;
    if (take_language_option(argc, argv, i, options.language, problem)) {
      if (!problem.empty()) return watch_usage(options.language, problem);
      continue;
    }
    if (arg == "--help" || arg == "-h") return print_command_usage("watch", language);
    if (take_output_option(argc, argv, i, options.output, problem, language)) {
      if (!problem.empty()) return watch_usage(language, problem);
      continue;
    }
    if (arg == "--harmonize") {
      options.harmonize = true;
      continue;
    }
    if (arg == "--swap" || arg == "--channels") {
      if (i + 1 >= argc) return watch_usage(language, usage_problem(UsageProblem::kMissingValue, language, arg));
      const std::string_view value = argv[++i];
      if (arg == "--swap" && !read_swap(value, options.swap)) {
        return watch_usage(language, usage_problem(UsageProblem::kSwapPoint, language));
      }
      if (arg == "--channels" && !midi::read_channel_list(value, options.channels)) {
        return watch_usage(language, usage_problem(UsageProblem::kChannelList, language));
      }
      continue;
    }
    if (arg == "--work") {
      if (i + 1 >= argc) return watch_usage(language, usage_problem(UsageProblem::kMissingValue, language, arg));
      options.work = argv[++i];
      continue;
    }
    return watch_usage(language, usage_problem(UsageProblem::kUnexpectedArgument, language, arg));
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
  std::unique_ptr<player::Output> output;
  if (const base::Status opened = open_output(options.output, output); !opened.ok()) {
    print_failure("zelvo watch", opened);
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
