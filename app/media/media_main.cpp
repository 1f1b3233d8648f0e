#include <csignal>
#include <cstdio>
#include <string_view>

#include "command_line.h"
#include "media_commands.h"
#include "player_commands.h"

namespace {

struct MediaCommand {
  std::string_view name;
  int (*run)(int argc, char** argv);
};

// One entry per name of kMediaCommands.
constexpr MediaCommand kCommands[] = {
    {"render", zelvo::app::run_render_command},
    {"roll", zelvo::app::run_roll_command},
    {"ports", zelvo::app::run_ports_command},
    {"play", zelvo::app::run_play_command},
    {"watch", zelvo::app::run_watch_command},
};

}  // namespace

// zelvo-media COMMAND ARGS...: what `zelvo COMMAND ARGS...` runs for the
// commands that draw or sound.
int main(int argc, char** argv) {
  std::signal(SIGXFSZ, SIG_IGN);
  if (argc >= 2) {
    for (const MediaCommand& command : kCommands) {
      if (command.name == argv[1]) return command.run(argc - 1, argv + 1);
    }
  }
  std::fprintf(stderr, "zelvo: %s is not a command that draws or sounds\n", argc >= 2 ? argv[1] : "nothing");
  return zelvo::app::kExitUsage;
}
