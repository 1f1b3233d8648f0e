#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "command_line.h"
#include "media_commands.h"

namespace zelvo::app {

bool is_media_command(std::string_view name) {
  for (const std::string_view command : kMediaCommands) {
    if (command == name) return true;
  }
  return false;
}

namespace {

// zelvo-media in the folder of this program's file, installed or in the
// build tree alike; PATH is not searched, so the two always match.
std::string media_program_path() {
  std::string self(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", self.data(), self.size() - 1);
  if (length <= 0) return "zelvo-media";
  self.resize(static_cast<size_t>(length));
  const size_t slash = self.rfind('/');
  return (slash == std::string::npos ? std::string() : self.substr(0, slash + 1)) + "zelvo-media";
}

}  // namespace

int run_media_program(int argc, char** argv) {
  const std::string path = media_program_path();
  std::vector<char*> arguments(argv, argv + argc);
  arguments[0] = const_cast<char*>(path.c_str());
  arguments.push_back(nullptr);
  std::fflush(stdout);
  execv(path.c_str(), arguments.data());
  std::fprintf(stderr, "zelvo: cannot run %s: %s\n", path.c_str(), std::strerror(errno));
  return kExitAborted;
}

}  // namespace zelvo::app
