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

std::string error_line(const console::Status& status, int32_t language) {
  return one_line(console::render(status.error(), language));
}

bool run_step(console::JobConsole& scratch, const std::function<console::Status()>& step, std::string& error) {
  std::vector<console::Message> notes;
  scratch.keep_notes(&notes);
  const console::Status status = step();
  scratch.keep_notes(nullptr);
  if (status.ok()) return true;
  std::string text;
  for (const console::Message& note : notes) text += console::render(note, scratch.language());
  error = one_line(text + console::render(status.error(), scratch.language()));
  return false;
}

}  // namespace zelvo::check
