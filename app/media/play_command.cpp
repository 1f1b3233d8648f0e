#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "command_help.h"
#include "failure_line.h"
#include "command_line.h"
#include "base/message.h"
#include "usage_output.h"
#include "midi/channel_list.h"
#include "player/player.h"
#include "player/song.h"
#include "player_commands.h"

namespace zelvo::app {

namespace {

int play_usage(int language, UsageProblem problem, std::string_view word = {}) {
  return command_usage_error("zelvo play", "play", language, usage_problem(problem, language, word));
}

bool parse_bar(const char* text, int& bar) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (*text == '\0' || *end != '\0' || value < 1 || value > 1'000'000) return false;
  bar = static_cast<int>(value);
  return true;
}

}  // namespace

int run_play_command(int argc, char** argv) {
  std::string input;
  OutputChoice choice;
  player::PlayRange range;
  uint16_t channels = player::kAllChannels;
  int language = base::kEnglish;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    std::string problem;
    if (take_language_option(argc, argv, i, language, problem)) {
      if (!problem.empty()) return command_usage_error("zelvo play", "play", language, problem);
      continue;
    }
    if (arg == "--help" || arg == "-h") return print_command_usage("play", language);
    if (take_output_option(argc, argv, i, choice, problem, language)) {
      if (!problem.empty()) return command_usage_error("zelvo play", "play", language, problem);
      continue;
    }
    if (arg == "--loop") {
      range.loop = true;
      continue;
    }
    if (arg == "--channels") {
      if (i + 1 >= argc || !midi::read_channel_list(argv[i + 1], channels)) {
        return play_usage(language, UsageProblem::kChannelList);
      }
      ++i;
      continue;
    }
    if (arg == "--from" || arg == "--to") {
      if (i + 1 >= argc || !parse_bar(argv[i + 1], arg == "--from" ? range.from_bar : range.to_bar)) {
        return play_usage(language, UsageProblem::kBarNumber, arg);
      }
      ++i;
      continue;
    }
    if (!input.empty() || (arg.size() > 1 && arg[0] == '-')) {
      return play_usage(language, UsageProblem::kUnexpectedArgument, arg);
    }
    input = arg;
  }
  if (input.empty()) return play_usage(language, UsageProblem::kNoMidiFile);
  if (range.to_bar > 0 && range.to_bar < range.from_bar) return play_usage(language, UsageProblem::kToBeforeFrom);

  player::Song song;
  if (const base::Status loaded = player::load_song(input, song); !loaded.ok()) {
    print_failure("zelvo play", loaded);
    return kExitAborted;
  }
  if (range.from_bar > song.bar_count()) {
    std::fprintf(stderr, "zelvo play: %s has %d bars\n", input.c_str(), song.bar_count());
    return kExitUsage;
  }
  block_stop_signals();
  std::unique_ptr<player::Output> output;
  if (const base::Status opened = open_output(choice, output); !opened.ok()) {
    print_failure("zelvo play", opened);
    return kExitAborted;
  }
  player::Player player(*output);
  player.set_channels(channels);
  player.play(std::move(song), range);
  while (player.playing()) {
    if (stop_signal_within(50)) {
      player.stop();
      return kExitStopped;
    }
  }
  player.stop();
  return kExitFinished;
}

}  // namespace zelvo::app
