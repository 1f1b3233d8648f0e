#include "console/job_console.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/cases.h"
#include "support/files.h"

namespace zelvo::console {
namespace {

// Line ends and tabs as written in the table.
std::string unescaped(const std::string& text) {
  return test::replace_all(test::replace_all(text, "\\n", "\n"), "\\t", "\t");
}
std::string escaped(const std::string& text) {
  return test::replace_all(test::replace_all(text, "\n", "\\n"), "\t", "\\t");
}

// One script of data/console/store_cases.txt, each line answered.
std::string run_script(const test::Case& c) {
  StandaloneConsole console;
  Console& store = console.store();
  std::string out;
  std::istringstream script(c.files.at(0).second);
  for (std::string line; std::getline(script, line);) {
    std::istringstream words(line);
    std::string op, text;
    words >> op;
    std::getline(words >> std::ws, text);
    std::string answer;
    if (op == "clear") {
      console.clear_console();
    } else if (op == "print") {
      console.print_text(unescaped(text));
    } else if (op == "bar") {
      console_print(console, base::MessageId::kEachBar, std::stoi(text));
    } else if (op == "spanish" || op == "english") {
      console.control().set_language(op == "spanish" ? base::kSpanish : base::kEnglish);
    } else if (op == "fill") {
      int32_t length = 0, line_length = 0;
      std::istringstream(text) >> length >> line_length;
      std::string filled(static_cast<size_t>(length), 'x');
      for (int32_t i = line_length; line_length > 0 && i < length; i += line_length + 1) filled[static_cast<size_t>(i)] = '\n';
      store.clear();
      store.append(filled.c_str());
    } else if (op == "many") {
      int count = 0, size = 0;
      char letter = 0;
      std::istringstream(text) >> count >> letter >> size;
      const std::string message(static_cast<size_t>(size), letter);
      for (int i = 0; i < count; ++i) console.print_text(message + "\n");
    } else if (op == "show") {
      answer = "\"" + escaped(test::without_version(store.contents())) + "\"";
    } else if (op == "first" || op == "last" || op == "end") {
      const char at = store.text()[op == "first" ? 0 : op == "last" ? store.length() - 1 : store.length()];
      answer = at == kLineEnd ? "line end" : std::string(1, at);
    } else {
      answer = "unknown operation";
    }
    out += line + " -> " + (answer.empty() ? "" : answer + "; ") + std::to_string(store.length()) + " characters, " +
           std::to_string(store.line_count()) + " lines\n";
  }
  return out;
}

TEST(ConsoleTest, StoreScriptsAsRecorded) {
  test::check_cases(test::test_data("console/store_cases.txt"), run_script);
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
  console.print_text("a7\n");
  console.print_text("b");
  EXPECT_EQ(view.seen, "a7\nb");
  EXPECT_EQ(view.paints, 2);
  EXPECT_FALSE(console.control().job_running());
}

}  // namespace
}  // namespace zelvo::console
