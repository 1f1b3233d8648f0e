#pragma once

#include <string_view>

namespace zelvo::console {

// What the console asks of whatever shows it. Every call comes from the
// thread that prints (the job thread, or the window's thread when no job
// runs) and returns only when the request is done, so the job waits for
// the paint.
class ConsoleView {
 public:
  virtual ~ConsoleView() = default;

  // The bytes of one message as they were appended (Windows-1252, a newline
  // for each line end). The command line writes them out; a window ignores
  // them and paints the store instead.
  virtual void appended(std::string_view text) { (void)text; }

  // Paint at once. In follow-the-end mode the newest lines that fit are
  // drawn and the scroll position goes to the end.
  virtual void paint(bool follow_end) { (void)follow_end; }

  // Recompute the scroll range (and, in follow-the-end mode, the position).
  virtual void recompute_scroll(bool follow_end) { (void)follow_end; }
};

}  // namespace zelvo::console
