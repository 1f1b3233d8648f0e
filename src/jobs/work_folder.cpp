#include "jobs/work_folder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "console/work_files.h"

namespace zelvo::jobs {

namespace fs = std::filesystem;

bool read_work_inputs(const std::string& folder, Files& files, std::string& problem) {
  std::error_code error;
  const fs::path where = folder.empty() ? fs::path(".") : fs::path(folder);
  for (auto it = fs::directory_iterator(where, error); !error && it != fs::directory_iterator(); it.increment(error)) {
    if (!it->is_regular_file(error)) continue;
    const std::string name = it->path().filename().string();
    // A file that cannot be opened is left out: the job finds it missing,
    // as it would have found it unopenable.
    std::ifstream in(it->path(), std::ios::binary);
    if (!in.is_open()) continue;
    files[name] = std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>{});
  }
  if (error) {
    problem = "cannot read the folder " + where.string() + ": " + error.message();
    return false;
  }
  return true;
}

bool write_work_outputs(const std::string& folder, const Files& files, std::string& problem) {
  for (const auto& [name, bytes] : files) {
    const std::string path = console::work_path(folder, name);
    const std::string temporary = path + ".part";
    std::error_code error;
    const fs::path parent = fs::path(path).parent_path();
    if (!parent.empty()) fs::create_directories(parent, error);
    bool written = false;
    if (std::FILE* file = std::fopen(temporary.c_str(), "wb")) {
      written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
      written = std::fclose(file) == 0 && written;
    }
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
      std::remove(temporary.c_str());
      problem = "cannot write " + path;
      return false;
    }
  }
  return true;
}

}  // namespace zelvo::jobs
