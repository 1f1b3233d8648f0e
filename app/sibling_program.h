#pragma once

#include <unistd.h>

#include <string>

namespace zelvo::app {

// The program `name` in the folder of this process's own file: zelvo and
// zelvo-media are built and installed side by side, so each finds the other
// there (PATH is not searched, so the two always match).
inline std::string sibling_program(const char* name) {
  std::string self(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", self.data(), self.size() - 1);
  if (length <= 0) return name;
  self.resize(static_cast<size_t>(length));
  const size_t slash = self.rfind('/');
  return (slash == std::string::npos ? std::string() : self.substr(0, slash + 1)) + name;
}

}  // namespace zelvo::app
