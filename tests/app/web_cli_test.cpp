// The WebAssembly module as a command line (zelvo-cli.js under node) against
// the native program, in the same folder one after the other: for every
// recorded scenario whose command the module takes (a job with its
// language, check) and for every bundled example in both languages, the
// same standard output, error output, exit status and files, to the byte.
// Skipped only where emscripten is not installed; `make web` builds it.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/cli_runner.h"
#include "support/files.h"
#include "support/scenario_run.h"

namespace zelvo::test {
namespace {

namespace fs = std::filesystem;

using Outcome = app::CliResult;
using Folder = std::map<std::string, std::string>;  // every file in a folder, by path

bool have_emscripten() { return std::system("command -v em++ >/dev/null 2>&1") == 0; }

// Runs `args` natively and through the module on the files `make` puts in
// a fresh folder, and compares.
template <typename MakeInputs>
void expect_same(const std::vector<std::string>& args, MakeInputs make) {
#ifndef ZELVO_WEB_CLI
  GTEST_SKIP() << "a sanitizer build: the plain build compares the module";
#define ZELVO_WEB_CLI ""
#endif
  if (!have_emscripten()) GTEST_SKIP() << "emscripten is not installed: scripts/install-web-deps, then make web";
  ASSERT_TRUE(fs::exists(ZELVO_WEB_CLI)) << ZELVO_WEB_CLI << " is missing: make web builds it";
  TempFolder work;
  make(work.path());
  const Outcome native = app::run_zelvo(args, work.path());
  const Folder native_files = folder_files(work.path());
  make(work.path());
  const Outcome web = app::run_command("node " + app::shell_quote(ZELVO_WEB_CLI), args, work.path());
  const Folder web_files = folder_files(work.path());
  EXPECT_EQ(web.output, native.output);
  EXPECT_EQ(web.errors, native.errors);
  EXPECT_EQ(web.status, native.status);
  std::vector<std::string> native_names, web_names;
  for (const auto& [name, bytes] : native_files) native_names.push_back(name);
  for (const auto& [name, bytes] : web_files) web_names.push_back(name);
  EXPECT_EQ(web_names, native_names);
  for (const auto& [name, bytes] : native_files) {
    const auto found = web_files.find(name);
    if (found != web_files.end()) {
      EXPECT_TRUE(found->second == bytes) << name << " differs";
    }
  }
}

// The module takes the job commands and check, with the native program's
// words; usage errors and the other commands are the native program's own.
bool module_command(const std::vector<std::string>& args) {
  console::JobKind kind;
  int language;
  return job_command(args, kind, language) || std::find(args.begin(), args.end(), "check") != args.end();
}

std::vector<std::string> module_scenarios() {
  std::vector<std::string> names;
  for (const std::string& name : scenario_names()) {
    if (module_command(words(read_file((scenarios_folder() / name / "cmd").string())))) names.push_back(name);
  }
  return names;
}

class WebScenario : public ::testing::TestWithParam<std::string> {};

TEST_P(WebScenario, GivesTheNativeResults) {
  const fs::path scenario = scenarios_folder() / GetParam();
  expect_same(words(read_file((scenario / "cmd").string())),
              [&scenario](const fs::path& folder) { make_inputs(scenario, folder); });
}

INSTANTIATE_TEST_SUITE_P(Recorded, WebScenario, ::testing::ValuesIn(module_scenarios()), scenario_test_name);

class WebExample : public ::testing::TestWithParam<std::string> {};

TEST_P(WebExample, GivesTheNativeResultsInBothLanguages) {
  const fs::path example = fs::path(ZELVO_SOURCE_DIR) / "examples" / GetParam();
  const auto copy = [&example](const fs::path& folder) { reset_folder(folder, example); };
  for (const char* language : {"en", "es"}) {
    SCOPED_TRACE(language);
    expect_same({"--lang", language, "--notation", "all"}, copy);
    expect_same({"--lang", language, "check"}, copy);
  }
}

INSTANTIATE_TEST_SUITE_P(Bundled, WebExample,
                         ::testing::Values("demo", "first-piece", "canon", "generative", "four-voices", "Template"), scenario_test_name);

}  // namespace
}  // namespace zelvo::test
