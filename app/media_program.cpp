#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "command_line.h"
#include "media_commands.h"
#include "sibling_program.h"

namespace zelvo::app {

bool is_media_command(std::string_view name) {
  for (const std::string_view command : kMediaCommands) {
    if (command == name) return true;
  }
  return false;
}

int run_media_program(int argc, char** argv) {
  const std::string path = sibling_program("zelvo-media");
  std::vector<char*> arguments(argv, argv + argc);
  arguments[0] = const_cast<char*>(path.c_str());
  arguments.push_back(nullptr);
  std::fflush(stdout);
  execv(path.c_str(), arguments.data());
  std::fprintf(stderr, "zelvo: cannot run %s: %s\n", path.c_str(), std::strerror(errno));
  return kExitAborted;
}

}  // namespace zelvo::app
