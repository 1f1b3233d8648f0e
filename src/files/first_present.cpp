#include "files/first_present.h"

#include <filesystem>
#include <system_error>

#include "files/paths.h"

namespace zelvo::files {

namespace {

bool present(const std::string& path, Presence presence) {
  if (presence == Presence::kExists) {
    std::error_code error;
    return std::filesystem::exists(path, error);
  }
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

}  // namespace

const char* first_present(std::string_view folder, FilePair pair, Presence presence) {
  for (const char* name : {pair.first, pair.second}) {
    if (present(join_path(folder, name), presence)) return name;
  }
  return nullptr;
}

}  // namespace zelvo::files
