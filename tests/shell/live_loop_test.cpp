// The live loop's newest-edit-wins rule: an edit made while a run goes
// stops that run at its next stop check, and no result of an older text is
// ever reported after a newer one. The newer edit is made from inside the
// older run (at a message it prints), so the test needs no timing.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "base/work_files.h"
#include "shell/live_loop.h"
#include "support/files.h"

namespace zelvo::shell {
namespace {

namespace fs = std::filesystem;

struct Results {
  void add(LiveResult result) {
    std::lock_guard<std::mutex> hold(lock);
    list.push_back(std::move(result));
    arrived.notify_all();
  }
  bool wait_idle(const LiveLoop& loop) {
    std::unique_lock<std::mutex> hold(lock);
    for (int i = 0; i < 1200 && loop.busy(); ++i) arrived.wait_for(hold, std::chrono::milliseconds(100));
    return !loop.busy();
  }
  std::mutex lock;
  std::condition_variable arrived;
  std::vector<LiveResult> list;
};

class LiveLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy(ZELVO_SOURCE_DIR "/examples/demo", work_.path(), fs::copy_options::recursive);
    page_ = test::read_file(work_.file(base::kCompositionFile));
  }
  // The demo with its first bass root changed: another text, another result.
  std::string edited(const char* root) const {
    std::string page = page_;
    page.replace(page.find("lv(0,48)"), 8, root);
    return page;
  }
  LiveRequest request(const char* root, bool harmonize = true) const {
    return {edited(root), work_.path(), harmonize, base::kEnglish};
  }

  test::TempFolder work_;
  std::string page_;
};

TEST_F(LiveLoopTest, ANewerEditStopsTheRunGoingAndOnlyItsResultIsReported) {
  Results results;
  LiveLoop loop([&](LiveResult result) { results.add(std::move(result)); });
  // The first run is overtaken at its first bar; the second, at its fifth
  // table, by a third edit made from inside it.
  std::string first_text;
  loop.on_printed = [&](uint64_t request, std::string_view text) {
    if (request == 1) {
      first_text.append(text);
      if (text.find("Procesing bar 1") != std::string_view::npos) loop.submit(this->request("lv(0,36)"));
    } else if (request == 2 && text.find("Processing table TSAL") != std::string_view::npos) {
      loop.submit(this->request("lv(0,35)"));
    }
  };
  loop.submit(request("lv(0,47)"));
  ASSERT_TRUE(results.wait_idle(loop));
  ASSERT_EQ(results.list.size(), 1u);
  EXPECT_EQ(results.list[0].request, 3u);
  EXPECT_EQ(results.list[0].outcome, console::JobOutcome::kFinished);
  EXPECT_EQ(loop.overtaken(), 2);
  EXPECT_NE(first_text.find("COMPILATION STOPPED BY USER"), std::string::npos) << first_text;

  // The result is the third text's, as a loop that ran only that one makes.
  Results alone;
  LiveLoop fresh([&](LiveResult result) { alone.add(std::move(result)); });
  fresh.submit(request("lv(0,35)"));
  ASSERT_TRUE(alone.wait_idle(fresh));
  ASSERT_EQ(alone.list.size(), 1u);
  EXPECT_EQ(results.list[0].midi, alone.list[0].midi);
  EXPECT_EQ(results.list[0].tones, alone.list[0].tones);
  EXPECT_FALSE(results.list[0].tones.empty());
}

TEST_F(LiveLoopTest, EditsInARowReportInOrderAndEndWithTheLast) {
  Results results;
  LiveLoop loop([&](LiveResult result) { results.add(std::move(result)); });
  const char* roots[] = {"lv(0,36)", "lv(0,38)", "lv(0,40)", "lv(0,41)", "lv(0,43)"};
  for (int edit = 0; edit < 20; ++edit) loop.submit(request(roots[edit % 5], edit % 2 == 0));
  ASSERT_TRUE(results.wait_idle(loop));
  ASSERT_FALSE(results.list.empty());
  for (size_t i = 1; i < results.list.size(); ++i) EXPECT_LT(results.list[i - 1].request, results.list[i].request);
  EXPECT_EQ(results.list.back().request, 20u);
  EXPECT_EQ(static_cast<int>(results.list.size()), loop.reported());
}

TEST_F(LiveLoopTest, RunsNeverTouchTheWorkFolderAndAFailureKeepsItsMessage) {
  const fs::file_time_type before = fs::last_write_time(work_.file(base::kCompositionFile));
  Results results;
  LiveLoop loop([&](LiveResult result) { results.add(std::move(result)); });
  loop.submit(request("lv(0,36)"));
  ASSERT_TRUE(results.wait_idle(loop));
  loop.submit(request("lv(0,"));
  ASSERT_TRUE(results.wait_idle(loop));
  ASSERT_EQ(results.list.size(), 2u);
  EXPECT_EQ(results.list[1].outcome, console::JobOutcome::kAborted);
  EXPECT_TRUE(results.list[1].midi.empty());
  EXPECT_NE(results.list[1].console_text.find("ABORTING COMPILATION"), std::string::npos);
  for (const char* made : {base::kCompositionMidi, base::kCompositionListing, base::kHarmonyMidi,
                           base::kHarmonyTones}) {
    EXPECT_FALSE(fs::exists(work_.file(made))) << made;
  }
  EXPECT_EQ(fs::last_write_time(work_.file(base::kCompositionFile)), before);
}

}  // namespace
}  // namespace zelvo::shell
