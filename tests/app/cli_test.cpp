#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "cli_runner.h"

namespace zelvo::app {
namespace {

TEST(CommandLineTest, VersionAndHelp) {
  const CliResult version = run_zelvo({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.output, "Zelvo 1.160611\n");
  EXPECT_EQ(run_zelvo({"--help"}).status, 0);
}

TEST(CommandLineTest, UsageErrorsExitWithTwo) {
  EXPECT_EQ(run_zelvo({}).status, 2);
  EXPECT_EQ(run_zelvo({"dance"}).status, 2);
  EXPECT_EQ(run_zelvo({"--lang", "fr", "compose"}).status, 2);
  EXPECT_EQ(run_zelvo({"compose", "harmonize"}).status, 2);
  EXPECT_EQ(run_zelvo({"--work"}).status, 2);
}

TEST(CommandLineTest, HarmonizeWithoutConfigurationAbortsInSpanishUtf8) {
  TempFolder work;
  const CliResult result = run_zelvo({"--lang", "es", "harmonize"}, work.path());
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.output.find("\nError en el acceso al archivo conar\n"), std::string::npos);
  EXPECT_NE(result.output.find("ERROR: ABORTANDO COMPILACION"), std::string::npos);
}

TEST(CommandLineTest, HarmonizeWithoutConfigurationPrintsExactConsole) {
  TempFolder work;
  const CliResult result = run_zelvo({"--work", work.path(), "harmonize"});
  EXPECT_EQ(result.status, 1);
  const std::string expected =
      "\n  - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -\n"
      "  Zelvo 1.160611\n\n"
      "\n** HARMONIZING!!! "
      "****************************************************************************\n\n"
      "\nError opening file conar\n"
      "\n\nERROR: ABORTING COMPILATION\n\n\n\n\n";
  EXPECT_EQ(result.output, expected);
}

TEST(CommandLineTest, SpanishAccentsAreWrittenAsUtf8) {
  TempFolder work;
  // The composer's generation message carries an accented letter.
  const CliResult result = run_zelvo({"--lang", "es", "compose"}, work.path());
  EXPECT_EQ(result.output.find('\xF3'), std::string::npos);  // no raw Windows-1252 byte
}

}  // namespace
}  // namespace zelvo::app
