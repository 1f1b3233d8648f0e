#include "check/scratch_run.h"

namespace zelvo::check {

namespace {

// Progress lines the readers print on their way; they are left out.
constexpr const char* kProgress[] = {"\tProcess", "\tProces", "Reading variables", "Leyendo variables",
                                     "Compiling tables", "Compilando las tablas"};

bool is_progress(const std::string& line) {
  for (const char* prefix : kProgress) {
    if (line.rfind(prefix, 0) == 0) return true;
  }
  return false;
}

// `text` on one line, without progress lines.
std::string one_line(const std::string& text) {
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

// What a step prints on its way, as the command line would show it.
class Notes : public console::ConsoleView {
 public:
  void appended(std::string_view text) override { text_.append(text); }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace

std::string error_line(const console::Status& status, int32_t language) {
  return one_line(console::render(status.error(), language));
}

bool run_step(console::JobConsole& scratch, const std::function<console::Status()>& step, std::string& error) {
  scratch.clear_console();
  Notes notes;
  scratch.store().set_view(&notes);
  scratch.control().set_job_running(true);
  const console::Status status = step();
  scratch.control().set_job_running(false);
  scratch.store().set_view(nullptr);
  if (status.ok()) return true;
  error = one_line(notes.text() + console::render(status.error(), scratch.language()));
  return false;
}

}  // namespace zelvo::check
