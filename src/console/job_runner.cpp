#include "console/job_runner.h"

#include <exception>
#include <system_error>

#include "base/work_files.h"

namespace zelvo::console {

JobRunner::JobRunner(JobConsole& console, JobHooks hooks) : console_(console), hooks_(std::move(hooks)) {}

JobRunner::~JobRunner() { wait(); }

bool JobRunner::start_job(JobKind kind) {
  if (console_.control().job_running()) return false;
  wait();  // the previous thread has cleared the flag and is about to end
  console_.control().set_job_running(true);
  try {
    thread_ = std::thread([this, kind] { run_body(kind); });
  } catch (const std::system_error&) {
    console_.control().set_job_running(false);
    return false;
  }
  return true;
}

JobOutcome JobRunner::run_body(JobKind kind) {
  JobOutcome outcome = JobOutcome::kFinished;
  try {
    try {
      if (kind != JobKind::kHarmonize && hooks_.compose) hooks_.compose();
      if (kind != JobKind::kCompose && hooks_.harmonize) hooks_.harmonize();
    } catch (const std::exception& error) {
      // Nothing in the drivers throws on its own; should a library call fail
      // (memory, threads), the job still ends the way an abort does.
      console_.print(base::MessageId::kInternalError, error.what());
      console_.abort_job();
    }
    console_.finish_job();
  } catch (const JobEnded& ended) {
    outcome = ended.outcome;
  }
  // The request never carries over to the next job, however this one ended.
  console_.control().clear_stop_request();
  console_.control().set_job_running(false);
  {
    std::lock_guard<std::mutex> lock(outcome_lock_);
    last_outcome_ = outcome;
  }
  if (outcome == JobOutcome::kFinished && hooks_.open_result && hooks_.open_result_wanted &&
      hooks_.open_result_wanted()) {
    hooks_.open_result(kind == JobKind::kCompose ? base::kCompositionMidi : base::kHarmonyMidi);
  }
  return outcome;
}

void JobRunner::wait() {
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

JobOutcome JobRunner::last_outcome() const {
  std::lock_guard<std::mutex> lock(outcome_lock_);
  return last_outcome_;
}

}  // namespace zelvo::console
