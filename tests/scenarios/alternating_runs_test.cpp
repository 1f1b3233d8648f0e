// One application runs a hundred jobs in turn, a composition and then a
// harmonization of other work folders, as the window, the watch mode and a
// live loop do: each run must print, return and write what the recorded
// scenario of its folder holds, as a fresh process does. What one job leaves
// in the engines' tables must never show in the next one. The harmonizer's
// settings are the exception by design (a key that a later configuration
// file leaves out keeps what an earlier run read, the tempo of the music
// too), so they are put back to their program-start values before each run.
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/windows1252.h"
#include "shell/application.h"
#include "shell/live_loop.h"
#include "support/files.h"
#include "support/scenario_run.h"

namespace zelvo::test {
namespace {

namespace fs = std::filesystem;

struct JobScenario {
  std::string name;
  console::JobKind kind;
  int language;
};

// The recorded scenarios whose command is one job, composing ones in
// `compose`, harmonizing ones (harmonize, all) in `harmonize`.
void job_scenarios(std::vector<JobScenario>& compose, std::vector<JobScenario>& harmonize) {
  for (const std::string& name : scenario_names()) {
    JobScenario job{name, console::JobKind::kCompose, base::kEnglish};
    if (!job_command(words(read_file((scenarios_folder() / name / "cmd").string())), job.kind, job.language)) {
      continue;
    }
    (job.kind == console::JobKind::kCompose ? compose : harmonize).push_back(job);
  }
}

// What the scenario recorded: the files it made and its exit status.
Files recorded_files(const fs::path& expected) {
  Files files;
  for (const auto& entry : fs::recursive_directory_iterator(expected)) {
    const std::string name = fs::relative(entry.path(), expected).string();
    if (!entry.is_regular_file() || name == "console.txt" || name == "status.txt") continue;
    files[name] = read_file(entry.path().string());
  }
  return files;
}

int job_status(console::JobOutcome outcome) {
  return outcome == console::JobOutcome::kFinished ? 0 : outcome == console::JobOutcome::kAborted ? 1 : 130;
}

TEST(AlternatingRuns, AHundredJobsOfDifferentFoldersInOneApplicationRunAsFreshOnes) {
  std::vector<JobScenario> compose, harmonize;
  job_scenarios(compose, harmonize);
  ASSERT_GE(compose.size(), 20u);
  ASSERT_GE(harmonize.size(), 10u);

  TempFolder work;
  auto app = std::make_unique<shell::Application>();
  app->set_work_folder(work.path());
  Recorder recorder(app->console());
  app->console_store().set_view(&recorder);
  for (int run = 0; run < 100; ++run) {
    // Fifty compositions spread over the whole list, every harmonization
    // in turn.
    const JobScenario& job = run % 2 == 0 ? compose[(run / 2) * compose.size() / 50]
                                          : harmonize[(run / 2) % harmonize.size()];
    SCOPED_TRACE("run " + std::to_string(run) + ": " + job.name);
    const fs::path scenario = scenarios_folder() / job.name;
    TempFolder given;
    make_inputs(scenario, given.path());
    reset_folder(work.path(), given.path());
    recorder.text.clear();
    app->harmonizer_state().settings = engine::HarmonizerSettings{};
    app->job_control().set_language(job.language);
    app->console().clear_console();
    ASSERT_TRUE(app->runner().start_job(job.kind));
    app->runner().wait();
    const std::string status = read_file((scenario / "expected" / "status.txt").string());
    EXPECT_EQ("exit " + std::to_string(job_status(app->runner().last_outcome())), status.substr(0, status.find('\n')));
    EXPECT_EQ(replace_all(recorder.text, work.path(), "<work>"),
              read_file((scenario / "expected" / "console.txt").string()));
    EXPECT_EQ(outcome_files(work.path(), given.path()), recorded_files(scenario / "expected"));
  }
  app->console_store().set_view(nullptr);
}

// The results of a live loop, as they come.
struct LiveResults {
  void add(shell::LiveResult result) {
    std::lock_guard<std::mutex> hold(lock);
    list.push_back(std::move(result));
    arrived.notify_all();
  }
  bool wait_for(size_t count) {
    std::unique_lock<std::mutex> hold(lock);
    return arrived.wait_for(hold, std::chrono::minutes(2), [&] { return list.size() >= count; });
  }
  std::mutex lock;
  std::condition_variable arrived;
  std::vector<shell::LiveResult> list;
};

// Live runs (the window's Live, zelvo watch) of one loop, each an edit that
// puts another recorded composition in place, composed or composed and
// harmonized as its scenario was: each must print and make what the
// recording holds, though the engines' states go from run to run.
TEST(AlternatingRuns, LiveRunsOfEveryRecordedCompositionMatchTheirRecordings) {
  std::vector<JobScenario> compose, harmonize;
  job_scenarios(compose, harmonize);
  std::vector<JobScenario> jobs = compose;
  for (const JobScenario& job : harmonize) {
    if (job.kind == console::JobKind::kAll) jobs.push_back(job);
  }
  LiveResults results;
  shell::LiveLoop loop([&](shell::LiveResult result) { results.add(std::move(result)); });
  size_t runs = 0, harmonized = 0;
  for (const JobScenario& job : jobs) {
    const fs::path scenario = scenarios_folder() / job.name;
    TempFolder given;
    make_inputs(scenario, given.path());
    // Live edits incom.htm, and its results are never the work folder's:
    // a work with incom.htc, without incom.htm or with results in the way
    // (a listing that cannot be written) is not one for it.
    bool results_given = false;
    for (const auto& entry : fs::directory_iterator(given.path())) {
      results_given |= entry.path().filename().string().rfind("out", 0) == 0;
    }
    if (results_given || !fs::is_regular_file(given.file("incom.htm")) || fs::exists(given.file("incom.htc"))) {
      continue;
    }
    SCOPED_TRACE(job.name);
    const bool all = job.kind == console::JobKind::kAll;
    loop.submit({read_file(given.file("incom.htm")), given.path(), all, job.language});
    ASSERT_TRUE(results.wait_for(++runs));
    harmonized += all ? 1 : 0;
    const shell::LiveResult& result = results.list.back();
    ASSERT_EQ(result.request, runs);
    const std::string status = read_file((scenario / "expected" / "status.txt").string());
    EXPECT_EQ("exit " + std::to_string(job_status(result.outcome)), status.substr(0, status.find('\n')));
    EXPECT_EQ(replace_all(base::to_utf8(result.console_text), given.path(), "<work>"),
              read_file((scenario / "expected" / "console.txt").string()));
    if (result.outcome != console::JobOutcome::kFinished) continue;
    const Files recorded = recorded_files(scenario / "expected");
    const auto made = [&](const char* name) { return recorded.count(name) ? recorded.at(name) : "(none)"; };
    EXPECT_EQ(midi_dump(result.midi), made(all ? "files/outar.mid.dump" : "files/outco.mid.dump"));
    if (all) {
      EXPECT_EQ(result.tones, made("files/outar.tones"));
    }
  }
  EXPECT_GE(runs, 100u);
  EXPECT_GE(harmonized, 3u);
  EXPECT_EQ(loop.overtaken(), 0);
}

}  // namespace
}  // namespace zelvo::test
