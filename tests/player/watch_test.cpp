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
    copy_fast_demo(work_.path());
    page_ = test::read_file(work_.file("incom.htm"));
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

  // Saved in place, saved as a new file renamed over the old one, then a
  // composition error: the last good result plays on after it is reported.
  struct Save { const char* root; bool by_rename; const char* said; size_t times; int pitch; };
  for (const Save& save : {Save{"lv(0,36)", false, "playing the new", 2, 36}, Save{"lv(0,35)", true, "playing the new", 3, 35},
                           Save{"lv(0,", false, "the last good result plays on", 1, 35}}) {
    SCOPED_TRACE(save.root);
    size_t from = listener_->notes().size();
    const std::string file = work_.file(save.by_rename ? "incom.htm.new" : "incom.htm");
    test::write_file(file, with_root(save.root));
    if (save.by_rename) std::filesystem::rename(file, work_.file("incom.htm"));
    ASSERT_TRUE(wait_for_text(save.said, save.times, 30)) << console();
    if (save.times == 1) from = listener_->notes().size();
    EXPECT_TRUE(wait_for_pitch(save.pitch, from, 15)) << "the result does not play";
  }

  watch.signal(SIGINT);
  EXPECT_EQ(watch.wait(10), 130);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(notes_left_sounding(listener_->received()), 0);
}

}  // namespace
}  // namespace zelvo::player
