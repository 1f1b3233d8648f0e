// zelvo watch into a real port: saves in place and by rename recompose and
// swap the sound; a composition error keeps the last good result playing;
// Ctrl-C leaves no note sounding.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "app/cli_runner.h"
#include "jack_harness.h"
#include "support/files.h"

namespace zelvo::player {
namespace {

// The bass's root in the first bar of the demo, changed by the edits.
constexpr const char* kFirstRoot = "lv(0,48)";

class WatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!server_.running()) GTEST_SKIP() << server_.why_not();
    listener_ = std::make_unique<Listener>();
    std::filesystem::copy(ZELVO_SOURCE_DIR "/examples/demo", work_.path(), std::filesystem::copy_options::recursive);
    page_ = test::read_file(work_.file("incom.htm"));
    page_.replace(page_.find("<td>96</td>"), 11, "<td>384</td>");  // bars of 625 ms
    test::write_file(work_.file("incom.htm"), page_);
  }
  std::string console() const { return test::read_file(top_.file("watch-console.txt")); }
  size_t count_of(const std::string& text) const {
    size_t count = 0;
    const std::string all = console();
    for (size_t at = all.find(text); at != std::string::npos; at = all.find(text, at + 1)) ++count;
    return count;
  }
  bool wait_for_text(const std::string& text, size_t times, int seconds) const {
    for (int i = 0; i < seconds * 20 && count_of(text) < times; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return count_of(text) >= times;
  }
  // A note-on of `pitch` among the notes from `from` on, within `seconds`.
  bool wait_for_pitch(int pitch, size_t from, int seconds) const {
    for (int i = 0; i < seconds * 20; ++i) {
      const std::vector<Received> notes = listener_->notes();
      for (size_t n = from; n < notes.size(); ++n) {
        if (notes[n].note_on() && notes[n].bytes[1] == pitch) return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  std::string with_root(const std::string& root) const {
    std::string page = page_;
    page.replace(page.find(kFirstRoot), std::string(kFirstRoot).size(), root);
    return page;
  }

  JackServer server_;
  std::unique_ptr<Listener> listener_;
  app::TempFolder top_;
  app::TempFolder work_;
  std::string page_;
};

TEST_F(WatchTest, SavesSwapTheSoundAndAFailedJobKeepsTheLastGoodOne) {
  // The console a compose job prints, to be seen in watch's own.
  app::TempFolder plain;
  std::filesystem::copy(work_.path(), plain.path(), std::filesystem::copy_options::recursive);
  const std::string job_console = app::run_zelvo({"--work", plain.path(), "compose"}).output;
  ASSERT_FALSE(job_console.empty());

  Child watch({ZELVO_BINARY, "watch", "--work", work_.path(), "--port", "zelvo-check"},
              top_.file("watch-console.txt"));
  ASSERT_TRUE(wait_for_text("waiting for saves", 1, 30)) << console();
  EXPECT_NE(console().find(job_console), std::string::npos) << console();
  ASSERT_TRUE(wait_for_pitch(48, 0, 10)) << "the first result does not play";

  // Saved in place.
  size_t from = listener_->notes().size();
  test::write_file(work_.file("incom.htm"), with_root("lv(0,36)"));
  ASSERT_TRUE(wait_for_text("playing the new", 2, 30)) << console();
  EXPECT_TRUE(wait_for_pitch(36, from, 10)) << "the result saved in place does not play";

  // Saved as a new file renamed over the old one.
  from = listener_->notes().size();
  test::write_file(work_.file("incom.htm.new"), with_root("lv(0,35)"));
  std::filesystem::rename(work_.file("incom.htm.new"), work_.file("incom.htm"));
  ASSERT_TRUE(wait_for_text("playing the new", 3, 30)) << console();
  EXPECT_TRUE(wait_for_pitch(35, from, 10)) << "the result saved by rename does not play";

  // A composition error: the last good result plays on.
  test::write_file(work_.file("incom.htm"), with_root("lv(0,"));
  ASSERT_TRUE(wait_for_text("the last good result plays on", 1, 30)) << console();
  from = listener_->notes().size();
  EXPECT_TRUE(wait_for_pitch(35, from, 15)) << "the last good result stopped";

  watch.signal(SIGINT);
  EXPECT_EQ(watch.wait(10), 130);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(notes_left_sounding(listener_->received()), 0);
}

}  // namespace
}  // namespace zelvo::player
