#include "missing_file.h"

#include <filesystem>
#include <system_error>

namespace zelvo::app {

std::string looked_for(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (fs::exists(path, error)) return std::string();
  const fs::path folder = fs::weakly_canonical(fs::absolute(fs::path(path), error).parent_path(), error);
  return path + " was looked for in the folder " + (error ? std::string(".") : folder.string());
}

}  // namespace zelvo::app
