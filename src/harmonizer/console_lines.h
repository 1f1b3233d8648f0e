#pragma once

#include "console/job_console.h"
#include "engine/progress_lines.h"

namespace zelvo::harmonizer {

// The engine's progress as lines of the job's console, in the job's
// language, with the job's Stop.
class ConsoleLines final : public engine::ProgressLines {
 public:
  explicit ConsoleLines(console::JobConsole& console) : console_(console) {}
  void show(const base::Message& line) override { console_.print(line); }
  void check_stop() override { console_.check_stop(); }

 private:
  console::JobConsole& console_;
};

}  // namespace zelvo::harmonizer
