#pragma once

#include <cstdio>
#include <string>

namespace zelvo::files {

// A read-only stream over `text`, which it owns until it is closed, so the
// line readers read a laid-out score, or a file a job was given as bytes,
// as they read a file. nullptr when the
// system refuses the stream.
std::FILE* open_memory_stream(std::string text);

// A stream that printf-style writers write into memory, for text that goes
// out as bytes rather than to a path. file() is null when the system
// refuses the stream; take() closes it and gives what was written.
class MemoryOutput {
 public:
  MemoryOutput();
  ~MemoryOutput();
  MemoryOutput(const MemoryOutput&) = delete;
  MemoryOutput& operator=(const MemoryOutput&) = delete;

  std::FILE* file() const { return file_; }
  std::string take();

 private:
  char* data_ = nullptr;
  size_t size_ = 0;
  std::FILE* file_ = nullptr;
};

}  // namespace zelvo::files
