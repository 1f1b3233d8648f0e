#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "command_line.h"
#include "midi/channel_list.h"
#include "player/player.h"
#include "player/song.h"
#include "player_commands.h"

namespace zelvo::app {

namespace {

constexpr const char* kPlayUsage =
    "usage: zelvo play FILE.mid [--port NAME | --synth] [--loop] [--from BAR] [--to BAR]\n"
    "                  [--channels LIST]\n"
    "\n"
    "Plays a MIDI file in real time. Ctrl-C stops it, with every note released\n"
    "(exit status 130).\n"
    "\n"
    "  --port NAME       send to the MIDI port whose name contains NAME (zelvo\n"
    "                    ports lists them); --port Zelvo registers a port named\n"
    "                    Zelvo for a synthesizer or DAW to connect to\n"
    "  --synth           the built-in synthesizer (the default)\n"
    "  --soundfont FILE  its soundfont (default as for zelvo render)\n"
    "  --loop            play the bars again and again until Ctrl-C\n"
    "  --from BAR        start at bar BAR (from 1)\n"
    "  --to BAR          end with bar BAR\n"
    "  --channels LIST   only these MIDI channels sound, as 1,3 or 1-4,10\n";

int play_usage(const std::string& problem) {
  std::fprintf(stderr, "zelvo play: %s\n%s", problem.c_str(), kPlayUsage);
  return kExitUsage;
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
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    std::string problem;
    if (arg == "--help" || arg == "-h") {
      std::fputs(kPlayUsage, stdout);
      return kExitFinished;
    }
    if (take_output_option(argc, argv, i, choice, problem)) {
      if (!problem.empty()) return play_usage(problem);
      continue;
    }
    if (arg == "--loop") {
      range.loop = true;
      continue;
    }
    if (arg == "--channels") {
      if (i + 1 >= argc || !midi::read_channel_list(argv[i + 1], channels)) {
        return play_usage("--channels takes MIDI channels from 1 to 16, as 1,3 or 1-4,10");
      }
      ++i;
      continue;
    }
    if (arg == "--from" || arg == "--to") {
      if (i + 1 >= argc || !parse_bar(argv[i + 1], arg == "--from" ? range.from_bar : range.to_bar)) {
        return play_usage(std::string(arg) + " takes a bar number from 1");
      }
      ++i;
      continue;
    }
    if (!input.empty() || (arg.size() > 1 && arg[0] == '-')) {
      return play_usage("unexpected argument " + std::string(arg));
    }
    input = arg;
  }
  if (input.empty()) return play_usage("no MIDI file given");
  if (range.to_bar > 0 && range.to_bar < range.from_bar) return play_usage("--to comes before --from");

  player::Song song;
  std::string error;
  if (!player::load_song(input, song, error)) {
    std::fprintf(stderr, "zelvo play: %s\n", error.c_str());
    return kExitAborted;
  }
  if (range.from_bar > song.bar_count()) {
    std::fprintf(stderr, "zelvo play: %s has %d bars\n", input.c_str(), song.bar_count());
    return kExitUsage;
  }
  block_stop_signals();
  std::unique_ptr<player::Output> output = open_output(choice, error);
  if (output == nullptr) {
    std::fprintf(stderr, "zelvo play: %s\n", error.c_str());
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
