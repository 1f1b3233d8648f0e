// The list of commands is what the program answers to: every command in it
// is listed by --help and gives its own usage to help NAME and NAME --help,
// whichever of the two programs runs it.
#include <gtest/gtest.h>

#include <string>

#include "app/cli_runner.h"
#include "app/command_help.h"

namespace zelvo::app {
namespace {

TEST(Help, EveryListedCommandIsListedAndGivesItsUsage) {
  const CliResult general = run_zelvo({"--help"});
  EXPECT_EQ(general.status, 0);
  for (const CommandHelp& command : kCommandHelp) {
    const std::string name(command.name);
    SCOPED_TRACE(name);
    EXPECT_NE(general.output.find("\n  " + name + " "), std::string::npos) << general.output;
    if (name == "help") continue;
    const CliResult help = run_zelvo({"help", name});
    EXPECT_EQ(help.status, 0);
    const std::string usage = "usage: zelvo " + name;
    EXPECT_TRUE(help.output.rfind(usage + " ", 0) == 0 || help.output.rfind(usage + "\n", 0) == 0) << help.output;
    const CliResult own = run_zelvo({"--lang", "es", name, "--work", ".", "--help"});
    EXPECT_EQ(own.status, 0);
    EXPECT_EQ(own.output, help.output);
  }
}

}  // namespace
}  // namespace zelvo::app
