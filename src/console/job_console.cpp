#include "console/job_console.h"

#include <cstdio>
#include <string>

#include "base/message_table.h"

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

void JobConsole::print(base::MessagePair pair, ...) {
  va_list args;
  va_start(args, pair);
  vprint(pair, args);
  va_end(args);
}

void JobConsole::vprint(base::MessagePair pair, va_list args) {
  const char* format = language() == base::kSpanish ? pair.spanish : pair.english;
  // A message longer than the buffer is cut, never written beyond it.
  std::vsnprintf(print_buffer_, sizeof print_buffer_, format, args);
  append_print_buffer();
}

void JobConsole::print(base::MessageId id, ...) {
  va_list args;
  va_start(args, id);
  vprint(texts_of(id), args);
  va_end(args);
}

void JobConsole::print(const base::Message& message) {
  // Cut as a formatted message is cut.
  std::snprintf(print_buffer_, sizeof print_buffer_, "%s", render(message, language()).c_str());
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
  std::snprintf(print_buffer_, sizeof print_buffer_, "%s", banner_text().c_str());
  append_print_buffer();
  if (store_.view() != nullptr) store_.view()->recompute_scroll(!control_.job_running());
}

void console_print(JobConsole& console, base::MessageId id, ...) {
  va_list args;
  va_start(args, id);
  console.vprint(texts_of(id), args);
  va_end(args);
}

void fail(JobConsole& console, base::MessageId id, ...) {
  va_list args;
  va_start(args, id);
  console.vprint(texts_of(id), args);
  va_end(args);
  console.abort_job();
}

void fail(JobConsole& console, const base::Message& message) {
  console.print(message);
  console.abort_job();
}

void fail_or_stop(JobConsole& console, base::MessageId id, ...) {
  va_list args;
  va_start(args, id);
  console.vprint(texts_of(id), args);
  va_end(args);
  console.check_stop();
  console.abort_job();
}

void fail_or_stop(JobConsole& console, const base::Message& message) {
  console.print(message);
  console.check_stop();
  console.abort_job();
}

}  // namespace zelvo::console
