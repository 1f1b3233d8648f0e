#pragma once

#include <atomic>
#include <cstdint>

#include "base/message.h"

namespace zelvo::console {

// What a job and its front end share while the job runs: the language the
// job prints in, whether a job runs, and the Stop request. The front end
// (window, command line) sets them from its own thread; the job reads them
// at its stop checks. Owned by whoever runs jobs.
class JobControl {
 public:
  JobControl() = default;
  JobControl(const JobControl&) = delete;
  JobControl& operator=(const JobControl&) = delete;

  int32_t language() const { return language_.load(std::memory_order_relaxed); }
  void set_language(int32_t language) { language_.store(language, std::memory_order_relaxed); }

  bool job_running() const { return job_running_.load() != 0; }
  void set_job_running(bool running) { job_running_.store(running ? 1 : 0); }
  // Sets the flag and returns what it was (a repaint in follow mode).
  bool exchange_job_running(bool running) { return job_running_.exchange(running ? 1 : 0) != 0; }

  // The Stop command: takes effect only while a job runs.
  void request_stop() {
    if (job_running()) stop_request_.store(1);
  }
  bool stop_requested() const { return stop_request_.load() != 0; }
  void clear_stop_request() { stop_request_.store(0); }

 private:
  std::atomic<int32_t> language_{base::kEnglish};
  std::atomic<int32_t> job_running_{0};
  std::atomic<int32_t> stop_request_{0};
};

}  // namespace zelvo::console
