#include "shell/install_paths.h"

#include <filesystem>
#include <system_error>

namespace zelvo::shell {

namespace {

std::string under_prefix(const char* relative) {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || program.empty()) return std::string();
  return (program.parent_path().parent_path() / relative).lexically_normal().string();
}

#ifndef ZELVO_BUILT_SOURCE_DIR
#define ZELVO_BUILT_SOURCE_DIR ""
#endif

std::string own_folder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : program.parent_path().string();
}

}  // namespace

std::string program_folder() { return own_folder(); }

std::string installed_data_folder() { return under_prefix("share/zelvo"); }
std::string data_folder_beside(const std::string& program_folder) {
  if (program_folder.empty()) return std::string();
  return (std::filesystem::path(program_folder).parent_path() / "share/zelvo").lexically_normal().string();
}
std::string built_source_folder() { return ZELVO_BUILT_SOURCE_DIR; }
std::string installed_documentation_folder() { return under_prefix("share/doc/zelvo"); }

}  // namespace zelvo::shell
