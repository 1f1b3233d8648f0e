#include "files/whole_file.h"

#include <cerrno>
#include <cstdio>
#include <memory>

namespace zelvo::files {

namespace {

using FilePtr = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

}  // namespace

bool read_whole(const std::string& path, std::string& bytes) {
  FilePtr file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return false;
  return read_whole(file.get(), bytes);
}

bool read_whole(std::FILE* file, std::string& bytes) {
  bytes.clear();
  char buffer[1 << 16];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, got);
  return std::ferror(file) == 0;
}

WriteResult write_file(const std::string& path, std::string_view bytes) {
  FilePtr file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file) return WriteResult::kNotCreated;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  ok = ok && std::fflush(file.get()) == 0;
  const bool closed = std::fclose(file.release()) == 0;
  return ok && closed ? WriteResult::kWritten : WriteResult::kNotWritten;
}

WriteResult write_whole(const std::string& path, std::string_view bytes, std::error_code* rename_error) {
  if (rename_error != nullptr) rename_error->clear();
  const std::string temporary = path + ".part";
  const WriteResult written = write_file(temporary, bytes);
  if (written == WriteResult::kWritten) {
    if (std::rename(temporary.c_str(), path.c_str()) == 0) return written;
    if (rename_error != nullptr) *rename_error = std::error_code(errno, std::generic_category());
  }
  std::remove(temporary.c_str());
  return written == WriteResult::kNotCreated ? written : WriteResult::kNotWritten;
}

}  // namespace zelvo::files
