#include <csignal>

#include "command_line.h"

int main(int argc, char** argv) {
  // A file-size limit must fail the write (and so the job, with its
  // message) rather than kill the process with a half-written file.
  std::signal(SIGXFSZ, SIG_IGN);
  return zelvo::app::run_command_line(argc, argv);
}
