#include "shell/application.h"

#include "composer/compose.h"
#include "console/work_files.h"
#include "harmonizer/harmonize_job.h"
#include "notation/result_notation.h"

namespace zelvo::shell {

namespace {

// The notation step of a job that asked for it: says where the score went,
// or ends the job with the message naming the files.
void report_notation(console::JobConsole& console, const console::Status& written, const char* xml_name) {
  if (!written.ok()) console::fail(console, written.error());
  console_print(console, console::MessageId::kNotationWritten, xml_name);
  check_stop(console);
}

}  // namespace

composer::ComposerState& Application::composer_state() {
  if (composer_ == nullptr) {
    composer_ = make_zeroed<composer::ComposerState>();
    composer_->score_opener = &intake_;
    composer_->composition_opener = &composition_intake_;
  }
  return *composer_;
}

harmonizer::HarmonizerState& Application::harmonizer_state() {
  if (harmonizer_ == nullptr) {
    harmonizer_ = make_zeroed<harmonizer::HarmonizerState>();
    harmonizer_->progress = &unit_watch_;
    harmonizer_->score_opener = &intake_;
  }
  return *harmonizer_;
}

Application::Application() {
  console::JobHooks hooks;
  hooks.compose = [this] {
    intake_.begin_job();
    composer::ComposerState& composer = composer_state();
    composer.work_folder = work_folder();
    composer::compose(composer, console_);
    if (write_notation()) {
      report_notation(console_,
                      notation::notate_result(composer.work_folder, console::kCompositionMidi,
                                              console::kCompositionNotation, nullptr, notation_grid()),
                      console::kCompositionNotation);
    }
  };
  hooks.harmonize = [this] {
    intake_.begin_job();
    harmonizer::HarmonizerState& harmonizer = harmonizer_state();
    harmonizer.work_folder = work_folder();
    harmonizer::harmonize(harmonizer, console_);
    if (write_notation()) {
      report_notation(console_,
                      notation::notate_result(harmonizer_->work_folder, console::kHarmonyMidi,
                                              console::kHarmonyNotation, harmonizer_.get(), notation_grid()),
                      console::kHarmonyNotation);
    }
  };
  hooks.open_result_wanted = [this] { return open_result(); };
  hooks.open_result = [this](const char* file_name) {
    if (opener_) opener_(file_name);
  };
  runner_ = std::make_unique<console::JobRunner>(console_, std::move(hooks));
}

std::string Application::work_folder() const {
  std::lock_guard<std::mutex> lock(work_folder_lock_);
  return work_folder_;
}

void Application::set_work_folder(std::string folder) {
  std::lock_guard<std::mutex> lock(work_folder_lock_);
  work_folder_ = std::move(folder);
}

}  // namespace zelvo::shell
