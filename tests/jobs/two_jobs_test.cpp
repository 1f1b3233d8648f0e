// Jobs are given their work folder: two of them, in two folders, run at the
// same time in one process and leave what each leaves when it runs alone.
// Built also under ThreadSanitizer by `make test` (see the Makefile).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "shell/application.h"
#include "support/files.h"
#include "support/scenario_inputs.h"

namespace zelvo {
namespace {

namespace fs = std::filesystem;

// Every file a job leaves in its folder (the inputs included), and its console.
struct Outcome {
  std::map<std::string, std::string> files;
  std::string console;
  console::JobOutcome end = console::JobOutcome::kAborted;
};

Outcome collect(shell::Application& application, const std::string& folder) {
  Outcome outcome;
  outcome.files = test::folder_files(folder);
  outcome.console = application.console_store().contents();
  outcome.end = application.runner().last_outcome();
  return outcome;
}

// A composer and harmonizer run of `example` in a folder of its own, with
// MusicXML of both results, through the application as the front ends run it.
class ExampleJob {
 public:
  explicit ExampleJob(const std::string& example) : application_(std::make_unique<shell::Application>()) {
    fs::copy(fs::path(ZELVO_SOURCE_DIR) / "examples" / example, folder_.path(), fs::copy_options::recursive);
    application_->set_work_folder(folder_.path());
    application_->set_write_notation(true);
  }
  bool start() { return application_->runner().start_job(console::JobKind::kAll); }
  Outcome finish() {
    application_->runner().wait();
    return collect(*application_, folder_.path());
  }

 private:
  test::TempFolder folder_;
  std::unique_ptr<shell::Application> application_;
};

Outcome run_alone(const std::string& example) {
  ExampleJob job(example);
  EXPECT_TRUE(job.start());
  return job.finish();
}

void expect_same(const Outcome& alone, const Outcome& together, const std::string& example) {
  SCOPED_TRACE(example);
  EXPECT_EQ(together.end, console::JobOutcome::kFinished);
  EXPECT_EQ(together.console, alone.console);
  EXPECT_EQ(together.files.size(), alone.files.size());
  for (const auto& [name, bytes] : alone.files) {
    const auto found = together.files.find(name);
    ASSERT_NE(found, together.files.end()) << name;
    EXPECT_TRUE(found->second == bytes) << name << " differs";
  }
}

TEST(TwoJobsTest, TwoFoldersAtOnceLeaveWhatEachLeavesAlone) {
  const Outcome demo_alone = run_alone("demo");
  const Outcome voices_alone = run_alone("four-voices");
  ASSERT_EQ(demo_alone.end, console::JobOutcome::kFinished) << demo_alone.console;
  ASSERT_EQ(voices_alone.end, console::JobOutcome::kFinished) << voices_alone.console;
  // Each wrote its results beside its inputs, not in the current directory.
  for (const Outcome* alone : {&demo_alone, &voices_alone}) {
    for (const char* result : {"outco.mid", "outco.rur", "outar.mid", "outco.musicxml", "outar.musicxml"}) {
      EXPECT_EQ(alone->files.count(result), 1u) << result;
    }
  }

  ExampleJob demo("demo");
  ExampleJob voices("four-voices");
  ASSERT_TRUE(demo.start());
  ASSERT_TRUE(voices.start());
  expect_same(demo_alone, demo.finish(), "demo");
  expect_same(voices_alone, voices.finish(), "four-voices");
}

}  // namespace
}  // namespace zelvo
