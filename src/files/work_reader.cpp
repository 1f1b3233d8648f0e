#include "files/work_reader.h"

#include <sys/stat.h>

#include "files/memory_stream.h"
#include "files/paths.h"
#include "files/whole_file.h"

namespace zelvo::files {

bool FolderReader::read(const std::string& name, std::string& bytes) const {
  return read_whole(join_path(folder_, name), bytes);
}

bool FolderReader::has_file(const std::string& name) const {
  struct stat info {};
  return ::stat(join_path(folder_, name).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::FILE* FolderReader::open(const std::string& name) const {
  return std::fopen(join_path(folder_, name).c_str(), "rb");
}

const std::string* MemoryReader::find(const std::string& name) const {
  if (const auto it = front_.find(name); it != front_.end()) return &it->second;
  if (const auto it = back_.find(name); it != back_.end()) return &it->second;
  return nullptr;
}

bool MemoryReader::read(const std::string& name, std::string& bytes) const {
  const std::string* file = find(name);
  if (file == nullptr) return false;
  bytes = *file;
  return true;
}

std::FILE* MemoryReader::open(const std::string& name) const {
  const std::string* file = find(name);
  return file != nullptr ? open_memory_stream(*file) : nullptr;
}

}  // namespace zelvo::files
