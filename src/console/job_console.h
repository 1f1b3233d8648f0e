#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "console/console.h"
#include "console/job_control.h"
#include "console/job_end.h"
#include "base/message.h"
#include "base/message_id.h"
#include "base/progress_lines.h"
#include "base/status.h"

namespace zelvo::console {

constexpr int32_t kPrintBufferSize = 2000;  // one formatted message, terminator included

// A job's way to the console: prints into the store in the job's language
// and ends the job on Stop or on an error, as its JobControl says. It is the
// progress the readers, the compilers and the engine are given.
class JobConsole : public base::ProgressLines {
 public:
  JobConsole(Console& store, JobControl& control);
  JobConsole(const JobConsole&) = delete;
  JobConsole& operator=(const JobConsole&) = delete;

  Console& store() { return store_; }
  JobControl& control() { return control_; }
  int32_t language() const { return control_.language(); }

  // Appends the message of this name with these values, in the job's
  // language of the moment.
  template <typename... Args>
  void print(base::MessageId id, const Args&... args) {
    print(base::Message(id, args...));
  }
  // Appends `message` in the job's language.
  void print(const base::Message& message);
  // Appends `text` (Windows-1252) as it is: text a step has already worded,
  // such as the check's findings. Cut as a message is cut.
  void print_text(std::string_view text);
  // Prints `note`, what a step tells on its way besides the progress of its
  // tables and bars (the seed, the sequence file read or missing, the
  // generation starting, a warning, a pickup placed), and keeps it in the
  // list keep_notes gave, if any: the check quotes a step's notes before the
  // message the step stopped with.
  void note(const base::Message& note) final;
  // Where note keeps the notes from now on; nullptr keeps none.
  void keep_notes(std::vector<base::Message>* notes) { kept_notes_ = notes; }

  // A line of progress: printed as a message.
  void show(const base::Message& line) final { print(line); }
  // Ends the job with the stop message when Stop was pressed; else returns.
  void check_stop() final;
  // Prints the abort message and ends the job. Never returns.
  [[noreturn]] void abort_job();
  // Invalidates and repaints the view and clears the job-running flag.
  void finish_job();
  void refresh_console();
  // Empties the store and prints the start banner.
  void clear_console();

 private:
  void append_print_buffer();

  Console& store_;
  JobControl& control_;
  std::vector<base::Message>* kept_notes_ = nullptr;
  char print_buffer_[kPrintBufferSize];
};

// The parts a StandaloneConsole owns, built before the JobConsole over them.
struct StandaloneParts {
  Console own_store;
  JobControl own_control;
};

// A store and a control of its own with the job console over them: for a
// job nobody watches (the checks' scratch runs, tests, fuzzing).
class StandaloneConsole : private StandaloneParts, public JobConsole {
 public:
  StandaloneConsole() : JobConsole(own_store, own_control) {}
};

// The free operations every job calls.
template <typename... Args>
void console_print(JobConsole& console, base::MessageId id, const Args&... args) {
  console.print(base::Message(id, args...));
}
inline void check_stop(JobConsole& console) { console.check_stop(); }
[[noreturn]] inline void abort_job(JobConsole& console) { console.abort_job(); }
inline void finish_job(JobConsole& console) { console.finish_job(); }
inline void refresh_console(JobConsole& console) { console.refresh_console(); }
inline void clear_console(JobConsole& console) { console.clear_console(); }

// Prints the message a step stopped with, and aborts: the pattern of every
// fatal error.
[[noreturn]] void fail(JobConsole& console, const base::Message& message);
// The same, but a stop request pending after the message wins over the
// abort (the harmonizer's stages end this way).
[[noreturn]] void fail_or_stop(JobConsole& console, const base::Message& message);

}  // namespace zelvo::console
