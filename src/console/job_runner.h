#pragma once

#include <functional>
#include <mutex>
#include <thread>

#include "console/job_console.h"

namespace zelvo::console {

enum class JobKind { kCompose, kHarmonize, kAll };

// What a job runs. The front end supplies the drivers and the way a result
// file is opened (the desktop's associated program); `open_result` may be
// empty, and is called only when `open_result_wanted` says so.
struct JobHooks {
  std::function<void()> compose;
  std::function<void()> harmonize;
  std::function<bool()> open_result_wanted;
  std::function<void(const char* file_name)> open_result;
};

// Runs one job at a time on a worker thread. A stop or an abort inside the
// drivers unwinds to run_body, which records how the job ended.
class JobRunner {
 public:
  JobRunner(JobConsole& console, JobHooks hooks);
  ~JobRunner();
  JobRunner(const JobRunner&) = delete;
  JobRunner& operator=(const JobRunner&) = delete;

  // Does nothing and returns false while a job runs. Otherwise sets the
  // job-running flag and starts the job thread; if the thread cannot be
  // created the flag is cleared again and false is returned.
  bool start_job(JobKind kind);

  // The thread body, run on the calling thread: the drivers, finish_job and
  // the opening of the result after a normal end.
  JobOutcome run_body(JobKind kind);

  // Waits for the last started job thread to end.
  void wait();

  JobOutcome last_outcome() const;

 private:
  JobConsole& console_;
  JobHooks hooks_;
  std::thread thread_;
  mutable std::mutex outcome_lock_;
  JobOutcome last_outcome_ = JobOutcome::kFinished;
};

}  // namespace zelvo::console
