#pragma once

#include <string>

#include "console/job_runner.h"
#include "shell/application.h"
#include "shell/folders.h"
#include "shell/platform.h"
#include "shell/settings.h"

namespace zelvo::shell {

// The menu commands, folders and settings of the desktop program, apart from
// any window toolkit: the window turns its menu into `execute` calls and
// draws what `is_checked` and the folder-item texts say.
class Shell {
 public:
  // `runner` defaults to the application's own; tests pass one with drivers
  // of their own.
  Shell(Application& application, Platform& platform, std::string start_folder,
        console::JobRunner* runner = nullptr);

  // Before the window exists: the settings file, whose open-result switch and
  // language take effect at once.
  void load_settings_file();
  // After the window exists: the folders file, then the two folder items
  // (which makes the work folder the current directory).
  void load_folders_file();
  // Leaving: the folders file, then the settings file with the window's
  // rectangle.
  void save_on_exit(int32_t left, int32_t top, int32_t width, int32_t height);

  // Runs a menu command. False when it was ignored (a job runs and it is not
  // Stop, or the number is not a command).
  bool execute(int command);
  // The check mark of a menu item when the menu opens.
  bool is_checked(int command) const;

  // A button of the folders dialog chose a folder (140 template, 141 work,
  // 142 project); then the menu items of non-empty folders are refreshed.
  void choose_dialog_folder(int control);
  // Refreshes the items of non-empty work and project folders (the dialog
  // does it when it opens and after each choice).
  void refresh_folder_items();
  // The text of a dialog button: the folder's path or "(Not Defined)".
  std::string dialog_button_text(int control) const;

  // The menu-bar items: "&WFolder: " / "&PFolder: " and the folder's last
  // component, or "(Empty)". The work item also makes the work folder the
  // current directory. Both save the folders file.
  void update_work_item(bool choose_first);
  void update_project_item(bool choose_first);

  const Folders& folders() const { return folders_; }
  Folders& folders() { return folders_; }
  const WindowSettings& settings() const { return settings_; }
  const std::string& start_folder() const { return start_folder_; }
  Application& application() { return application_; }
  console::JobConsole& console() { return application_.console(); }

  // The result file after a job that ended normally, when the switch is on.
  // False when the desktop could not open it.
  bool open_result(const char* file_name);

 private:
  void run_command(int command);

  Application& application_;
  Platform& platform_;
  std::string start_folder_;
  console::JobRunner& runner_;
  Folders folders_;
  WindowSettings settings_;
};

// The two folder items' texts.
std::string work_item_text(const Folders& folders);
std::string project_item_text(const Folders& folders);

}  // namespace zelvo::shell
