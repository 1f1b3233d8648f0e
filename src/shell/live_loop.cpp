#include "shell/live_loop.h"

#include <map>

#include "console/console_view.h"
#include "base/work_files.h"
#include "files/run_inputs.h"
#include "jobs/work_folder.h"

namespace zelvo::shell {

namespace {

// The work folder's files a job may read, as a job there would find them,
// but for the results, which the run makes anew, and the composition, which
// the run is given.
jobs::Files read_inputs(const std::string& work) {
  jobs::Files files;
  // A folder that cannot be read gives no files: the run then says what is missing.
  (void)jobs::read_work_inputs(work, files);
  std::erase_if(files, [](const auto& file) { return !files::is_run_input(file.first); });
  return files;
}

}  // namespace

// Hands what the run prints to on_printed as it comes.
class LiveLoop::Capture : public console::ConsoleView {
 public:
  explicit Capture(LiveLoop& loop) : loop_(loop) {}
  void appended(std::string_view text) override {
    if (loop_.on_printed) loop_.on_printed(request, text);
  }
  uint64_t request = 0;

 private:
  LiveLoop& loop_;
};

LiveLoop::LiveLoop(std::function<void(LiveResult)> on_result) : on_result_(std::move(on_result)) {
  capture_ = std::make_unique<Capture>(*this);
  control_.view = capture_.get();
  thread_ = std::thread([this] { loop(); });
}

LiveLoop::~LiveLoop() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    closing_ = true;
    control_.request_stop();
  }
  wake_.notify_all();
  thread_.join();
}

uint64_t LiveLoop::submit(LiveRequest request) {
  uint64_t number = 0;
  {
    std::lock_guard<std::mutex> hold(lock_);
    number = ++last_number_;
    pending_ = std::move(request);
    pending_number_ = number;
    // Honoured at the run's next stop check; a run that ends first is
    // dropped as overtaken all the same.
    if (running_number_ != 0) control_.request_stop();
  }
  wake_.notify_all();
  return number;
}

bool LiveLoop::busy() const {
  std::lock_guard<std::mutex> hold(lock_);
  return pending_number_ != 0 || running_number_ != 0;
}

int LiveLoop::reported() const {
  std::lock_guard<std::mutex> hold(lock_);
  return reported_;
}

int LiveLoop::overtaken() const {
  std::lock_guard<std::mutex> hold(lock_);
  return overtaken_;
}

void LiveLoop::loop() {
  for (;;) {
    LiveRequest request;
    uint64_t number = 0;
    {
      std::unique_lock<std::mutex> hold(lock_);
      wake_.wait(hold, [this] { return closing_ || pending_number_ != 0; });
      if (closing_) return;
      request = std::move(pending_);
      number = pending_number_;
      pending_number_ = 0;
      running_number_ = number;
      // Set under the lock, so that a request from now on can stop the run.
      control_.flags().set_job_running(true);
    }
    LiveResult result = run(number, request);
    {
      std::lock_guard<std::mutex> hold(lock_);
      running_number_ = 0;
      if (pending_number_ != 0 || closing_ || result.outcome == console::JobOutcome::kStopped) {
        ++overtaken_;
        continue;
      }
      ++reported_;
    }
    if (on_result_) on_result_(std::move(result));
  }
}

LiveResult LiveLoop::run(uint64_t number, const LiveRequest& request) {
  LiveResult result;
  result.request = number;
  result.harmonized = request.harmonize;
  jobs::JobInput input;
  input.files = read_inputs(request.inputs_folder);
  if (request.composition_given) input.files[base::kCompositionFile] = request.composition;
  input.command = request.harmonize ? console::JobKind::kAll : console::JobKind::kCompose;
  input.language = request.language;
  input.folder_name = request.inputs_folder;
  // The harmonizer's settings outlive a job by design; a fresh program
  // starts from their defaults, and so does each run.
  if (request.harmonize) engines_.harmonizer_state().settings = engine::HarmonizerSettings{};
  capture_->request = number;
  jobs::JobOutput output = jobs::run_job(engines_, input, control_);
  result.outcome = output.outcome;
  result.console_text = std::move(output.console);
  if (result.outcome == console::JobOutcome::kFinished) {
    result.midi = std::move(output.files[request.harmonize ? base::kHarmonyMidi : base::kCompositionMidi]);
    if (request.harmonize) result.tones = std::move(output.files[base::kHarmonyTones]);
  }
  return result;
}

}  // namespace zelvo::shell
