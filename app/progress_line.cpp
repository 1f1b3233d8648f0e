#include "progress_line.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace zelvo::app {

namespace {

constexpr std::chrono::milliseconds kRefresh{250};
constexpr const char* kClearLine = "\r\033[K";
constexpr size_t kMaxTail = 4096;

}  // namespace

ProgressLine::~ProgressLine() { stop(); }

void ProgressLine::start(std::function<int32_t()> language) {
  if (ticker_.joinable() || isatty(STDERR_FILENO) == 0) return;
  language_ = std::move(language);
  restore_tail_ = isatty(STDOUT_FILENO) != 0;
  stopping_ = false;
  ticker_ = std::thread([this] { run(); });
}

void ProgressLine::stop() {
  {
    const std::lock_guard<std::mutex> guard(lock_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (ticker_.joinable()) ticker_.join();
  const std::lock_guard<std::mutex> guard(lock_);
  clear_locked();
}

void ProgressLine::print(std::string_view utf8) {
  const std::lock_guard<std::mutex> guard(lock_);
  clear_locked();
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fflush(stdout);
  const size_t line_break = utf8.rfind('\n');
  if (line_break == std::string_view::npos) {
    tail_.append(utf8);
  } else {
    tail_.assign(utf8.substr(line_break + 1));
  }
  if (tail_.size() > kMaxTail) tail_.erase(0, tail_.size() - kMaxTail);
}

void ProgressLine::clear_locked() {
  if (!shown_) return;
  std::fputs(kClearLine, stderr);
  if (restore_tail_) std::fwrite(tail_.data(), 1, tail_.size(), stderr);
  std::fflush(stderr);
  shown_ = false;
}

void ProgressLine::run() {
  std::unique_lock<std::mutex> guard(lock_);
  while (!stopping_) {
    wake_.wait_for(guard, kRefresh);
    if (stopping_) break;
    shell::LongUnit unit;
    if (watch_.long_unit(std::chrono::steady_clock::now(), unit)) {
      const std::string text = shell::long_unit_text(unit, language_());
      if (shown_ && text == shown_text_) continue;
      std::fputs(kClearLine, stderr);
      std::fputs(text.c_str(), stderr);
      std::fflush(stderr);
      shown_ = true;
      shown_text_ = text;
    } else {
      clear_locked();
    }
  }
}

}  // namespace zelvo::app
