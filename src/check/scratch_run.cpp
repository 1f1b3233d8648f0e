#include "check/scratch_run.h"

#include <vector>

namespace zelvo::check {

namespace {

// `text` on one line: line ends and tabs become spaces, runs of them one.
std::string one_line(const std::string& text) {
  std::string line;
  for (char c : text) {
    if (c == '\n' || c == '\t') c = ' ';
    if (c == ' ' && (line.empty() || line.back() == ' ')) continue;
    line += c;
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return " " + line;
}

}  // namespace

std::string error_line(const base::Status& status, int32_t language) {
  return one_line(base::render(status.error(), language));
}

bool run_step(console::JobConsole& scratch, const std::function<base::Status()>& step, std::string& error) {
  std::vector<base::Message> notes;
  scratch.keep_notes(&notes);
  const base::Status status = step();
  scratch.keep_notes(nullptr);
  if (status.ok()) return true;
  std::string text;
  for (const base::Message& note : notes) text += base::render(note, scratch.language());
  error = one_line(text + base::render(status.error(), scratch.language()));
  return false;
}

}  // namespace zelvo::check
