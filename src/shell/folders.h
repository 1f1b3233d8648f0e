#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "base/status.h"
#include "console/job_console.h"
#include "files/paths.h"
#include "shell/install_paths.h"

namespace zelvo::shell {

constexpr const char* kFoldersFileName = "zlvfolders.rur";
constexpr const char* kTemplateFolderName = "Template";
// Longest folder path the folders file and the chooser accept; a longer one
// counts as not chosen.
constexpr size_t kMaxFolderPath = 1000;
constexpr char kPathSeparator = '/';

// The three folders of the shell; an empty path means not chosen.
struct Folders {
  std::string template_folder;
  std::string work;
  std::string project;
};

// The part of `path` after its last separator (trailing separators aside).
std::string last_path_component(std::string_view path);
// `folder` and `name` with exactly one separator between them.
using files::join_path;
// The current directory, or "" when it cannot be read.
std::string current_directory();
// Whether `folder` is a folder a job may work in (it exists and may be
// searched); a failure says why not. Nothing is entered.
base::Status folder_usable(const std::string& folder);
// The failure of a work folder that cannot be used for the reason `error`
// (an errno value).
base::Message unusable_work_folder(const std::string& folder, int error);

// A file or folder name as the console shows it. Names on disk are UTF-8
// while the console holds Windows-1252, so a valid UTF-8 name is converted
// (a character Windows-1252 lacks becomes '?'); any other name is shown as
// its bytes.
std::string console_name(std::string_view file_system_name);

// Calls `action` with the full path of every file (not sub-folder) of
// `folder`, in name order ignoring case, until it returns non-zero. Fails
// with the folder error when the folder cannot be listed or an entry's
// attributes cannot be read (the walk stops there); the caller prints it.
using FileAction = std::function<int(const std::string& path)>;
base::Status for_each_file(const std::string& folder, const FileAction& action);

// Whether `a` and `b` name the same existing folder.
bool same_folder(const std::string& a, const std::string& b);

// The start folder's Template sub-folder; without one, the installed
// template beside `program` (the program's folder, <prefix>/bin); without
// that, the examples/Template folder of the source tree the program was
// built from; else the start folder's Template.
std::string default_template_folder(const std::string& start_folder,
                                    const std::string& program = program_folder());

// Reads `folder`/zlvfolders.rur (three lines: template, work, project). No
// file: the template folder is the Template sub-folder of `folder` and the
// others stay empty. An empty template line gets the same default; any
// other folder that cannot be listed becomes empty.
Folders load_folders(console::JobConsole& console, const std::string& folder);
bool save_folders(const std::string& folder, const Folders& folders);

}  // namespace zelvo::shell
