#include "shell/application.h"

#include "composer/compose.h"
#include "harmonizer/harmonize_job.h"
#include "notation/result_notation.h"

namespace zelvo::shell {

composer::ComposerState& Application::composer_state() {
  if (composer_ == nullptr) {
    composer_ = std::make_unique<composer::ComposerState>();
    composer_->score_opener = &intake_;
    composer_->composition_opener = &composition_intake_;
  }
  return *composer_;
}

harmonizer::HarmonizerState& Application::harmonizer_state() {
  if (harmonizer_ == nullptr) {
    harmonizer_ = std::make_unique<harmonizer::HarmonizerState>();
    harmonizer_->progress = &unit_watch_;
    harmonizer_->score_opener = &intake_;
  }
  return *harmonizer_;
}

Application::Application() {
  console::JobHooks hooks;
  hooks.compose = [this] {
    intake_.begin_job();
    composer::compose(composer_state(), console_);
    if (write_notation()) notation::notate_job_result(console_, "outco.mid", "outco.musicxml", nullptr);
  };
  hooks.harmonize = [this] {
    intake_.begin_job();
    harmonizer::harmonize(harmonizer_state(), console_);
    if (write_notation()) {
      notation::notate_job_result(console_, "outar.mid", "outar.musicxml", harmonizer_.get());
    }
  };
  hooks.open_result_wanted = [this] { return open_result(); };
  hooks.open_result = [this](const char* file_name) {
    if (opener_) opener_(file_name);
  };
  runner_ = std::make_unique<console::JobRunner>(console_, std::move(hooks));
}

}  // namespace zelvo::shell
