#include "shell/launchers.h"

#include <filesystem>
#include <system_error>

#include "console/job_console.h"
#include "base/work_files.h"
#include "shell/install_paths.h"
#include "shell/shell_messages.h"

namespace zelvo::shell {

namespace {

void edit_with_fallback(const Folders& folders, Platform& platform, const char* first,
                        const char* second) {
  if (folders.work.empty()) {
    platform.show_message(kErrorTitle, kNoWorkFolder);
    return;
  }
  if (platform.shell_request(ShellAction::kEdit, first, folders.work)) return;
  if (platform.shell_request(ShellAction::kEdit, second, folders.work)) return;
  // A click that does nothing helps nobody: say what is missing.
  const bool exists = resolve_shell_target(second, folders.work).has_value() ||
                      resolve_shell_target(first, folders.work).has_value();
  platform.show_message(kErrorTitle, exists ? std::string("No editor started for ") + second + " in " +
                                                  folders.work +
                                                  ": install a text editor and make it the one for text files."
                                            : std::string("The work folder ") + folders.work + " has no " +
                                                  second + ": start a work there with Project > New.");
}

}  // namespace

void edit_information(const Folders& folders, Platform& platform) {
  edit_with_fallback(folders, platform, base::kInformationFile, base::kInformationText);
}

void edit_harmonizer_options(const Folders& folders, Platform& platform) {
  edit_with_fallback(folders, platform, base::kConfigurationFile, base::kConfigurationText);
}

void explore_work_folder(const Folders& folders, Platform& platform) {
  if (folders.work.empty()) {
    platform.show_message(kErrorTitle, kNoWorkFolder);
    return;
  }
  platform.shell_request(ShellAction::kExplore, folders.work, "");
}

void open_documentation(const std::string& start_folder, int32_t language, Platform& platform) {
  const char* file = language == base::kSpanish ? kDocumentationSpanish : kDocumentationEnglish;
  if (platform.shell_request(ShellAction::kOpen, file, start_folder)) return;
  // The start folder has no copy: the installed documentation, else a word
  // that it is missing (a click that does nothing helps nobody).
  const std::string installed = installed_documentation_folder();
  if (!installed.empty() && platform.shell_request(ShellAction::kOpen, file, installed)) return;
  const std::string built = program_folder();
  if (!built.empty() && platform.shell_request(ShellAction::kOpen, file, built)) return;
  for (const std::string& folder : {start_folder, installed, built}) {
    const std::optional<std::string> found = folder.empty() ? std::nullopt : resolve_shell_target(file, folder);
    if (!found) continue;
    platform.show_message(kErrorTitle, "No viewer started for " + *found +
                                           ": install a PDF viewer and make it the one for PDF files.");
    return;
  }
  std::string text = std::string("The documentation file ") + file + " was not found in " + start_folder;
  if (!installed.empty()) text += " nor in " + installed;
  platform.show_message(kErrorTitle, text + ".");
}

std::optional<std::string> resolve_shell_target(const std::string& target,
                                                const std::string& working_folder) {
  namespace fs = std::filesystem;
  fs::path path(target);
  if (path.is_relative() && !working_folder.empty()) path = fs::path(working_folder) / path;
  std::error_code error;
  if (!fs::exists(path, error)) return std::nullopt;
  const fs::path absolute = fs::absolute(path, error);
  return error ? path.string() : absolute.lexically_normal().string();
}

}  // namespace zelvo::shell
