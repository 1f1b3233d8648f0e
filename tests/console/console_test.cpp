#include "console/console.h"

#include <gtest/gtest.h>

#include <string>

namespace zelvo::console {
namespace {

std::string banner() {
  return "\n  - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -\n"
         "  Zelvo 1.160611\n\n";
}

TEST(ConsoleTest, BannerBytesAndLineCount) {
  Console console;
  console.clear_console();
  EXPECT_EQ(console.contents(), banner());
  EXPECT_EQ(console.line_count(), 4);
}

TEST(ConsoleTest, EraseLeavesOnlyTheBanner) {
  Console console;
  console.clear_console();
  console_print(console, same_text("hello\n"));
  console.clear_console();
  EXPECT_EQ(console.contents(), banner());
}

TEST(ConsoleTest, TabAndLettersCountCharactersAndOneLine) {
  Console console;
  console_print(console, same_text("a\tb\n"));
  EXPECT_EQ(console.length(), 4);
  EXPECT_EQ(console.line_count(), 1);
  EXPECT_EQ(console.text()[3], kLineEnd);
}

TEST(ConsoleTest, MessageWithoutNewlineLeavesLineOpen) {
  Console console;
  console_print(console, same_text("ab"));
  console_print(console, same_text("cd\n"));
  EXPECT_EQ(console.contents(), "abcd\n");
  EXPECT_EQ(console.line_count(), 1);
}

TEST(ConsoleTest, LanguageIsChosenAtPrintTime) {
  Console console;
  const MessagePair pair{"one %d\n", "uno %d\n"};
  console_print(console, pair, 1);
  console.set_language(kSpanish);
  console_print(console, pair, 2);
  console.set_language(kEnglish);
  console_print(console, pair, 3);
  EXPECT_EQ(console.contents(), "one 1\nuno 2\none 3\n");
}

TEST(ConsoleTest, NoTrimAtThreshold) {
  Console console;
  console.fill_for_test(kTrimThreshold, 99);
  const int lines = console.line_count();
  console_print(console, same_text("z\n"));
  EXPECT_EQ(console.length(), kTrimThreshold + 2);
  EXPECT_EQ(console.line_count(), lines + 1);
}

TEST(ConsoleTest, TrimJustAboveThresholdDropsWholeLinesBeyond800) {
  Console console;
  // Lines of 99 characters and a terminator: terminators at 99, 199, ... 899.
  console.fill_for_test(kTrimThreshold + 1, 99);
  const int lines = console.line_count();
  console_print(console, same_text("z\n"));
  // Everything up to and including the terminator at 899 leaves: 900 characters, 9 lines.
  EXPECT_EQ(console.length(), kTrimThreshold + 1 - 900 + 2);
  EXPECT_EQ(console.line_count(), lines - 9 + 1);
  EXPECT_EQ(console.text()[0], 'x');
}

TEST(ConsoleTest, TrimWithoutLineEndAfter801RemovesEverything) {
  Console console;
  console.fill_for_test(kTrimThreshold + 1, 0);  // one open line, no terminator
  console_print(console, same_text("z\n"));
  EXPECT_EQ(console.contents(), "z\n");
  EXPECT_EQ(console.line_count(), 1);
}

TEST(ConsoleTest, TrimKeepsLineCountAtLeastOne) {
  Console console;
  console.fill_for_test(kTrimThreshold + 1, 99);
  console.fill_for_test(kTrimThreshold + 1, 0);
  console_print(console, same_text("z"));
  EXPECT_GE(console.line_count(), 0);
}

TEST(ConsoleTest, LongMessageNearTheEndNeverOverflows) {
  Console console;
  console.fill_for_test(kTrimThreshold, 99);
  const std::string long_text(1990, 'y');
  for (int i = 0; i < 50; ++i) console_print(console, same_text("%s\n"), long_text.c_str());
  EXPECT_LT(console.length(), kConsoleSize);
  EXPECT_EQ(console.text()[console.length()], kLineEnd);
}

TEST(ConsoleTest, OverlongMessageIsCutToThePrintBuffer) {
  Console console;
  const std::string huge(5000, 'q');
  console_print(console, same_text("%s"), huge.c_str());
  EXPECT_EQ(console.length(), kPrintBufferSize - 1);
}

TEST(ConsoleTest, StopTakesEffectOnlyWhileAJobRuns) {
  Console console;
  console.request_stop();
  EXPECT_FALSE(console.stop_requested());
  EXPECT_NO_THROW(console.check_stop());
  console.set_job_running(true);
  console.request_stop();
  EXPECT_TRUE(console.stop_requested());
  try {
    console.check_stop();
    FAIL() << "check_stop returned";
  } catch (const JobEnded& ended) {
    EXPECT_EQ(ended.outcome, JobOutcome::kStopped);
  }
  EXPECT_FALSE(console.stop_requested());
  EXPECT_FALSE(console.job_running());
  EXPECT_EQ(console.contents(), "\n\nCOMPILATION STOPPED BY USER\n\n");
}

TEST(ConsoleTest, AbortPrintsInSpanishWithoutAccent) {
  Console console;
  console.set_language(kSpanish);
  console.set_job_running(true);
  EXPECT_THROW(console.abort_job(), JobEnded);
  EXPECT_EQ(console.contents(), "\n\nERROR: ABORTANDO COMPILACION\n\n\n\n\n");
  EXPECT_FALSE(console.job_running());
}

class RecordingView : public ConsoleView {
 public:
  void appended(std::string_view text) override { seen += text; }
  void paint(bool follow_end) override { paints += follow_end ? 1 : 0; }
  std::string seen;
  int paints = 0;
};

TEST(ConsoleTest, ViewSeesEachMessageAndPaintsInFollowMode) {
  Console console;
  RecordingView view;
  console.set_view(&view);
  console_print(console, same_text("a%d\n"), 7);
  console_print(console, same_text("b"));
  EXPECT_EQ(view.seen, "a7\nb");
  EXPECT_EQ(view.paints, 2);
  EXPECT_FALSE(console.job_running());
}

}  // namespace
}  // namespace zelvo::console
