#pragma once

#include "base/status.h"

namespace zelvo::base {

// Where the progress of a reader, a compiler or the engine goes: the lines a
// job shows on its console as it goes (in the order shown), and the points
// where a pending Stop ends the job. The job's console implements it; the
// steps that take it never print and know no console.
class ProgressLines {
 public:
  virtual ~ProgressLines() = default;
  // One piece of progress text, shown after every piece shown before.
  virtual void show(const base::Message& line) = 0;
  // What a step tells on its way besides its progress (a pickup placed, a
  // harmony part not found), shown as a line unless the console keeps it.
  virtual void note(const base::Message& line) { show(line); }
  // Ends the job by unwinding to its runner when Stop was pressed; else
  // returns at once.
  virtual void check_stop() = 0;
};

// Progress that goes nowhere and never stops: for measurements and for
// callers that only want the result.
class QuietLines final : public ProgressLines {
 public:
  void show(const base::Message&) override {}
  void check_stop() override {}
};

}  // namespace zelvo::base
