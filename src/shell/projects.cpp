#include "shell/projects.h"

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <system_error>
#include <vector>

#include "base/message_id.h"
#include "base/work_files.h"
#include "shell/shell_messages.h"

namespace zelvo::shell {

using enum base::MessageId;

namespace fs = std::filesystem;

namespace {

// Counts the failures of one command so the caller learns it was incomplete.
struct Failures {
  Platform& platform;
  int count = 0;

  void note(const std::string& text) {
    ++count;
    platform.note_failure(text);
  }
};

bool copy_replacing(const std::string& from, const std::string& to, Failures& failures) {
  std::error_code error;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
  if (error) failures.note("cannot copy " + from + " to " + to + ": " + error.message());
  return !error;
}

void remove_file(const std::string& path, Failures& failures) {
  std::error_code error;
  if (!fs::remove(path, error) && error) failures.note("cannot delete " + path + ": " + error.message());
}

// Whether every file of `folder` was walked; prints the folder error when
// not.
bool walk_all(console::JobConsole& console, const std::string& folder, const FileAction& action) {
  const base::Status walked = for_each_file(folder, action);
  if (!walked.ok()) console.print(walked.error());
  return walked.ok();
}

void walk(console::JobConsole& console, const std::string& folder, Failures& failures,
          const FileAction& action) {
  if (!walk_all(console, folder, action)) ++failures.count;
}

void empty_folder(console::JobConsole& console, const std::string& folder, Failures& failures) {
  walk(console, folder, failures, [&](const std::string& path) {
    remove_file(path, failures);
    return 0;
  });
}

// Emptying the work folder is only worth it when the folder that refills it
// can be read; otherwise the work would be lost for nothing. Prints the
// folder error when it cannot.
bool readable(console::JobConsole& console, const std::string& folder) {
  return walk_all(console, folder, [](const std::string&) { return 1; });
}

// A folder to copy from that cannot be read: missing altogether is a
// refusal (nothing was there to do), an existing one that cannot be listed
// leaves the command incomplete.
CommandResult unreadable(const std::string& folder) {
  std::error_code error;
  return fs::exists(folder, error) ? CommandResult::kIncomplete : CommandResult::kRefused;
}

std::string file_name_of(const std::string& path) { return fs::path(path).filename().string(); }

// A file of a folder and the name its copy takes.
struct Copy {
  std::string path;
  std::string target;
};

enum class Plan { kReady, kUnlisted, kCollision };

// Every file of `folder` with the name `rename` gives it, in the walk's
// order. Two that would take one name are refused with a message box naming
// both: one copy would be lost under the other.
Plan plan_copies(console::JobConsole& console, const std::string& folder, Platform& platform,
                 const std::function<std::string(const std::string&)>& rename, std::vector<Copy>& copies) {
  if (!walk_all(console, folder, [&](const std::string& path) {
        copies.push_back(Copy{path, rename(file_name_of(path))});
        return 0;
      })) {
    return Plan::kUnlisted;
  }
  std::map<std::string, std::string> taken;  // target -> source name
  for (const Copy& copy : copies) {
    const auto [at, fresh] = taken.emplace(copy.target, file_name_of(copy.path));
    if (fresh) continue;
    platform.show_message(kErrorTitle, "Impossible: " + console_name(at->second) + " and " +
                                           console_name(file_name_of(copy.path)) + " would both be copied as " +
                                           console_name(copy.target) + ". Nothing was copied.");
    return Plan::kCollision;
  }
  return Plan::kReady;
}

CommandResult result_of(const Failures& failures) {
  return failures.count == 0 ? CommandResult::kDone : CommandResult::kIncomplete;
}

}  // namespace

bool has_project_prefix(std::string_view name) {
  if (name.size() < kPrefixLength) return false;
  for (const char* prefix : kProjectPrefixes) {
    if (name.substr(0, kPrefixLength) == prefix) return true;
  }
  return false;
}

namespace {

// Where the project name goes in, or comes out of, a prefixed name: before
// its last dot, or at its end. The prefix never holds a dot.
constexpr size_t kOldExtensionLength = 4;  // a dot and three letters

size_t name_insertion_point(std::string_view name) {
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos || dot < kPrefixLength ? name.size() : dot;
}

}  // namespace

std::string project_file_name(std::string_view name, std::string_view project_name) {
  if (!has_project_prefix(name) || name.size() <= kPrefixLength) return std::string(name);
  const size_t at = name_insertion_point(name);
  std::string out(name.substr(0, at));
  out += '-';
  out += project_name;
  out += name.substr(at);
  return out;
}

std::string work_file_name(std::string_view name, std::string_view project_name) {
  if (!has_project_prefix(name)) return std::string(name);
  const std::string mark = "-" + std::string(project_name);
  // Before the last dot; or at the end, for a name saved without a dot
  // under a project name that holds one.
  for (const size_t at : {name_insertion_point(name), name.size()}) {
    if (at >= kPrefixLength + mark.size() && name.substr(at - mark.size(), mark.size()) == mark) {
      return std::string(name.substr(0, at - mark.size())) + std::string(name.substr(at));
    }
  }
  // A name with a three-letter extension saved under another project name
  // (the folder renamed since) loads as it always did: its first five and
  // last four characters.
  const size_t dot = name_insertion_point(name);
  if (dot + kOldExtensionLength == name.size() && name.size() > kPrefixLength + kOldExtensionLength) {
    return std::string(name.substr(0, kPrefixLength)) + std::string(name.substr(dot));
  }
  return std::string(name);
}

CommandResult new_work(console::JobConsole& console, const Folders& folders, Platform& platform) {
  if (folders.work.empty()) {
    platform.show_message(kErrorTitle, kNoWorkFolder);
    return CommandResult::kRefused;
  }
  if (same_folder(folders.work, folders.template_folder)) {
    platform.show_message(kErrorTitle, kWorkIsTemplate);
    return CommandResult::kRefused;
  }
  if (!platform.ask_yes_no(kNewWorkTitle, kNewWorkQuestion)) return CommandResult::kCancelled;
  if (!readable(console, folders.template_folder)) return unreadable(folders.template_folder);
  // A work folder that cannot be listed (gone, or never made) would take no
  // file: nothing is done, and no success line follows the folder error.
  if (!readable(console, folders.work)) return CommandResult::kRefused;

  Failures failures{platform};
  empty_folder(console, folders.work, failures);
  walk(console, folders.template_folder, failures, [&](const std::string& path) {
    copy_replacing(path, join_path(folders.work, file_name_of(path)), failures);
    return 0;
  });
  const char* composition =
      console.language() == base::kSpanish ? base::kSpanishTemplateFile : base::kEnglishTemplateFile;
  // A template without the two language versions simply keeps its incom.htm.
  const std::string source = join_path(folders.work, composition);
  std::error_code error;
  if (fs::exists(source, error)) copy_replacing(source, join_path(folders.work, base::kCompositionFile), failures);
  remove_file(join_path(folders.work, base::kEnglishTemplateFile), failures);
  remove_file(join_path(folders.work, base::kSpanishTemplateFile), failures);
  console_print(console, kNewProjectLoaded);
  return result_of(failures);
}

CommandResult save_project(console::JobConsole& console, const Folders& folders, Platform& platform) {
  if (!platform.ask_yes_no(kSaveProjectTitle, kSaveProjectQuestion)) return CommandResult::kCancelled;
  if (folders.work.empty() || folders.project.empty()) {
    platform.show_message(kErrorTitle, kMissingFolder);
    return CommandResult::kRefused;
  }
  if (!readable(console, folders.work)) return CommandResult::kRefused;
  // A project folder is made the first time a work is saved into it.
  std::error_code made;
  fs::create_directories(folders.project, made);
  if (!readable(console, folders.project)) return CommandResult::kRefused;
  console_print(console, kSavingProject);
  const std::string project_name = last_path_component(folders.project);
  std::vector<Copy> copies;
  const Plan plan = plan_copies(
      console, folders.work, platform, [&](const std::string& name) { return project_file_name(name, project_name); },
      copies);
  if (plan == Plan::kUnlisted) return CommandResult::kIncomplete;
  if (plan == Plan::kCollision) return CommandResult::kRefused;
  Failures failures{platform};
  for (const Copy& copy : copies) {
    copy_replacing(copy.path, join_path(folders.project, copy.target), failures);
    console_print(console, kFileCopied, console_name(copy.target).c_str());
  }
  return result_of(failures);
}

CommandResult load_project(console::JobConsole& console, const Folders& folders, Platform& platform) {
  if (folders.work.empty() || folders.project.empty()) {
    platform.show_message(kErrorTitle, kMissingFolder);
    return CommandResult::kRefused;
  }
  if (same_folder(folders.work, folders.project)) {
    platform.show_message(kErrorTitle, kWorkIsProject);
    return CommandResult::kRefused;
  }
  const std::string question = "Load Project " + last_path_component(folders.project) + "?";
  if (!platform.ask_yes_no(kLoadProjectTitle, question)) return CommandResult::kCancelled;

  console_print(console, kLoadingProject);
  if (!readable(console, folders.project)) return unreadable(folders.project);
  if (!readable(console, folders.work)) return CommandResult::kRefused;
  const std::string project_name = last_path_component(folders.project);
  std::vector<Copy> copies;
  const Plan plan = plan_copies(
      console, folders.project, platform, [&](const std::string& name) { return work_file_name(name, project_name); },
      copies);
  if (plan == Plan::kUnlisted) return CommandResult::kIncomplete;
  if (plan == Plan::kCollision) return CommandResult::kRefused;
  Failures failures{platform};
  empty_folder(console, folders.work, failures);
  for (const Copy& copy : copies) {
    copy_replacing(copy.path, join_path(folders.work, copy.target), failures);
    console_print(console, kFileCopied, console_name(file_name_of(copy.path)).c_str());
  }
  return result_of(failures);
}

}  // namespace zelvo::shell
