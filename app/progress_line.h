#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "shell/unit_watch.h"

namespace zelvo::app {

// The command line's "still working" line: when the harmonizer has spent
// more than a second on one unit, a line on standard error names the bar
// and the unit's lines, rewritten in place with \r. Only when standard
// error is a terminal; the console text on standard output is untouched.
// The line overwrites the console's unfinished last line on the screen for
// a moment, so that line is put back when the progress line goes.
class ProgressLine {
 public:
  explicit ProgressLine(const shell::UnitWatch& watch) : watch_(watch) {}
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // Starts watching (does nothing unless standard error is a terminal).
  // `language` is read at every refresh.
  void start(std::function<int32_t()> language);
  // Stops watching and clears the line.
  void stop();

  // Writes console text (UTF-8) to standard output, clearing the progress
  // line first if it is shown.
  void print(std::string_view utf8);

 private:
  void run();
  void clear_locked();

  const shell::UnitWatch& watch_;
  std::function<int32_t()> language_;
  std::mutex lock_;
  std::condition_variable wake_;
  bool stopping_ = false;
  bool shown_ = false;
  bool restore_tail_ = false;  // standard output is the same kind of screen
  std::string shown_text_;
  std::string tail_;           // console text after its last line break
  std::thread ticker_;
};

}  // namespace zelvo::app
