#include "console/console.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "console/message_table.h"

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

Console::Console() {
  text_[0] = kLineEnd;
  print_buffer_[0] = '\0';
}

void Console::print(MessagePair pair, ...) {
  va_list args;
  va_start(args, pair);
  vprint(pair, args);
  va_end(args);
}

void Console::vprint(MessagePair pair, va_list args) {
  const char* format = language() == kSpanish ? pair.spanish : pair.english;
  // A message longer than the buffer is cut, never written beyond it.
  std::vsnprintf(print_buffer_, sizeof print_buffer_, format, args);
  append_print_buffer();
}

void Console::print(MessageId id, ...) {
  va_list args;
  va_start(args, id);
  vprint(texts_of(id), args);
  va_end(args);
}

void Console::print(const Message& message) {
  // Cut as a formatted message is cut.
  std::snprintf(print_buffer_, sizeof print_buffer_, "%s", render(message, language()).c_str());
  append_print_buffer();
}

void Console::append_print_buffer() {
  append_text(print_buffer_);
  if (view_ != nullptr) view_->appended(print_buffer_);
  refresh_console();
}

// Drops whole lines from the front: everything up to and including the first
// terminator beyond kTrimKeepFrom. The line count never falls below 1 here.
void Console::trim_front() {
  int32_t end = kTrimKeepFrom + 1;
  while (end < length_ && text_[end] != kLineEnd) ++end;
  // The terminator at the current length always exists; past it nothing is
  // stored, so the scan never leaves the store.
  for (int32_t i = 0; i <= end; ++i) {
    if (text_[i] == kLineEnd && line_count_ > 1) --line_count_;
  }
  const int32_t removed = end + 1;
  const int32_t kept = std::max(0, length_ - removed);
  std::memmove(text_, text_ + removed, static_cast<size_t>(kConsoleSize - removed));
  length_ = kept;
  text_[length_] = kLineEnd;
}

void Console::append_text(const char* text) {
  const auto size = static_cast<int32_t>(std::strlen(text));
  std::lock_guard<std::mutex> lock(store_lock_);
  if (length_ > kTrimThreshold) trim_front();
  // A message longer than the room the rule leaves drops more whole lines,
  // so nothing is ever stored beyond the last character of the store.
  while (length_ > 0 && length_ + size >= kConsoleSize) trim_front();
  for (int32_t i = 0; i < size && length_ + 1 < kConsoleSize; ++i) {
    if (text[i] == '\n') {
      text_[length_++] = kLineEnd;
      ++line_count_;
    } else {
      text_[length_++] = text[i];
    }
    text_[length_] = kLineEnd;
  }
}

void Console::refresh_console() {
  const int32_t was_running = job_running_.exchange(1);
  if (view_ != nullptr) {
    view_->paint(true);
    view_->recompute_scroll(true);
  }
  job_running_.store(was_running);
  if (was_running == 0 && view_ != nullptr) view_->recompute_scroll(false);
}

void Console::check_stop() {
  if (stop_request_.load() == 0) return;
  print(MessageId::kStopMessage);
  finish_job();
  clear_stop_request();
  throw JobEnded{JobOutcome::kStopped};
}

void Console::abort_job() {
  print(MessageId::kAbortMessage);
  finish_job();
  clear_stop_request();
  // Unwinding closes every file the job holds open.
  throw JobEnded{JobOutcome::kAborted};
}

void Console::finish_job() {
  if (view_ != nullptr) view_->recompute_scroll(false);
  set_job_running(false);
  refresh_console();
}

void Console::clear_console() {
  {
    std::lock_guard<std::mutex> lock(store_lock_);
    length_ = 0;
    line_count_ = 0;
    text_[0] = kLineEnd;
  }
  std::snprintf(print_buffer_, sizeof print_buffer_, "%s", banner_text().c_str());
  append_print_buffer();
  if (view_ != nullptr) view_->recompute_scroll(!job_running());
}

void Console::request_stop() {
  if (job_running()) stop_request_.store(1);
}

std::string Console::contents() const {
  std::lock_guard<std::mutex> lock(store_lock_);
  std::string out(text_, static_cast<size_t>(length_));
  std::replace(out.begin(), out.end(), kLineEnd, '\n');
  return out;
}

void Console::fill_for_test(int32_t length, int32_t line_length, char fill) {
  std::lock_guard<std::mutex> lock(store_lock_);
  length = std::clamp(length, 0, kConsoleSize - 1);
  line_count_ = 0;
  for (int32_t i = 0; i < length; ++i) {
    const bool line_end = line_length > 0 && (i + 1) % (line_length + 1) == 0;
    text_[i] = line_end ? kLineEnd : fill;
    if (line_end) ++line_count_;
  }
  length_ = length;
  text_[length_] = kLineEnd;
}

void fail(Console& console, MessagePair pair, ...) {
  va_list args;
  va_start(args, pair);
  console.vprint(pair, args);
  va_end(args);
  console.abort_job();
}

void console_print(Console& console, MessageId id, ...) {
  va_list args;
  va_start(args, id);
  console.vprint(texts_of(id), args);
  va_end(args);
}

void fail(Console& console, MessageId id, ...) {
  va_list args;
  va_start(args, id);
  console.vprint(texts_of(id), args);
  va_end(args);
  console.abort_job();
}

void fail(Console& console, const Message& message) {
  console.print(message);
  console.abort_job();
}

void fail_or_stop(Console& console, MessageId id, ...) {
  va_list args;
  va_start(args, id);
  console.vprint(texts_of(id), args);
  va_end(args);
  console.check_stop();
  console.abort_job();
}

void fail_or_stop(Console& console, const Message& message) {
  console.print(message);
  console.check_stop();
  console.abort_job();
}

void fail_or_stop(Console& console, MessagePair pair, ...) {
  va_list args;
  va_start(args, pair);
  console.vprint(pair, args);
  va_end(args);
  console.check_stop();
  console.abort_job();
}

}  // namespace zelvo::console
