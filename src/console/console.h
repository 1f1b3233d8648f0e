#pragma once

#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <mutex>
#include <string>

#include "console/console_view.h"
#include "console/job_end.h"
#include "console/message.h"
#include "console/message_id.h"
#include "console/status.h"

namespace zelvo::console {

constexpr int32_t kConsoleSize = 70000;     // characters in the console store
constexpr int32_t kPrintBufferSize = 2000;  // one formatted message, terminator included
constexpr int32_t kTrimThreshold = 69200;   // a longer console drops lines first
constexpr int32_t kTrimKeepFrom = 800;      // whole lines up to the first end beyond this go
constexpr char kLineEnd = '\0';             // line terminator inside the store

constexpr const char* kProductName = "Zelvo";
constexpr const char* kVersion = "1.160611";


// The scrolling text every job prints to, with the flags that the window's
// thread and the job thread share.
//
// The store holds lines one after another, each ended by kLineEnd; the line
// being built is followed by a terminator too. Only the printing thread
// writes it; a reader (the window's paint) takes `store_lock` so it never
// sees a half-moved store.
class Console {
 public:
  Console();
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  void set_view(ConsoleView* view) { view_ = view; }

  // Formats the text of `pair` chosen by the language flag now and appends it.
  void print(MessagePair pair, ...);
  void vprint(MessagePair pair, va_list args);
  // The same for the message of this name.
  void print(MessageId id, ...);
  // Appends `message` in the language of the moment.
  void print(const Message& message);

  // Appends the print buffer's text (see print) and repaints.
  void append_print_buffer();

  // Ends the job with the stop message when Stop was pressed; else returns.
  void check_stop();
  // Prints the abort message and ends the job. Never returns.
  [[noreturn]] void abort_job();
  // Invalidates and repaints the view and clears the job-running flag.
  void finish_job();
  void refresh_console();
  // Empties the store and prints the start banner.
  void clear_console();

  // The Stop command: takes effect only while a job runs.
  void request_stop();

  int32_t language() const { return language_.load(std::memory_order_relaxed); }
  void set_language(int32_t language) { language_.store(language, std::memory_order_relaxed); }
  bool job_running() const { return job_running_.load() != 0; }
  void set_job_running(bool running) { job_running_.store(running ? 1 : 0); }
  bool stop_requested() const { return stop_request_.load() != 0; }
  void clear_stop_request() { stop_request_.store(0); }

  // Reading the store (the window's paint, tests). Hold store_lock() while
  // reading text().
  std::mutex& store_lock() const { return store_lock_; }
  const char* text() const { return text_; }
  int32_t length() const { return length_; }
  int32_t line_count() const { return line_count_; }

  // The whole store as text with every terminator turned into a newline.
  std::string contents() const;

  // Test hook: fill the store to `length` characters of `fill`, a line end
  // after every `line_length` characters.
  void fill_for_test(int32_t length, int32_t line_length, char fill = 'x');

 private:
  void trim_front();
  void append_text(const char* text);

  char text_[kConsoleSize];
  int32_t length_ = 0;
  int32_t line_count_ = 0;
  char print_buffer_[kPrintBufferSize];
  std::atomic<int32_t> language_{kEnglish};
  std::atomic<int32_t> job_running_{0};
  std::atomic<int32_t> stop_request_{0};
  ConsoleView* view_ = nullptr;
  mutable std::mutex store_lock_;
};

// The free operations every job calls.
inline void console_print(Console& console, MessagePair pair, ...) {
  va_list args;
  va_start(args, pair);
  console.vprint(pair, args);
  va_end(args);
}
void console_print(Console& console, MessageId id, ...);
inline void check_stop(Console& console) { console.check_stop(); }
[[noreturn]] inline void abort_job(Console& console) { console.abort_job(); }
inline void finish_job(Console& console) { console.finish_job(); }
inline void refresh_console(Console& console) { console.refresh_console(); }
inline void clear_console(Console& console) { console.clear_console(); }

// Prints `pair` and aborts: the pattern of every fatal error.
[[noreturn]] void fail(Console& console, MessagePair pair, ...);
[[noreturn]] void fail(Console& console, MessageId id, ...);
// Prints the message a step stopped with, and aborts.
[[noreturn]] void fail(Console& console, const Message& message);
// The same, but a stop request pending after the message wins over the
// abort (the harmonizer's stages end this way).
[[noreturn]] void fail_or_stop(Console& console, MessagePair pair, ...);
[[noreturn]] void fail_or_stop(Console& console, MessageId id, ...);
[[noreturn]] void fail_or_stop(Console& console, const Message& message);

}  // namespace zelvo::console
