// Recorded scenarios: every folder under data/scenarios holds the files a
// command starts from (in/ and the lines of in.list, as
// support/scenario_inputs.h reads them), its command line (cmd), what it
// printed, returned and wrote (expected/) and, for variants named .2, .3...,
// a one-line note of what they check. The runner runs the zelvo program in
// a folder of those files and compares: standard output, exit status and
// standard error, the list of files afterwards, and every file made or
// changed (MIDI files as dumps). A job command also runs in this process,
// in one application, stopped early once and then twice to its end, and
// must give the same console text, outcome and files each time (the last
// run in the folder as the run before left it).
// ZELVO_UPDATE=1 rewrites the expectations.
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "console/console_view.h"
#include "base/windows1252.h"
#include "shell/application.h"
#include "support/files.h"
#include "support/scenario_run.h"

namespace zelvo::test {
namespace {

namespace fs = std::filesystem;

const fs::path kScenarios = scenarios_folder();

std::string quote(const std::string& text) { return "'" + replace_all(text, "'", "'\\''") + "'"; }

class ScenarioTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ScenarioTest, RunsAsRecorded) {
  const fs::path scenario = kScenarios / GetParam();
  const fs::path expected = scenario / "expected";
  const std::vector<std::string> args = words(read_file((scenario / "cmd").string()));
  TempFolder given, work, streams;
  make_inputs(scenario, given.path());
  const fs::path in = given.path();
  reset_folder(work.path(), in);

  std::string command = "cd " + quote(work.path()) + " && " + quote(ZELVO_BINARY);
  for (const std::string& arg : args) command += " " + quote(arg);
  command += " >" + quote(streams.file("out")) + " 2>" + quote(streams.file("err")) + " </dev/null";
  const int raw = std::system(command.c_str());
  const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  Files got = outcome_files(work.path(), in);
  const std::string console = replace_all(read_file(streams.file("out")), work.path(), "<work>");
  got["console.txt"] = console;
  got["status.txt"] = "exit " + std::to_string(status) + "\n" +
                      replace_all(read_file(streams.file("err")), work.path(), "<work>");

  if (updating()) fs::remove_all(expected);
  for (const auto& [name, text] : got) expect_recorded((expected / name).string(), text);
  if (!updating() && fs::exists(expected)) {
    for (const auto& entry : fs::recursive_directory_iterator(expected)) {
      const std::string name = fs::relative(entry.path(), expected).string();
      if (entry.is_regular_file()) {
        EXPECT_TRUE(got.count(name)) << name << " was not made";
      }
    }
  }

  // A job command again, in this process.
  int language = base::kEnglish;
  console::JobKind kind = console::JobKind::kCompose;
  if (!job_command(args, kind, language)) return;
  TempFolder again;
  auto app = std::make_unique<shell::Application>();
  app->set_work_folder(again.path());
  Recorder recorder(app->console());
  app->console_store().set_view(&recorder);
  app->job_control().set_language(language);
  for (int run = 0; run < 3; ++run) {
    SCOPED_TRACE("run " + std::to_string(run) + " in one process");
    if (run < 2) reset_folder(again.path(), in);  // the last run finds what the one before left
    recorder.text.clear();
    recorder.stop_after = run == 0 ? 1 + static_cast<int>(GetParam().size() % 7) : 0;
    app->console().clear_console();
    ASSERT_TRUE(app->runner().start_job(kind));
    app->runner().wait();
    const console::JobOutcome outcome = app->runner().last_outcome();
    if (run == 0 && outcome == console::JobOutcome::kStopped) continue;
    EXPECT_EQ(outcome == console::JobOutcome::kFinished ? 0 : outcome == console::JobOutcome::kAborted ? 1 : 130,
              status);
    EXPECT_EQ(replace_all(recorder.text, again.path(), "<work>"), console);
    Files files = outcome_files(again.path(), in);
    for (const auto& [name, text] : files) {
      const auto recorded = got.find(name);
      EXPECT_TRUE(recorded != got.end() && recorded->second == text) << name;
    }
    EXPECT_EQ(files.size() + 2, got.size());
  }
  app->console_store().set_view(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Recorded, ScenarioTest, ::testing::ValuesIn(scenario_names()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param;
                           for (char& c : name) if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
}  // namespace zelvo::test
