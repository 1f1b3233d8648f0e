#pragma once

// The files a recorded scenario starts from: its in/ folder, and the lines
// of its in.list, one file a line,
//
//   NAME <- PATH          a copy of tests/data/PATH (inputs that several
//                         scenarios share live once, in tests/data/shared/,
//                         and the bundled examples are taken from examples/
//                         as ../../examples/...)
//   NAME <- expand PATH   the same with its @@repeat and @@count lines
//                         expanded as in the tables of cases (support/cases.h),
//                         for inputs of thousands of generated lines
//   NAME -> TARGET        a symbolic link to TARGET, such as /dev/full (a
//                         file that cannot be written), made here rather than
//                         stored, as tools that read every file hang on it
//
// NAME is the file's path in the work folder; "#" starts a comment line.
#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "support/cases.h"
#include "support/files.h"

namespace zelvo::test {

// Empties `folder` and copies there what the folder `in` holds, if it exists.
inline void reset_folder(const std::filesystem::path& folder, const std::filesystem::path& in) {
  namespace fs = std::filesystem;
  for (const auto& entry : fs::directory_iterator(folder)) fs::remove_all(entry.path());
  if (fs::exists(in)) fs::copy(in, folder, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
}

// Empties `folder` and puts there the files `scenario` starts from.
inline void make_inputs(const std::filesystem::path& scenario, const std::filesystem::path& folder) {
  namespace fs = std::filesystem;
  reset_folder(folder, scenario / "in");
  std::istringstream list(read_file((scenario / "in.list").string()));
  for (std::string line; std::getline(list, line);) {
    std::istringstream words(line);
    std::string name, arrow, source, path;
    if (!(words >> name >> arrow >> source) || name[0] == '#') continue;
    const fs::path file = folder / name;
    fs::create_directories(file.parent_path());
    if (arrow == "->") {
      fs::create_symlink(source, file);
    } else if (source == "expand" && words >> path) {
      write_file(file.string(), expand_repeats(read_file(test_data(path))));
    } else {
      fs::copy_file(test_data(source), file);
    }
  }
}

// The bytes of every regular file in `folder` and below it, by path.
inline std::map<std::string, std::string> folder_files(const std::filesystem::path& folder) {
  namespace fs = std::filesystem;
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_symlink() && entry.is_regular_file()) {
      files[fs::relative(entry.path(), folder).string()] = read_file(entry.path().string());
    }
  }
  return files;
}

// The bytes of every regular file `scenario` starts from, by path.
inline std::map<std::string, std::string> input_files(const std::filesystem::path& scenario) {
  TempFolder folder;
  make_inputs(scenario, folder.path());
  return folder_files(folder.path());
}

}  // namespace zelvo::test
