#include "shell/live_loop.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "console/console_view.h"
#include "console/work_files.h"
#include "shell/application.h"

namespace zelvo::shell {

namespace fs = std::filesystem;

namespace {

std::string read_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool write_bytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

// Job results and the composition are the run's own, never inputs.
bool input_name(const std::string& name) { return name.rfind("out", 0) != 0 && name.rfind("incom.", 0) != 0; }

// Makes `run`'s inputs those of `work`: a file copied again only when its
// time or size changed (most edits touch the composition alone), a file
// gone from `work` removed, so a run sees exactly what a job in `work`
// would.
void sync_inputs(const std::string& work, const fs::path& run) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(run, error)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file(error) && input_name(name) && !fs::is_regular_file(fs::path(work) / name, error)) {
      fs::remove(entry.path(), error);
    }
  }
  for (const auto& entry : fs::directory_iterator(work, error)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file(error) || !input_name(name)) continue;
    const fs::path target = run / name;
    if (fs::exists(target, error) && fs::last_write_time(target, error) == entry.last_write_time(error) &&
        fs::file_size(target, error) == entry.file_size(error)) {
      continue;
    }
    fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing, error);
    fs::last_write_time(target, entry.last_write_time(error), error);
  }
}

}  // namespace

// Keeps what the run prints, as the command line would print it.
class LiveLoop::Capture : public console::ConsoleView {
 public:
  explicit Capture(LiveLoop& loop) : loop_(loop) {}
  void appended(std::string_view text) override {
    this->text.append(text);
    if (loop_.on_printed) loop_.on_printed(request, text);
  }
  std::string text;
  uint64_t request = 0;

 private:
  LiveLoop& loop_;
};

LiveLoop::LiveLoop(std::function<void(LiveResult)> on_result) : on_result_(std::move(on_result)) {
  std::string pattern = (fs::temp_directory_path() / "zelvo-live-XXXXXX").string();
  if (mkdtemp(pattern.data()) != nullptr) scratch_ = pattern;
  run_folder_ = scratch_.empty() ? std::string() : (fs::path(scratch_) / "run").string();
  std::error_code error;
  if (!run_folder_.empty()) fs::create_directories(run_folder_, error);
  application_ = std::make_unique<Application>();
  application_->set_work_folder(run_folder_);
  capture_ = std::make_unique<Capture>(*this);
  application_->console_store().set_view(capture_.get());
  thread_ = std::thread([this] { loop(); });
}

LiveLoop::~LiveLoop() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    closing_ = true;
    application_->job_control().request_stop();
  }
  wake_.notify_all();
  thread_.join();
  application_->console_store().set_view(nullptr);
  std::error_code error;
  if (!scratch_.empty()) fs::remove_all(scratch_, error);
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
    if (running_number_ != 0) application_->job_control().request_stop();
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
      application_->job_control().set_job_running(true);
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
  const fs::path run = run_folder_;
  std::error_code error;
  sync_inputs(request.inputs_folder, run);
  for (const char* made : {console::kCompositionMidi, console::kCompositionListing, console::kHarmonyMidi,
                           console::kHarmonyTones}) {
    fs::remove(run / made, error);
  }
  Application& application = *application_;
  capture_->text.clear();
  capture_->request = number;
  application.job_control().set_language(request.language);
  // The harmonizer's settings outlive a job by design; a fresh program
  // starts from their defaults, and so does each run.
  if (request.harmonize) application.harmonizer_state().settings = engine::HarmonizerSettings{};
  application.console().clear_console();
  if (!request.composition_given) fs::remove(run / console::kCompositionFile, error);
  if (run_folder_.empty() ||
      (request.composition_given && !write_bytes(run / console::kCompositionFile, request.composition))) {
    application.job_control().set_job_running(false);
    result.outcome = console::JobOutcome::kAborted;
    result.console_text = capture_->text;
    return result;
  }
  result.outcome = application.runner().run_body(request.harmonize ? console::JobKind::kAll
                                                                  : console::JobKind::kCompose);
  result.console_text = std::move(capture_->text);
  if (result.outcome == console::JobOutcome::kFinished) {
    result.midi = read_bytes(run / (request.harmonize ? console::kHarmonyMidi : console::kCompositionMidi));
    if (request.harmonize) result.tones = read_bytes(run / console::kHarmonyTones);
  }
  return result;
}

}  // namespace zelvo::shell
