// The desktop program runs job after job in one process. A hundred Compose,
// Harmonize and All jobs on the demo, some stopped at a random progress
// message, must each write, when they finish, the bytes that a fresh
// zelvo process writes. (What persists by design, the list registers, the
// harmonizer settings and a resolved FirstHarmIns, gives the same result
// here: the demo sets the registers before reading them and its
// configuration names every setting it relies on.)
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <string_view>

#include "console/console_view.h"
#include "robustness_support.h"

namespace zelvo::robustness {
namespace {

using console::JobKind;
using console::JobOutcome;

// Presses Stop right after the n-th message of a job.
class StopAfter : public console::ConsoleView {
 public:
  explicit StopAfter(console::Console& console) : console_(console) {}
  void arm(int32_t messages) {
    remaining_ = messages;
  }
  void appended(std::string_view) override {
    if (remaining_ > 0 && --remaining_ == 0) console_.request_stop();
  }

 private:
  console::Console& console_;
  int32_t remaining_ = 0;
};

const char* const kInputs[] = {"incom.htm", "insec.xml", "conar.txt", "inarm.xml", "inmus.xml"};
const char* const kOutputs[] = {"outco.rur", "outco.mid", "outar.mid"};

std::map<std::string, std::string> fresh_process_outputs() {
  WorkFolder folder;
  for (const char* name : kInputs) copy_demo(name, name);
  std::map<std::string, std::string> outputs;
  EXPECT_EQ(app::run_zelvo({"all"}).status, 0);
  for (const char* name : kOutputs) outputs[name] = read_file(name);
  return outputs;
}

TEST(JobsInOneProcess, HundredJobsWriteWhatAFreshProcessWrites) {
  const std::map<std::string, std::string> expected = fresh_process_outputs();
  for (const auto& [name, bytes] : expected) ASSERT_FALSE(bytes.empty()) << name;

  WorkFolder folder;
  for (const char* name : kInputs) copy_demo(name, name);
  Jobs jobs;
  console::Console& console = jobs.app().console();
  StopAfter stopper(console);
  console.set_view(&stopper);

  std::mt19937 random(20261206);
  int32_t finished = 0;
  int32_t stopped = 0;
  for (int32_t run = 0; run < 100; ++run) {
    const auto kind = static_cast<JobKind>(random() % 3);
    const bool stop = random() % 3 == 0;
    // Harmonize alone reads the listing a Compose wrote.
    if (kind == JobKind::kHarmonize) write_file("outco.rur", expected.at("outco.rur"));
    std::vector<std::string> written;
    if (kind != JobKind::kHarmonize) written = {"outco.rur", "outco.mid"};
    if (kind != JobKind::kCompose) written.push_back("outar.mid");
    for (const std::string& name : written) std::filesystem::remove(name);

    stopper.arm(stop ? 1 + static_cast<int32_t>(random() % 60) : 0);
    console.clear_console();
    ASSERT_TRUE(jobs.app().runner().start_job(kind));
    jobs.app().runner().wait();
    const JobOutcome outcome = jobs.app().runner().last_outcome();
    stopper.arm(0);
    SCOPED_TRACE("run " + std::to_string(run) + " kind " + std::to_string(static_cast<int>(kind)));

    if (outcome == JobOutcome::kStopped) {
      ++stopped;
      EXPECT_TRUE(stop);
      continue;
    }
    ASSERT_EQ(outcome, JobOutcome::kFinished) << console.contents();
    ++finished;
    for (const std::string& name : written) EXPECT_TRUE(read_file(name) == expected.at(name)) << name;
  }
  console.set_view(nullptr);
  EXPECT_GT(finished, 50);
  EXPECT_GT(stopped, 10);
}

}  // namespace
}  // namespace zelvo::robustness
