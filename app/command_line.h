#pragma once

namespace zelvo::app {

// Exit statuses of the zelvo command.
constexpr int kExitFinished = 0;
constexpr int kExitAborted = 1;
constexpr int kExitUsage = 2;
constexpr int kExitStopped = 130;

// zelvo [--work DIR] [--lang en|es] COMMAND [ARGUMENTS]: the global options
// wherever they stand, then the command (command_help.h lists them).
int run_command_line(int argc, char** argv);

}  // namespace zelvo::app
