#include "console/job_console.h"

#include <gtest/gtest.h>

#include <string>

namespace zelvo::console {
namespace {

std::string banner() {
  return "\n  - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -\n"
         "  Zelvo 1.160611\n\n";
}

// The store filled to `length` characters of 'x' through the public API, a
// line end after every `line_length` characters (none when 0).
void fill(Console& store, int32_t length, int32_t line_length) {
  std::string text(static_cast<size_t>(length), 'x');
  for (int32_t i = line_length; line_length > 0 && i < length; i += line_length + 1) text[static_cast<size_t>(i)] = '\n';
  store.clear();
  store.append(text.c_str());
}

TEST(ConsoleTest, BannerBytesAndLineCount) {
  StandaloneConsole console;
  console.clear_console();
  EXPECT_EQ(console.store().contents(), banner());
  EXPECT_EQ(console.store().line_count(), 4);
}

TEST(ConsoleTest, EraseLeavesOnlyTheBanner) {
  StandaloneConsole console;
  console.clear_console();
  console_print(console, base::same_text("hello\n"));
  console.clear_console();
  EXPECT_EQ(console.store().contents(), banner());
}

TEST(ConsoleTest, TabAndLettersCountCharactersAndOneLine) {
  StandaloneConsole console;
  console_print(console, base::same_text("a\tb\n"));
  EXPECT_EQ(console.store().length(), 4);
  EXPECT_EQ(console.store().line_count(), 1);
  EXPECT_EQ(console.store().text()[3], kLineEnd);
}

TEST(ConsoleTest, MessageWithoutNewlineLeavesLineOpen) {
  StandaloneConsole console;
  console_print(console, base::same_text("ab"));
  console_print(console, base::same_text("cd\n"));
  EXPECT_EQ(console.store().contents(), "abcd\n");
  EXPECT_EQ(console.store().line_count(), 1);
}

TEST(ConsoleTest, LanguageIsChosenAtPrintTime) {
  StandaloneConsole console;
  const base::MessagePair pair{"one %d\n", "uno %d\n"};
  console_print(console, pair, 1);
  console.control().set_language(base::kSpanish);
  console_print(console, pair, 2);
  console.control().set_language(base::kEnglish);
  console_print(console, pair, 3);
  EXPECT_EQ(console.store().contents(), "one 1\nuno 2\none 3\n");
}

TEST(ConsoleTest, NoTrimAtThreshold) {
  StandaloneConsole console;
  fill(console.store(), kTrimThreshold, 99);
  const int lines = console.store().line_count();
  console_print(console, base::same_text("z\n"));
  EXPECT_EQ(console.store().length(), kTrimThreshold + 2);
  EXPECT_EQ(console.store().line_count(), lines + 1);
}

TEST(ConsoleTest, TrimJustAboveThresholdDropsWholeLinesBeyond800) {
  StandaloneConsole console;
  // Lines of 99 characters and a terminator: terminators at 99, 199, ... 899.
  fill(console.store(), kTrimThreshold + 1, 99);
  const int lines = console.store().line_count();
  console_print(console, base::same_text("z\n"));
  // Everything up to and including the terminator at 899 leaves: 900 characters, 9 lines.
  EXPECT_EQ(console.store().length(), kTrimThreshold + 1 - 900 + 2);
  EXPECT_EQ(console.store().line_count(), lines - 9 + 1);
  EXPECT_EQ(console.store().text()[0], 'x');
}

TEST(ConsoleTest, TrimWithoutLineEndAfter801RemovesEverything) {
  StandaloneConsole console;
  fill(console.store(), kTrimThreshold + 1, 0);  // one open line, no terminator
  console_print(console, base::same_text("z\n"));
  EXPECT_EQ(console.store().contents(), "z\n");
  EXPECT_EQ(console.store().line_count(), 1);
}

TEST(ConsoleTest, TrimKeepsLineCountAtLeastOne) {
  StandaloneConsole console;
  fill(console.store(), kTrimThreshold + 1, 99);
  fill(console.store(), kTrimThreshold + 1, 0);
  console_print(console, base::same_text("z"));
  EXPECT_GE(console.store().line_count(), 0);
}

TEST(ConsoleTest, LongMessageNearTheEndNeverOverflows) {
  StandaloneConsole console;
  fill(console.store(), kTrimThreshold, 99);
  const std::string long_text(1990, 'y');
  for (int i = 0; i < 50; ++i) console_print(console, base::same_text("%s\n"), long_text.c_str());
  EXPECT_LT(console.store().length(), kConsoleSize);
  EXPECT_EQ(console.store().text()[console.store().length()], kLineEnd);
}

TEST(ConsoleTest, OverlongMessageIsCutToThePrintBuffer) {
  StandaloneConsole console;
  const std::string huge(5000, 'q');
  console_print(console, base::same_text("%s"), huge.c_str());
  EXPECT_EQ(console.store().length(), kPrintBufferSize - 1);
}

TEST(ConsoleTest, StopTakesEffectOnlyWhileAJobRuns) {
  StandaloneConsole console;
  console.control().request_stop();
  EXPECT_FALSE(console.control().stop_requested());
  EXPECT_NO_THROW(console.check_stop());
  console.control().set_job_running(true);
  console.control().request_stop();
  EXPECT_TRUE(console.control().stop_requested());
  try {
    console.check_stop();
    FAIL() << "check_stop returned";
  } catch (const JobEnded& ended) {
    EXPECT_EQ(ended.outcome, JobOutcome::kStopped);
  }
  EXPECT_FALSE(console.control().stop_requested());
  EXPECT_FALSE(console.control().job_running());
  EXPECT_EQ(console.store().contents(), "\n\nCOMPILATION STOPPED BY USER\n\n");
}

TEST(ConsoleTest, AbortPrintsInSpanishWithoutAccent) {
  StandaloneConsole console;
  console.control().set_language(base::kSpanish);
  console.control().set_job_running(true);
  EXPECT_THROW(console.abort_job(), JobEnded);
  EXPECT_EQ(console.store().contents(), "\n\nERROR: ABORTANDO COMPILACION\n\n\n\n\n");
  EXPECT_FALSE(console.control().job_running());
}

class RecordingView : public ConsoleView {
 public:
  void appended(std::string_view text) override { seen += text; }
  void paint(bool follow_end) override { paints += follow_end ? 1 : 0; }
  std::string seen;
  int paints = 0;
};

TEST(ConsoleTest, ViewSeesEachMessageAndPaintsInFollowMode) {
  StandaloneConsole console;
  RecordingView view;
  console.store().set_view(&view);
  console_print(console, base::same_text("a%d\n"), 7);
  console_print(console, base::same_text("b"));
  EXPECT_EQ(view.seen, "a7\nb");
  EXPECT_EQ(view.paints, 2);
  EXPECT_FALSE(console.control().job_running());
}

}  // namespace
}  // namespace zelvo::console
