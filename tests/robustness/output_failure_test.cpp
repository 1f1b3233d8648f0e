// Output files that cannot be written whole: a name taken by a folder (the
// file cannot be created), a full disk (/dev/full) and a file-size limit.
// The job reports the file and aborts; it never reports success.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "composer/composer_messages.h"
#include "harmonizer/harmonizer_messages.h"
#include "robustness_support.h"

namespace zelvo::robustness {
namespace {

using console::JobKind;
using console::JobOutcome;

void copy_demo_folder() {
  for (const char* name : {"incom.htm", "insec.xml", "conar.txt", "inarm.xml", "inmus.xml"}) copy_demo(name, name);
}

// `name` becomes a folder: the file cannot be created.
void block_with_folder(const char* name) {
  std::filesystem::remove_all(name);
  std::filesystem::create_directory(name);
}

// `name` leads to a device that refuses every byte.
void lead_to_full_disk(const char* name) {
  std::filesystem::remove_all(name);
  std::filesystem::create_symlink("/dev/full", name);
}

TEST(OutputFailure, ComposerFileThatCannotBeCreated) {
  WorkFolder folder;
  for (const char* name : {"outco.rur", "outco.mid"}) {
    expect_refused(
        JobKind::kCompose,
        [&] {
          copy_demo_folder();
          block_with_folder(name);
        },
        composer::kCannotCreate, name);
    std::filesystem::remove_all(name);
  }
}

TEST(OutputFailure, ComposerFileOnAFullDisk) {
  WorkFolder folder;
  for (const char* name : {"outco.rur", "outco.mid"}) {
    expect_refused(
        JobKind::kCompose,
        [&] {
          copy_demo_folder();
          lead_to_full_disk(name);
        },
        composer::kCannotWrite, name);
    std::filesystem::remove_all(name);
  }
}

TEST(OutputFailure, HarmonizerFileThatCannotBeCreatedOrWritten) {
  WorkFolder folder;
  expect_refused(
      JobKind::kAll,
      [&] {
        copy_demo_folder();
        block_with_folder("outar.mid");
      },
      harmonizer::kErrorCreatingFile, "outar.mid");
  expect_refused(
      JobKind::kAll,
      [&] {
        copy_demo_folder();
        lead_to_full_disk("outar.mid");
      },
      harmonizer::kErrorWritingFile, "outar.mid");
}

struct ShellResult {
  int status = -1;
  std::string output;
};

// Runs zelvo with `job` in the current folder under a file-size limit of
// `kilobytes`.
ShellResult run_limited(const std::string& job, int kilobytes) {
  const std::string command = "ulimit -f " + std::to_string(kilobytes) + " && " + app::shell_quote(ZELVO_BINARY) +
                              " " + job + " 2>/dev/null";
  ShellResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  size_t got = 0;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, got);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

// The demo's listing is over 5 KB and its harmony about 1.3 KB: a 1 KB
// limit cuts both. The process must survive the limit and end with status 1.
TEST(OutputFailure, FileSizeLimitAbortsWithStatusOne) {
  WorkFolder folder;
  copy_demo_folder();
  ShellResult composed = run_limited("compose", 1);
  EXPECT_EQ(composed.status, 1);
  EXPECT_NE(composed.output.find(format(composer::kCannotWrite.english, "outco.rur")), std::string::npos)
      << composed.output;

  ShellResult unlimited = run_limited("compose", 1024);
  ASSERT_EQ(unlimited.status, 0) << unlimited.output;
  ShellResult harmonized = run_limited("harmonize", 1);
  EXPECT_EQ(harmonized.status, 1);
  EXPECT_NE(harmonized.output.find(format(harmonizer::kErrorWritingFile.english, "outar.mid")), std::string::npos)
      << harmonized.output;
}

TEST(OutputFailure, FullDiskThroughTheCommandLine) {
  WorkFolder folder;
  copy_demo_folder();
  lead_to_full_disk("outco.mid");
  const app::CliResult result = app::run_zelvo({"compose"});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.output.find(format(composer::kCannotWrite.english, "outco.mid")), std::string::npos)
      << result.output;
}

}  // namespace
}  // namespace zelvo::robustness
