#include <signal.h>
#include <time.h>

#include <cstdio>
#include <string_view>

#include "command_help.h"
#include "command_line.h"
#include "base/message.h"
#include "usage_output.h"
#include "player/midi_port.h"
#include "player/synth_output.h"
#include "player_commands.h"

namespace zelvo::app {

int run_ports_command(int argc, char** argv) {
  int language = base::kEnglish;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    std::string problem;
    if (take_language_option(argc, argv, i, language, problem)) {
      if (!problem.empty()) return command_usage_error("zelvo ports", "ports", language, problem);
      continue;
    }
    if (arg == "--help" || arg == "-h") return print_command_usage("ports", language);
    return command_usage_error("zelvo ports", "ports", language,
                               usage_problem(UsageProblem::kUnexpectedArgument, language, arg));
  }
  for (const player::PortList& list : player::list_output_ports()) {
    const char* system = player::system_name(list.system);
    if (!list.running) {
      std::printf("%s\n", list.system == player::PortSystem::kAlsa ? "ALSA: no sequencer (/dev/snd/seq)"
                                                                 : "JACK: no server running");
      continue;
    }
    std::printf("%s:%s\n", system, list.ports.empty() ? " no ports" : "");
    for (const std::string& port : list.ports) std::printf("  %s\n", port.c_str());
  }
  return kExitFinished;
}

bool take_output_option(int argc, char** argv, int& i, OutputChoice& choice, std::string& problem, int language) {
  const std::string_view arg = argv[i];
  if (arg == "--synth") {
    choice.port.clear();
    return true;
  }
  if (arg != "--port" && arg != "--soundfont") return false;
  if (i + 1 >= argc || argv[i + 1][0] == '\0') {
    problem = usage_problem(UsageProblem::kMissingValue, language, arg);
    return true;
  }
  (arg == "--port" ? choice.port : choice.soundfont) = argv[++i];
  return true;
}

base::Status open_output(const OutputChoice& choice, std::unique_ptr<player::Output>& output) {
  std::string opened;
  base::Status status = player::open_output(choice, output, opened);
  if (!status.ok()) return status;
  if (choice.port.empty()) {
    std::printf("Playing through the built-in synthesizer.\n");
    return status;
  }
  std::printf("Playing into %s.\n", opened.c_str());
  if (choice.port == player::kOwnPortName) {
    std::printf("Connect your synthesizer's or DAW's MIDI input to it.\n");
  }
  std::fflush(stdout);
  return status;
}

void block_stop_signals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

bool stop_signal_within(int milliseconds) {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  const timespec wait{milliseconds / 1000, (milliseconds % 1000) * 1'000'000L};
  const int signal = sigtimedwait(&set, nullptr, &wait);
  return signal == SIGINT || signal == SIGTERM;
}

}  // namespace zelvo::app
