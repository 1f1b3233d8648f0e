#pragma once

// Live results inside the program: the composition as edited now is
// composed (and harmonized) on a thread of the loop's own, with one
// Application whose engines' states are kept from run to run, so that a
// run costs the work and not a program start.
//
// A run is a job on values (jobs/job.h): the work folder's inputs are read
// at its start and given with the edited composition; what it makes comes
// back as bytes and is never written to the work folder, whose outco.* and
// outar.* change only when the user runs a job.
//
// Newest edit wins: a request made while a run goes asks that run to stop
// (the job's Stop, honoured at its next stop check, which unwinds it to its
// runner) and is run next with its own text; requests that come meanwhile
// are folded into the newest. A run overtaken by a newer request is never
// reported, so results arrive in the order of their requests and no result
// of an older text follows a newer one.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "console/job_end.h"
#include "base/message.h"
#include "jobs/engines.h"
#include "jobs/job.h"

namespace zelvo::shell {

struct LiveRequest {
  std::string composition;    // incom.htm's bytes (Windows-1252), as saved
  std::string inputs_folder;  // the other inputs come from here (the work folder)
  bool harmonize = false;     // compose, then harmonize the result (an All job)
  int32_t language = base::kEnglish;
  bool composition_given = true;  // false: the run has no incom.htm, as a work without one
};

struct LiveResult {
  uint64_t request = 0;  // the number submit() gave
  bool harmonized = false;
  console::JobOutcome outcome = console::JobOutcome::kFinished;  // never kStopped
  std::string console_text;  // what the run printed, banner included (Windows-1252)
  std::string midi;          // outco.mid, or outar.mid when harmonized; empty unless finished
  std::string tones;         // outar.tones when harmonized and finished
};

class LiveLoop {
 public:
  // `on_result` is called on the loop's thread, one result at a time.
  explicit LiveLoop(std::function<void(LiveResult)> on_result);
  // Stops the run that goes and waits for the loop's thread.
  ~LiveLoop();
  LiveLoop(const LiveLoop&) = delete;
  LiveLoop& operator=(const LiveLoop&) = delete;

  // Runs `request` as soon as the loop is free, stopping a run that goes.
  // Any thread. Returns the request's number (from 1, rising).
  uint64_t submit(LiveRequest request);

  // A request waits or runs.
  bool busy() const;
  // Results reported so far, and runs that a newer request overtook.
  int reported() const;
  int overtaken() const;
  // Each message a run prints, as it is appended, on the loop's thread
  // (tests stop a run at a chosen message; set before the first submit).
  std::function<void(uint64_t request, std::string_view text)> on_printed;

 private:
  class Capture;
  void loop();
  LiveResult run(uint64_t number, const LiveRequest& request);

  std::function<void(LiveResult)> on_result_;
  jobs::Engines engines_;
  jobs::JobControl control_;
  std::unique_ptr<Capture> capture_;

  mutable std::mutex lock_;
  std::condition_variable wake_;
  // Guarded by lock_.
  LiveRequest pending_;
  uint64_t pending_number_ = 0;  // 0: nothing waits
  uint64_t running_number_ = 0;  // 0: nothing runs
  uint64_t last_number_ = 0;
  int reported_ = 0;
  int overtaken_ = 0;
  bool closing_ = false;

  std::thread thread_;  // last: starts once everything above exists
};

}  // namespace zelvo::shell
