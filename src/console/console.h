#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "console/console_view.h"

namespace zelvo::console {

constexpr int32_t kConsoleSize = 70000;     // characters in the console store
constexpr int32_t kTrimThreshold = 69200;   // a longer console drops lines first
constexpr int32_t kTrimKeepFrom = 800;      // whole lines up to the first end beyond this go
constexpr char kLineEnd = '\0';             // line terminator inside the store

constexpr const char* kProductName = "Zelvo";
constexpr const char* kVersion = "1.160611";

// The scrolling text jobs print to (through a JobConsole), and the view
// that shows it.
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
  ConsoleView* view() const { return view_; }

  // Appends `text` (a newline ends a line) and hands it to the view; the
  // oldest lines go first when the store is nearly full.
  void append(const char* text);
  // Empties the store.
  void clear();

  // Reading the store (the window's paint, tests). Hold store_lock() while
  // reading text().
  std::mutex& store_lock() const { return store_lock_; }
  const char* text() const { return text_; }
  int32_t length() const { return length_; }
  int32_t line_count() const { return line_count_; }

  // The whole store as text with every terminator turned into a newline.
  std::string contents() const;

 private:
  void trim_front();
  void append_text(const char* text);

  char text_[kConsoleSize];
  int32_t length_ = 0;
  int32_t line_count_ = 0;
  ConsoleView* view_ = nullptr;
  mutable std::mutex store_lock_;
};

}  // namespace zelvo::console
