#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "support/files.h"

namespace zelvo::app {
namespace {

using test::TempFolder;

// A composition of many empty bars: the job prints a line per bar for long
// enough to be interrupted.
void write_long_composition(const TempFolder& work) {
  test::write_file(work.file("incom.htm"), test::read_file(test::test_data("app/two_million_bars.htm")));
}

struct Interrupted {
  int status = -1;
  std::string output;
};

// Starts zelvo compose, waits until it prints its first bar, sends SIGINT
// `interrupts` times and collects the rest of its output.
Interrupted interrupt_compose(const TempFolder& work, int interrupts) {
  int pipe_ends[2];
  Interrupted result;
  if (pipe(pipe_ends) != 0) return result;
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipe_ends[1], STDOUT_FILENO);
    close(pipe_ends[0]);
    close(pipe_ends[1]);
    const int null_fd = open("/dev/null", O_WRONLY);
    dup2(null_fd, STDERR_FILENO);
    execl(ZELVO_BINARY, ZELVO_BINARY, "--work", work.path().c_str(), "compose", nullptr);
    _exit(127);
  }
  close(pipe_ends[1]);
  char buffer[4096];
  bool sent = false;
  for (;;) {
    const ssize_t got = read(pipe_ends[0], buffer, sizeof buffer);
    if (got <= 0) break;
    result.output.append(buffer, static_cast<size_t>(got));
    if (!sent && result.output.find("Procesing bar 3\n") != std::string::npos) {
      for (int i = 0; i < interrupts; ++i) {
        kill(child, SIGINT);
        usleep(20000);
      }
      sent = true;
    }
  }
  close(pipe_ends[0]);
  int status = 0;
  waitpid(child, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

TEST(InterruptTest, CtrlCStopsTheJobWithTheStopMessageAndStatus130) {
  TempFolder work;
  write_long_composition(work);
  const Interrupted result = interrupt_compose(work, 1);
  EXPECT_EQ(result.status, 130) << result.output;
  const std::string stop = "\n\nCOMPILATION STOPPED BY USER\n\n";
  ASSERT_GE(result.output.size(), stop.size());
  EXPECT_EQ(result.output.substr(result.output.size() - stop.size()), stop);
  EXPECT_EQ(result.output.find(stop), result.output.size() - stop.size());  // printed once
  EXPECT_FALSE(std::ifstream(work.file("outco.mid")).good());
}

TEST(InterruptTest, SecondCtrlCExitsAtOnce) {
  TempFolder work;
  write_long_composition(work);
  const Interrupted result = interrupt_compose(work, 2);
  EXPECT_EQ(result.status, 130);
}

}  // namespace
}  // namespace zelvo::app
