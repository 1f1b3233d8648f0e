#include "shell/folders.h"
#include "shell/install_paths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "console/job_console.h"
#include "base/message_id.h"
#include "base/windows1252.h"
#include "files/whole_file.h"

namespace zelvo::shell {

using enum base::MessageId;

namespace {

// The order a case-insensitive file system lists names in: by upper-case
// bytes, then by the bytes themselves so the order is total.
bool listing_order(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const int ua = std::toupper(static_cast<unsigned char>(a[i]));
    const int ub = std::toupper(static_cast<unsigned char>(b[i]));
    if (ua != ub) return ua < ub;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

bool read_folder_line(std::istream& in, std::string& path) {
  if (!std::getline(in, path)) {
    path.clear();
    return false;
  }
  if (!path.empty() && path.back() == '\r') path.pop_back();
  if (path.size() > kMaxFolderPath) path.clear();
  return true;
}

bool valid_utf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t extra = 0;
    char32_t c = lead;
    if (lead < 0x80) {
      ++i;
      continue;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1, c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2, c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3, c = lead & 0x07;
    } else {
      return false;
    }
    if (i + extra >= text.size()) return false;  // cut short at the end
    for (size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      c = (c << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are no UTF-8.
    if ((extra == 2 && c < 0x800) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF)) ||
        (c >= 0xD800 && c <= 0xDFFF)) {
      return false;
    }
    i += extra + 1;
  }
  return true;
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

// Prints the folder error when it is not.
bool listable(console::JobConsole& console, const std::string& folder) {
  const base::Status listed = for_each_file(folder, [](const std::string&) { return 1; });
  if (!listed.ok()) console.print(listed.error());
  return listed.ok();
}

}  // namespace

std::string last_path_component(std::string_view path) {
  while (path.size() > 1 && path.back() == kPathSeparator) path.remove_suffix(1);
  const size_t slash = path.rfind(kPathSeparator);
  if (slash == std::string_view::npos) return std::string(path);
  return std::string(path.substr(slash + 1));
}

std::string current_directory() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::current_path(error);
  return error ? std::string() : path.string();
}

base::Message unusable_work_folder(const std::string& folder, int error) {
  return base::Message(base::MessageId::kCannotUseWorkFolder, folder, std::string(std::strerror(error)));
}

base::Status folder_usable(const std::string& folder) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) return unusable_work_folder(folder, errno);
  if (!S_ISDIR(info.st_mode)) return unusable_work_folder(folder, ENOTDIR);
  if (::access(folder.c_str(), X_OK) != 0) return unusable_work_folder(folder, errno);
  return base::Status();
}

std::string console_name(std::string_view file_system_name) {
  return valid_utf8(file_system_name) ? base::from_utf8(file_system_name)
                                       : std::string(file_system_name);
}

base::Status for_each_file(const std::string& folder, const FileAction& action) {
  const base::Message unreadable(base::MessageId::kFolderError, console_name(folder));
  std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
  if (!dir) return unreadable;
  std::vector<std::string> names;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  dir.reset();
  std::sort(names.begin(), names.end(), listing_order);
  for (const std::string& name : names) {
    const std::string path = join_path(folder, name);
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
      // A link to nothing is no file to copy; any other entry that cannot be
      // read ends the walk.
      if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) continue;
      return unreadable;
    }
    if (!S_ISREG(info.st_mode)) continue;
    if (action(path) != 0) break;
  }
  return {};
}

bool same_folder(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code error;
  const bool same = std::filesystem::equivalent(a, b, error);
  return !error && same;
}

std::string default_template_folder(const std::string& start_folder, const std::string& program) {
  const std::string own = join_path(start_folder, kTemplateFolderName);
  // A start folder without a template of its own uses the installed one.
  std::error_code error;
  if (std::filesystem::is_directory(own, error)) return own;
  const std::string data = data_folder_beside(program);
  if (!data.empty()) {
    const std::string installed = join_path(data, kTemplateFolderName);
    if (std::filesystem::is_directory(installed, error)) return installed;
  }
  // A program that was never installed: the examples/Template of the source
  // tree it was built from, wherever its build folder is.
  const std::string source = built_source_folder();
  if (!source.empty()) {
    const std::filesystem::path built = std::filesystem::path(source) / "examples" / kTemplateFolderName;
    if (std::filesystem::is_directory(built, error)) return built.lexically_normal().string();
  }
  return own;
}

Folders load_folders(console::JobConsole& console, const std::string& folder) {
  Folders folders;
  std::ifstream file(join_path(folder, kFoldersFileName), std::ios::binary);
  if (!file) {
    folders.template_folder = default_template_folder(folder);
    return folders;
  }
  read_folder_line(file, folders.template_folder);
  read_folder_line(file, folders.work);
  read_folder_line(file, folders.project);
  if (folders.template_folder.empty()) {
    folders.template_folder = default_template_folder(folder);
  } else if (!listable(console, folders.template_folder)) {
    folders.template_folder.clear();
  }
  if (!folders.work.empty() && !listable(console, folders.work)) folders.work.clear();
  if (!folders.project.empty() && !listable(console, folders.project)) folders.project.clear();
  return folders;
}

bool save_folders(const std::string& folder, const Folders& folders) {
  const std::string lines = folders.template_folder + "\n" + folders.work + "\n" + folders.project + "\n";
  return files::write_whole(join_path(folder, kFoldersFileName), lines) == files::WriteResult::kWritten;
}

}  // namespace zelvo::shell
