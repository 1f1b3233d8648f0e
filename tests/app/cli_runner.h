#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/files.h"

namespace zelvo::app {

struct CliResult {
  int status = -1;
  std::string output;  // standard output only
};

using test::TempFolder;

inline std::string shell_quote(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') out += "'\\''";
    else out += c;
  }
  return out + "'";
}

// Runs the zelvo binary with `args` in folder `cwd` (empty: this one).
inline CliResult run_zelvo(const std::vector<std::string>& args, const std::string& cwd = "") {
  std::string command;
  if (!cwd.empty()) command += "cd " + shell_quote(cwd) + " && ";
  command += shell_quote(ZELVO_BINARY);
  for (const std::string& arg : args) command += " " + shell_quote(arg);
  command += " 2>/dev/null";
  CliResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  size_t got = 0;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, got);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace zelvo::app
