#include "base/work_folder_name.h"

#include <filesystem>
#include <system_error>

#include "base/windows1252.h"

namespace zelvo::base {

std::string shown_work_folder(const std::string& folder) {
  std::error_code error;
  const std::filesystem::path where =
      folder.empty() ? std::filesystem::current_path(error) : std::filesystem::path(folder);
  const std::string absolute = std::filesystem::weakly_canonical(where, error).string();
  return error ? "." : from_utf8(absolute);
}

}  // namespace zelvo::base
