#include "console/job_runner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace zelvo::console {
namespace {

using namespace std::chrono_literals;

TEST(JobRunnerTest, StopEndsTheJobAtTheNextCheckAndDoesNotOpenTheResult) {
  StandaloneConsole console;
  std::atomic<int> checks{0};
  std::atomic<bool> release{false};
  std::atomic<bool> opened{false};
  std::atomic<bool> after_stop{false};
  JobHooks hooks;
  hooks.compose = [&] {
    check_stop(console);
    ++checks;
    while (!release.load()) std::this_thread::sleep_for(1ms);
    check_stop(console);
    after_stop = true;
  };
  hooks.open_result_wanted = [] { return true; };
  hooks.open_result = [&](const char*) { opened = true; };
  JobRunner runner(console, hooks);
  ASSERT_TRUE(runner.start_job(JobKind::kCompose));
  while (checks.load() == 0) std::this_thread::sleep_for(1ms);
  console.control().request_stop();
  EXPECT_TRUE(console.control().job_running());  // not yet: only at the next check
  release = true;
  runner.wait();
  EXPECT_EQ(runner.last_outcome(), JobOutcome::kStopped);
  EXPECT_FALSE(after_stop.load());
  EXPECT_FALSE(opened.load());
  EXPECT_FALSE(console.control().job_running());
  EXPECT_FALSE(console.control().stop_requested());
}

TEST(JobRunnerTest, SecondStartWhileRunningDoesNothing) {
  StandaloneConsole console;
  std::atomic<bool> release{false};
  std::atomic<int> runs{0};
  JobHooks hooks;
  hooks.compose = [&] {
    ++runs;
    while (!release.load()) std::this_thread::sleep_for(1ms);
  };
  JobRunner runner(console, hooks);
  ASSERT_TRUE(runner.start_job(JobKind::kCompose));
  EXPECT_FALSE(runner.start_job(JobKind::kCompose));
  release = true;
  runner.wait();
  EXPECT_EQ(runs.load(), 1);
  EXPECT_EQ(runner.last_outcome(), JobOutcome::kFinished);
}

TEST(JobRunnerTest, StopRequestNeverCarriesOverToTheNextJob) {
  StandaloneConsole console;
  JobHooks hooks;
  hooks.compose = [&] { abort_job(console); };
  hooks.harmonize = [&] { check_stop(console); };
  JobRunner runner(console, hooks);
  console.control().set_job_running(true);
  console.control().request_stop();  // pressed, but the job aborts before any check
  console.control().set_job_running(false);
  EXPECT_EQ(runner.run_body(JobKind::kCompose), JobOutcome::kAborted);
  EXPECT_FALSE(console.control().stop_requested());
  EXPECT_EQ(runner.run_body(JobKind::kHarmonize), JobOutcome::kFinished);
}

TEST(JobRunnerTest, AllStopsBeforeHarmonizingWhenComposeAborts) {
  StandaloneConsole console;
  bool harmonized = false;
  JobHooks hooks;
  hooks.compose = [&] { abort_job(console); };
  hooks.harmonize = [&] { harmonized = true; };
  JobRunner runner(console, hooks);
  EXPECT_EQ(runner.run_body(JobKind::kAll), JobOutcome::kAborted);
  EXPECT_FALSE(harmonized);
}

TEST(JobRunnerTest, NormalEndOpensTheResultOfItsKind) {
  StandaloneConsole console;
  std::string opened;
  bool wanted = false;
  JobHooks hooks;
  hooks.compose = [] {};
  hooks.harmonize = [] {};
  hooks.open_result_wanted = [&] { return wanted; };
  hooks.open_result = [&](const char* name) { opened = name; };
  JobRunner runner(console, hooks);
  runner.run_body(JobKind::kCompose);
  EXPECT_EQ(opened, "");
  wanted = true;
  runner.run_body(JobKind::kCompose);
  EXPECT_EQ(opened, "outco.mid");
  runner.run_body(JobKind::kAll);
  EXPECT_EQ(opened, "outar.mid");
}

}  // namespace
}  // namespace zelvo::console
