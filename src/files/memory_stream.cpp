#include "files/memory_stream.h"

#include <sys/types.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace zelvo::files {

namespace {

struct Cookie {
  std::string text;
  size_t at = 0;
};

ssize_t read_cookie(void* cookie, char* buffer, size_t size) {
  Cookie& c = *static_cast<Cookie*>(cookie);
  const size_t count = std::min(size, c.text.size() - c.at);
  std::memcpy(buffer, c.text.data() + c.at, count);
  c.at += count;
  return static_cast<ssize_t>(count);
}

int seek_cookie(void* cookie, off64_t* offset, int whence) {
  Cookie& c = *static_cast<Cookie*>(cookie);
  const off64_t base = whence == SEEK_SET   ? 0
                       : whence == SEEK_CUR ? static_cast<off64_t>(c.at)
                                            : static_cast<off64_t>(c.text.size());
  const off64_t target = base + *offset;
  if (target < 0 || target > static_cast<off64_t>(c.text.size())) return -1;
  c.at = static_cast<size_t>(target);
  *offset = target;
  return 0;
}

int close_cookie(void* cookie) {
  delete static_cast<Cookie*>(cookie);
  return 0;
}

}  // namespace

std::FILE* open_memory_stream(std::string text) {
  auto* cookie = new Cookie{std::move(text)};
  cookie_io_functions_t functions{};
  functions.read = read_cookie;
  functions.seek = seek_cookie;
  functions.close = close_cookie;
  std::FILE* stream = fopencookie(cookie, "r", functions);
  if (stream == nullptr) delete cookie;
  return stream;
}

MemoryOutput::MemoryOutput() : file_(open_memstream(&data_, &size_)) {}

MemoryOutput::~MemoryOutput() {
  if (file_ != nullptr) std::fclose(file_);
  std::free(data_);
}

std::string MemoryOutput::take() {
  if (file_ == nullptr) return std::string();
  std::fclose(file_);
  file_ = nullptr;
  std::string text = data_ != nullptr ? std::string(data_, size_) : std::string();
  std::free(data_);
  data_ = nullptr;
  size_ = 0;
  return text;
}

}  // namespace zelvo::files
