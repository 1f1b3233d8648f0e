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

class RecordingView : public ConsoleView {
 public:
  void appended(std::string_view text) override { seen += text; }
  void paint(bool follow_end) override { paints += follow_end ? 1 : 0; }
  std::string seen;
  int paints = 0;
};

// One script of data/console/store_cases.txt, each line answered: "job",
// "stop", "check" and "abort" run a job's stop and abort and answer with the
// job's state after; "view" shows the store in a RecordingView, and "seen"
// answers what it saw.
std::string run_script(const test::Case& c) {
  StandaloneConsole console;
  Console& store = console.store();
  RecordingView view;
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
    } else if (op == "view") {
      store.set_view(&view);
    } else if (op == "seen") {
      answer = "\"" + escaped(view.seen) + "\", " + std::to_string(view.paints) + " paints in follow mode";
    } else if (op == "job") {
      console.control().set_job_running(true);
    } else if (op == "stop") {
      console.control().request_stop();
    } else if (op == "check" || op == "abort") {
      try {
        op == "check" ? console.check_stop() : console.abort_job();
        answer = "goes on";
      } catch (const JobEnded& ended) {
        answer = ended.outcome == JobOutcome::kStopped ? "ended stopped" : ended.outcome == JobOutcome::kAborted ? "ended aborted" : "ended";
      }
    } else {
      answer = "unknown operation";
    }
    if (op == "job" || op == "stop" || op == "check" || op == "abort") {
      answer += std::string(answer.empty() ? "" : ", ") + (console.control().job_running() ? "job running" : "no job") +
                (console.control().stop_requested() ? ", stop requested" : "");
    }
    out += line + " -> " + (answer.empty() ? "" : answer + "; ") + std::to_string(store.length()) + " characters, " +
           std::to_string(store.line_count()) + " lines\n";
  }
  store.set_view(nullptr);
  return out;
}

TEST(ConsoleTest, StoreScriptsAsRecorded) {
  test::check_cases(test::test_data("console/store_cases.txt"), run_script);
}

}  // namespace
}  // namespace zelvo::console
