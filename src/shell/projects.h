#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "console/job_console.h"
#include "base/work_files.h"
#include "shell/folders.h"
#include "shell/platform.h"

namespace zelvo::shell {

// The fixed file stems of a work, in the order the project scheme lists them.
inline constexpr std::array<const char*, 8> kProjectPrefixes = std::to_array(base::kWorkFileStems);
constexpr size_t kPrefixLength = 5;

// Whether the first five characters of `name` are one of the prefixes.
bool has_project_prefix(std::string_view name);
// The name a work file gets in project folder `project_name`: a prefixed
// name longer than its prefix has "-" and the project name put before its
// last dot, or at its end when it has none (incom.htm -> incom-Song.htm,
// outar-zoom.png -> outar-zoom-Song.png); any other name stays.
std::string project_file_name(std::string_view name, std::string_view project_name);
// The name a project file gets back in the work folder: a prefixed name
// loses "-" and the project name just before its last dot (or at its end
// when it has none), so every name saved comes back. A prefixed name with a
// three-letter extension that does not carry this project's name keeps its
// first five and last four characters, as projects always loaded
// (incom-Old.htm -> incom.htm); any other name stays.
std::string work_file_name(std::string_view name, std::string_view project_name);

// How a folder or project command ended.
enum class CommandResult {
  kDone,        // every step ran and every copy succeeded
  kCancelled,   // the user answered No
  kRefused,     // a folder was missing (a message box or the console said so)
  kIncomplete,  // it ran, but an existing folder could not be listed or a file not copied
};

// New work: empties the work folder, copies the template folder into it and
// makes incom.htm from incom_eng.htm or incom_spa.htm by the language flag.
CommandResult new_work(console::JobConsole& console, const Folders& folders, Platform& platform);
// Save project: copies every work file into the project folder (made when
// it does not exist yet) under its project name, printing each target's name. Two files that would take one
// name are refused (a message box names both) and nothing is copied.
CommandResult save_project(console::JobConsole& console, const Folders& folders, Platform& platform);
// Load project: empties the work folder and copies every project file into
// it under its work name, printing each source's name. Two files that would
// take one name are refused as by save, before the work folder is emptied.
CommandResult load_project(console::JobConsole& console, const Folders& folders, Platform& platform);

}  // namespace zelvo::shell
