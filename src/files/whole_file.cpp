#include "files/whole_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

namespace zelvo::files {

namespace {

using FilePtr = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

WriteResult write_file(const std::string& path, std::string_view bytes, bool on_disk) {
  FilePtr file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file) return WriteResult::kNotCreated;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  ok = ok && std::fflush(file.get()) == 0;
  ok = ok && (!on_disk || ::fsync(fileno(file.get())) == 0);
  const bool closed = std::fclose(file.release()) == 0;
  return ok && closed ? WriteResult::kWritten : WriteResult::kNotWritten;
}

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

WriteResult write_file(const std::string& path, std::string_view bytes) { return write_file(path, bytes, false); }

WriteResult write_whole(const std::string& path, std::string_view bytes, std::error_code* rename_error,
                        Keeping keeping) {
  if (rename_error != nullptr) rename_error->clear();
  struct stat replaced {};
  const bool keep_mode = keeping.permissions && ::stat(path.c_str(), &replaced) == 0;
  const std::string temporary = path + ".part";
  WriteResult written = write_file(temporary, bytes, keeping.on_disk);
  if (written == WriteResult::kWritten && keep_mode && ::chmod(temporary.c_str(), replaced.st_mode & 07777) != 0) {
    written = WriteResult::kNotWritten;
  }
  if (written == WriteResult::kWritten) {
    if (std::rename(temporary.c_str(), path.c_str()) == 0) return written;
    if (rename_error != nullptr) *rename_error = std::error_code(errno, std::generic_category());
  }
  std::remove(temporary.c_str());
  return written == WriteResult::kNotCreated ? written : WriteResult::kNotWritten;
}

}  // namespace zelvo::files
