#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/files.h"

namespace zelvo::app {

struct CliResult {
  int status = -1;
  std::string output;  // standard output
  std::string errors;  // standard error
};

using test::TempFolder;

inline std::string shell_quote(const std::string& text) { return "'" + test::replace_all(text, "'", "'\\''") + "'"; }

// Runs `program` (a shell word) with `args` in folder `cwd` (empty: this
// one), with no input.
inline CliResult run_command(const std::string& program, const std::vector<std::string>& args,
                             const std::string& cwd = "") {
  TempFolder streams;
  std::string command = cwd.empty() ? "" : "cd " + shell_quote(cwd) + " && ";
  command += program;
  for (const std::string& arg : args) command += " " + shell_quote(arg);
  command += " >" + shell_quote(streams.file("out")) + " 2>" + shell_quote(streams.file("err")) + " </dev/null";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, test::read_file(streams.file("out")),
          test::read_file(streams.file("err"))};
}

inline CliResult run_zelvo(const std::vector<std::string>& args, const std::string& cwd = "") {
  return run_command(shell_quote(ZELVO_BINARY), args, cwd);
}

}  // namespace zelvo::app
