// The list of commands is what the program answers to: every command in it
// is listed by --help and gives its own usage to help NAME and NAME --help,
// whichever of the two programs runs it, in English and in Spanish.
#include <gtest/gtest.h>

#include <string>

#include "app/cli_runner.h"
#include "app/command_help.h"
#include "base/message.h"
#include "base/windows1252.h"

namespace zelvo::app {
namespace {

std::string usage_as_printed(const std::string& name, int language) {
  return base::to_utf8(command_usage(name, language));
}

TEST(Help, EveryListedCommandIsListedAndGivesItsUsage) {
  const CliResult general = run_zelvo({"--help"});
  EXPECT_EQ(general.status, 0);
  const CliResult spanish = run_zelvo({"--help", "--lang", "es"});
  EXPECT_EQ(spanish.output, usage_as_printed("help", base::kSpanish));
  for (const CommandHelp& command : kCommandHelp) {
    const std::string name(command.name);
    SCOPED_TRACE(name);
    EXPECT_NE(general.output.find("\n  " + name + " "), std::string::npos) << general.output;
    EXPECT_NE(spanish.output.find("\n  " + name + " "), std::string::npos) << spanish.output;
    if (name == "help") continue;
    const CliResult help = run_zelvo({"help", name});
    EXPECT_EQ(help.status, 0);
    const std::string usage = "usage: zelvo " + name;
    EXPECT_TRUE(help.output.rfind(usage + " ", 0) == 0 || help.output.rfind(usage + "\n", 0) == 0) << help.output;
    // What the command's own reader prints is the catalogue's English.
    EXPECT_EQ(help.output, usage_as_printed(name, base::kEnglish));
    const CliResult own = run_zelvo({"--lang", "es", name, "--work", ".", "--help"});
    EXPECT_EQ(own.status, 0);
    EXPECT_EQ(own.output, usage_as_printed(name, base::kSpanish));
    EXPECT_EQ(own.output, run_zelvo({"help", name, "--lang", "es"}).output);
  }
}

// Every text has its Spanish, told apart from the English, taking the same
// word where the English does.
TEST(Help, EveryTextHasItsSpanish) {
  for (const CommandHelp& command : kCommandHelp) {
    const std::string name(command.name);
    SCOPED_TRACE(name);
    EXPECT_FALSE(command.summary.spanish.empty());
    EXPECT_NE(command.summary.spanish, command.summary.english);
    EXPECT_EQ(command.usage.english.empty(), command.usage.spanish.empty());
    const std::string spanish = command_usage(name, base::kSpanish);
    EXPECT_NE(spanish, command_usage(name, base::kEnglish));
    EXPECT_EQ(spanish.rfind(name == "help" ? "uso: zelvo " : "uso: zelvo " + name, 0), 0u) << spanish;
  }
  for (int problem = 0; problem < kUsageProblemCount; ++problem) {
    SCOPED_TRACE(problem);
    const auto id = static_cast<UsageProblem>(problem);
    const std::string english = usage_problem(id, base::kEnglish, "WORD");
    const std::string spanish = usage_problem(id, base::kSpanish, "WORD");
    EXPECT_NE(spanish, english);
    EXPECT_EQ(english.find("WORD") == std::string::npos, spanish.find("WORD") == std::string::npos) << spanish;
  }
}

}  // namespace
}  // namespace zelvo::app
