#include "console/job_console.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace zelvo::console {

namespace {

// Empty line, a rule of 40 dashes, the product and version, empty line.
std::string banner_text() {
  std::string rule = "  ";
  for (int i = 0; i < 40; ++i) {
    rule += '-';
    if (i < 39) rule += ' ';
  }
  return "\n" + rule + "\n  " + kProductName + " " + kVersion + "\n\n";
}

}  // namespace

JobConsole::JobConsole(Console& store, JobControl& control) : store_(store), control_(control) {
  print_buffer_[0] = '\0';
}

void JobConsole::print(const base::Message& message) { print_text(base::render(message, language())); }

void JobConsole::print_text(std::string_view text) {
  // A message longer than the buffer is cut, never written beyond it; the
  // store takes text up to its first NUL, as it took printf's output.
  const size_t kept = std::min(text.size(), sizeof print_buffer_ - 1);
  std::memcpy(print_buffer_, text.data(), kept);
  print_buffer_[kept] = '\0';
  append_print_buffer();
}

void JobConsole::note(const base::Message& note) {
  if (kept_notes_ != nullptr) kept_notes_->push_back(note);
  print(note);
}

void JobConsole::append_print_buffer() {
  store_.append(print_buffer_);
  refresh_console();
}

void JobConsole::refresh_console() {
  ConsoleView* view = store_.view();
  // While the view paints, it sees a job running: it follows the end.
  const bool was_running = control_.exchange_job_running(true);
  if (view != nullptr) {
    view->paint(true);
    view->recompute_scroll(true);
  }
  control_.set_job_running(was_running);
  if (!was_running && view != nullptr) view->recompute_scroll(false);
}

void JobConsole::check_stop() {
  if (!control_.stop_requested()) return;
  print(base::MessageId::kStopMessage);
  finish_job();
  control_.clear_stop_request();
  throw JobEnded{JobOutcome::kStopped};
}

void JobConsole::abort_job() {
  print(base::MessageId::kAbortMessage);
  finish_job();
  control_.clear_stop_request();
  // Unwinding closes every file the job holds open.
  throw JobEnded{JobOutcome::kAborted};
}

void JobConsole::finish_job() {
  if (store_.view() != nullptr) store_.view()->recompute_scroll(false);
  control_.set_job_running(false);
  refresh_console();
}

void JobConsole::clear_console() {
  store_.clear();
  print_text(banner_text());
  if (store_.view() != nullptr) store_.view()->recompute_scroll(!control_.job_running());
}

void fail(JobConsole& console, const base::Message& message) {
  console.print(message);
  console.abort_job();
}

void fail_or_stop(JobConsole& console, const base::Message& message) {
  console.print(message);
  console.check_stop();
  console.abort_job();
}

}  // namespace zelvo::console
