// The job API against the file jobs. Every recorded scenario that is one
// job runs through run_job on its input files and must give the recorded
// console, exit status and files; every example runs through run_job and
// through the application in a folder, and both must agree byte for byte.
// Each case has Engines of its own: the harmonizer's settings keep what
// the last run read, as they always have between the jobs of one program.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "jobs/engines.h"
#include "jobs/job.h"
#include "jobs/work_folder.h"
#include "shell/application.h"
#include "support/files.h"
#include "support/scenario_run.h"
#include "support/status_text.h"

namespace zelvo::test {
namespace {

namespace fs = std::filesystem;

jobs::Files folder_files(const std::string& folder) {
  jobs::Files files;
  EXPECT_EQ(test::english(jobs::read_work_inputs(folder, files)), "");
  return files;
}

class RecordedJob : public ::testing::TestWithParam<std::string> {};

TEST_P(RecordedJob, GivesTheRecordedBytes) {
  const fs::path scenario = scenarios_folder() / GetParam();
  jobs::JobInput input;
  if (!job_command(words(read_file((scenario / "cmd").string())), input.command, input.language)) {
    GTEST_SKIP() << "not one job";
  }
  TempFolder given, work;
  make_inputs(scenario, given.path());
  reset_folder(work.path(), given.path());
  input.files = folder_files(work.path());
  input.folder_name = work.path();
  // The outputs go into the folder as the command line writes them, so a
  // folder that refuses one gives the job the folder's answer.
  files::FolderWriter writer(work.path());
  jobs::JobControl control;
  control.results = &writer;
  const jobs::JobOutput output = jobs::run_job(*std::make_unique<jobs::Engines>(), input, control);

  const fs::path expected = scenario / "expected";
  EXPECT_EQ(replace_all(base::to_utf8(output.console), work.path(), "<work>"),
            read_recorded((expected / "console.txt").string()));
  EXPECT_EQ("exit " + std::to_string(output.exit_status) + "\n", read_file((expected / "status.txt").string()));
  const Files recorded = recorded_files(scenario);
  for (const auto& [name, text] : outcome_files(work.path(), given.path())) {
    EXPECT_EQ(text, recorded.count(name) ? recorded.at(name) : "(not recorded)") << name;
  }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, RecordedJob, ::testing::ValuesIn(scenario_names()), scenario_test_name);

// Every example's full job with notation, through run_job and in a folder.
class ExampleJob : public ::testing::TestWithParam<const char*> {};

TEST_P(ExampleJob, MatchesTheJobInAFolder) {
  const fs::path example = fs::path(ZELVO_SOURCE_DIR) / "examples" / GetParam();
  TempFolder folder;
  fs::copy(example, folder.path(), fs::copy_options::recursive);
  jobs::JobInput input;
  input.files = folder_files(folder.path());
  input.command = console::JobKind::kAll;
  input.notation = true;
  input.folder_name = folder.path();  // the folder a missing file's message names
  jobs::JobControl control;
  const jobs::JobOutput output = jobs::run_job(*std::make_unique<jobs::Engines>(), input, control);

  auto application = std::make_unique<shell::Application>();
  application->set_work_folder(folder.path());
  application->set_write_notation(true);
  Recorder recorder(application->console());
  application->console_store().set_view(&recorder);
  application->console().clear_console();
  ASSERT_TRUE(application->runner().start_job(console::JobKind::kAll));
  application->runner().wait();
  application->console_store().set_view(nullptr);

  EXPECT_EQ(base::to_utf8(output.console), recorder.text);
  EXPECT_EQ(output.outcome, application->runner().last_outcome());
  const jobs::Files left = folder_files(folder.path());
  for (const auto& [name, bytes] : output.files) {
    const auto found = left.find(name);
    EXPECT_TRUE(found != left.end() && found->second == bytes) << name;
  }
  for (const auto& [name, bytes] : left) {
    if (!input.files.count(name) || input.files.at(name) != bytes) {
      EXPECT_TRUE(output.files.count(name)) << name;
    }
  }
  if (output.outcome == console::JobOutcome::kFinished) {
    EXPECT_FALSE(output.tones.empty());
    EXPECT_TRUE(output.files.count("outar.tones"));
  }
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleJob,
                         ::testing::Values("demo", "canon", "generative", "four-voices", "first-piece", "Template"));

}  // namespace
}  // namespace zelvo::test
