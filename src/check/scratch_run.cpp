#include "check/scratch_run.h"

#include "console/job_end.h"
#include "console/message_table.h"

namespace zelvo::check {

namespace {

// Progress lines the readers print on their way; the error is the rest.
constexpr const char* kProgress[] = {"\tProcess", "\tProces", "Reading variables", "Leyendo variables",
                                     "Compiling tables", "Compilando las tablas"};

bool is_progress(const std::string& line) {
  for (const char* prefix : kProgress) {
    if (line.rfind(prefix, 0) == 0) return true;
  }
  return false;
}

// The error message on one line, without the abort banner and progress.
std::string error_text(const std::string& printed, const std::string& abort_text) {
  std::string text = printed;
  const size_t abort_at = text.rfind(abort_text);
  if (!abort_text.empty() && abort_at != std::string::npos) text.erase(abort_at);
  std::string kept;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    if (!is_progress(line)) kept += line + ' ';
    start = end + 1;
  }
  std::string line;
  for (char c : kept) {
    if (c == '\t') c = ' ';
    if (c == ' ' && (line.empty() || line.back() == ' ')) continue;
    line += c;
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return " " + line;
}

// What a step prints, as the command line would show it.
class Transcript : public console::ConsoleView {
 public:
  void appended(std::string_view text) override { text_.append(text); }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace

bool run_step(console::JobConsole& scratch, const std::function<console::Status()>& step, std::string& error) {
  scratch.clear_console();
  Transcript transcript;
  scratch.store().set_view(&transcript);
  scratch.control().set_job_running(true);
  console::Status status;
  bool ended = false;
  try {
    status = step();
  } catch (const console::JobEnded&) {
    // A step that still prints its error and aborts (the configuration, a
    // score that cannot be opened): its message is what it printed.
    ended = true;
  }
  scratch.control().set_job_running(false);
  scratch.store().set_view(nullptr);
  if (ended) {
    const console::MessagePair abort_pair = console::texts_of(console::MessageId::kAbortMessage);
    error = error_text(transcript.text(), scratch.language() == console::kSpanish ? abort_pair.spanish
                                                                                    : abort_pair.english);
    return false;
  }
  if (status.ok()) return true;
  error = error_text(transcript.text() + console::render(status.error(), scratch.language()), std::string());
  return false;
}

bool run_on_scratch(console::JobConsole& scratch, const std::function<void()>& body, std::string& error) {
  return run_step(
      scratch,
      [&] {
        body();
        return console::Status();
      },
      error);
}

}  // namespace zelvo::check
