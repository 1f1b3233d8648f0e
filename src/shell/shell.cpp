#include "shell/shell.h"

#include "shell/commands.h"
#include "shell/check_report.h"
#include "shell/launchers.h"
#include "shell/projects.h"
#include "shell/shell_messages.h"

namespace zelvo::shell {

namespace {

std::string item_text(const char* label, const std::string& folder) {
  return std::string(label) + (folder.empty() ? std::string("(Empty)") : last_path_component(folder));
}

// The chooser's answer, unless it is longer than a folder path may be.
bool choose_into(Platform& platform, std::string& folder, const std::string& title) {
  std::string chosen = folder;
  if (!platform.choose_folder(chosen, title) || chosen.size() > kMaxFolderPath) return false;
  folder = chosen;
  return true;
}

}  // namespace

std::string work_item_text(const Folders& folders) { return item_text("&WFolder: ", folders.work); }
std::string project_item_text(const Folders& folders) {
  return item_text("&PFolder: ", folders.project);
}

Shell::Shell(Application& application, Platform& platform, std::string start_folder,
             console::JobRunner* runner)
    : application_(application),
      platform_(platform),
      start_folder_(std::move(start_folder)),
      runner_(runner != nullptr ? *runner : application.runner()) {}

void Shell::load_settings_file() {
  load_settings(start_folder_, settings_);
  application_.set_open_result(settings_.open_result != 0);
  application_.job_control().set_language(settings_.language);
}

void Shell::load_folders_file() {
  folders_ = load_folders(console(), start_folder_);
  update_work_item(false);
  update_project_item(false);
}

void Shell::save_on_exit(int32_t left, int32_t top, int32_t width, int32_t height) {
  save_folders(start_folder_, folders_);
  settings_.left = left;
  settings_.top = top;
  settings_.width = width;
  settings_.height = height;
  settings_.open_result = application_.open_result() ? 1 : 0;
  settings_.language = console().language();
  save_settings(start_folder_, settings_);
}

bool Shell::execute(int command) {
  if (!command_allowed(command, application_.job_control().job_running())) return false;
  run_command(command);
  return true;
}

void Shell::run_command(int command) {
  console::JobConsole& out = console();
  switch (command) {
    case kCommandNew: new_work(out, folders_, platform_); break;
    case kCommandOpen: load_project(out, folders_, platform_); break;
    case kCommandSave: save_project(out, folders_, platform_); break;
    case kCommandExit: platform_.end_program(); break;
    case kCommandEditInformation: edit_information(folders_, platform_); break;
    case kCommandEditHarmOptions: edit_harmonizer_options(folders_, platform_); break;
    case kCommandCheck: print_check(out, application_.work_folder(), folders_, platform_); break;
    case kCommandFolders: platform_.show_folders_dialog(); break;
    case kCommandOpenMidifile: application_.set_open_result(!application_.open_result()); break;
    case kCommandEnglish: out.control().set_language(base::kEnglish); break;
    case kCommandSpanish: out.control().set_language(base::kSpanish); break;
    case kCommandComposer: runner_.start_job(console::JobKind::kCompose); break;
    case kCommandHarmonizer: runner_.start_job(console::JobKind::kHarmonize); break;
    case kCommandAll: runner_.start_job(console::JobKind::kAll); break;
    case kCommandStop: out.control().request_stop(); break;
    case kCommandErase: clear_console(out); break;
    case kCommandDocumentation: open_documentation(start_folder_, out.language(), platform_); break;
    case kCommandAbout: platform_.show_message(kAboutTitle, about_text()); break;
    case kCommandWorkFolder: explore_work_folder(folders_, platform_); break;
    case kCommandProjectFolder: update_project_item(true); break;
    default: break;
  }
}

bool Shell::is_checked(int command) const {
  switch (command) {
    case kCommandOpenMidifile: return application_.open_result();
    case kCommandEnglish: return application_.console().language() == base::kEnglish;
    case kCommandSpanish: return application_.console().language() == base::kSpanish;
    default: return false;
  }
}

void Shell::choose_dialog_folder(int control) {
  switch (control) {
    case kControlTemplate: choose_into(platform_, folders_.template_folder, kSelectTemplateFolder); break;
    case kControlWork: choose_into(platform_, folders_.work, kSelectWorkFolder); break;
    case kControlProject: choose_into(platform_, folders_.project, kSelectProjectFolder); break;
    default: return;
  }
  refresh_folder_items();
}

void Shell::refresh_folder_items() {
  if (!folders_.work.empty()) update_work_item(false);
  if (!folders_.project.empty()) update_project_item(false);
}

std::string Shell::dialog_button_text(int control) const {
  const std::string* folder = nullptr;
  switch (control) {
    case kControlTemplate: folder = &folders_.template_folder; break;
    case kControlWork: folder = &folders_.work; break;
    case kControlProject: folder = &folders_.project; break;
    default: return std::string();
  }
  return folder->empty() ? std::string("(Not Defined)") : *folder;
}

void Shell::update_work_item(bool choose_first) {
  if (choose_first) choose_into(platform_, folders_.work, kSelectWorkFolder);
  // Jobs read and write their files in the work folder; one that cannot be
  // entered leaves them where they were.
  if (!folders_.work.empty()) {
    if (folder_usable(folders_.work).ok()) {
      application_.set_work_folder(folders_.work);
    } else {
      platform_.note_failure("cannot enter the work folder " + folders_.work);
    }
  }
  platform_.set_menu_item_text(kCommandWorkFolder, work_item_text(folders_));
  save_folders(start_folder_, folders_);
}

void Shell::update_project_item(bool choose_first) {
  if (choose_first) choose_into(platform_, folders_.project, kSelectProyectFolder);
  platform_.set_menu_item_text(kCommandProjectFolder, project_item_text(folders_));
  save_folders(start_folder_, folders_);
}

bool Shell::open_result(const char* file_name) {
  return platform_.shell_request(ShellAction::kOpen, file_name, folders_.work);
}

}  // namespace zelvo::shell
