#include "shell/application.h"

namespace zelvo::shell {

composer::ComposerState& Application::composer_state() { return engines_.composer_state(); }

harmonizer::HarmonizerState& Application::harmonizer_state() {
  harmonizer::HarmonizerState& harmonizer = engines_.harmonizer_state();
  harmonizer.progress = &unit_watch_;
  return harmonizer;
}

Application::Application() {
  // A job takes the folder and the notation choices as it starts.
  const auto options = [this] {
    jobs::FolderJobOptions options;
    options.folder = work_folder();
    options.notation = write_notation();
    options.grid = notation_grid();
    options.progress = &unit_watch_;
    return options;
  };
  console::JobHooks hooks;
  hooks.compose = [this, options] { jobs::compose_in_folder(engines_, options(), console_); };
  hooks.harmonize = [this, options] { jobs::harmonize_in_folder(engines_, options(), console_); };
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
