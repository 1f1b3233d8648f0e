// The job commands start without Qt or FluidSynth: only the commands that
// draw or sound load them, through the second program zelvo runs for them.
// Nor do they bind libzip (with libcrypto) or libxml2 (with ICU) before a
// compressed score or a document from another editor asks for them.
// The dynamic loader's own report (LD_DEBUG=files) names every library a run
// maps, those opened on demand included.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/cli_runner.h"
#include "app/command_line.h"
#include "app/media_commands.h"
#include "support/files.h"

namespace zelvo::app {
namespace {

struct LoadedRun {
  int status = -1;
  std::string output;     // standard output
  std::string libraries;  // one "file=NAME" line of the loader per library
};

LoadedRun run_traced(const std::string& args, const std::string& cwd) {
  TempFolder streams;
  const std::string command = "cd " + shell_quote(cwd) + " && LD_DEBUG=files LD_DEBUG_OUTPUT=" +
                              shell_quote(streams.file("loader")) + " " + shell_quote(ZELVO_BINARY) + " " +
                              args + " >" + shell_quote(streams.file("out")) + " 2>/dev/null </dev/null";
  LoadedRun run;
  const int raw = std::system(command.c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.output = test::read_file(streams.file("out"));
  // The loader writes one file per process: LD_DEBUG_OUTPUT.<pid>.
  for (const auto& entry : std::filesystem::directory_iterator(streams.path())) {
    if (entry.path().filename().string().rfind("loader.", 0) != 0) continue;
    const std::string report = test::read_file(entry.path().string());
    for (size_t at = report.find("file="); at != std::string::npos; at = report.find("file=", at + 1)) {
      run.libraries += report.substr(at, report.find(' ', at) - at) + "\n";
    }
  }
  return run;
}

bool loads_media_libraries(const std::string& libraries) {
  return libraries.find("file=libQt") != std::string::npos ||
         libraries.find("file=libfluidsynth") != std::string::npos;
}

// Libraries a job binds only when a document needs them.
bool loads_reader_libraries(const std::string& libraries) {
  for (const char* name : {"file=libzip", "file=libcrypto", "file=libxml2", "file=libicu"}) {
    if (libraries.find(name) != std::string::npos) return true;
  }
  return false;
}

TEST(StartUpLibraries, JobCommandsMapNeitherQtNorFluidSynth) {
  TempFolder work;
  for (const std::string args : {"--version", "--help", "compose", "harmonize", "all", "check",
                                 "project new --work dir --template none", "tables show"}) {
    SCOPED_TRACE(args);
    const LoadedRun run = run_traced(args, work.path());
    EXPECT_NE(run.status, -1);
    EXPECT_NE(run.libraries.find("file=libc.so"), std::string::npos) << "no loader report";
    EXPECT_FALSE(loads_media_libraries(run.libraries)) << run.libraries;
    EXPECT_FALSE(loads_reader_libraries(run.libraries)) << run.libraries;
  }
}

// A whole run of the example, its composition and score read, binds no more.
TEST(StartUpLibraries, TheExampleComposesAndHarmonizesWithoutTheReaderLibraries) {
  TempFolder work;
  std::filesystem::copy(std::filesystem::path(ZELVO_SOURCE_DIR) / "examples" / "demo", work.path());
  const LoadedRun run = run_traced("all", work.path());
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(std::filesystem::exists(work.file("outar.mid")));
  EXPECT_FALSE(loads_reader_libraries(run.libraries)) << run.libraries;
}

TEST(StartUpLibraries, EveryMediaCommandRunsFromTheJobProgramAndLoadsItsLibraries) {
  TempFolder work;
  for (const std::string_view name : kMediaCommands) {
    SCOPED_TRACE(std::string(name));
    const LoadedRun run = run_traced(std::string(name) + " --help", work.path());
    EXPECT_EQ(run.status, 0);
    const std::string usage = "usage: zelvo " + std::string(name);
    EXPECT_EQ(run.output.rfind(usage, 0), 0u) << run.output;
    EXPECT_TRUE(run.output.size() > usage.size() && (run.output[usage.size()] == ' ' || run.output[usage.size()] == '\n'))
        << run.output;
    EXPECT_TRUE(loads_media_libraries(run.libraries)) << run.libraries;
  }
}

TEST(StartUpLibraries, AnUnknownMediaCommandIsAUsageError) {
  const std::string media = std::string(ZELVO_BINARY) + "-media";
  EXPECT_EQ(WEXITSTATUS(std::system((shell_quote(media) + " compose 2>/dev/null").c_str())), kExitUsage);
  EXPECT_EQ(WEXITSTATUS(std::system((shell_quote(media) + " 2>/dev/null").c_str())), kExitUsage);
}

}  // namespace
}  // namespace zelvo::app
