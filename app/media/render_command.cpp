#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>

#include "audio/soundfont.h"
#include "audio/wav_render.h"
#include "command_help.h"
#include "failure_line.h"
#include "command_line.h"
#include "base/message.h"
#include "usage_output.h"
#include "media_commands.h"
#include "midi/timeline.h"

namespace zelvo::app {

namespace {

int render_usage(int language, UsageProblem problem, std::string_view word = {}) {
  return command_usage_error("zelvo render", "render", language, usage_problem(problem, language, word));
}

}  // namespace

int run_render_command(int argc, char** argv) {
  std::string input, output, soundfont;
  audio::RenderOptions options;
  int language = base::kEnglish;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (std::string problem; take_language_option(argc, argv, i, language, problem)) {
      if (!problem.empty()) return command_usage_error("zelvo render", "render", language, problem);
      continue;
    }
    if (arg == "--help" || arg == "-h") return print_command_usage("render", language);
    if (arg == "-o" || arg == "--soundfont" || arg == "--gain") {
      if (i + 1 >= argc) return render_usage(language, UsageProblem::kMissingValue, arg);
      const std::string value = argv[++i];
      if (arg == "-o") {
        output = value;
      } else if (arg == "--soundfont") {
        soundfont = value;
      } else {
        char* end = nullptr;
        options.gain = std::strtod(value.c_str(), &end);
        if (value.empty() || *end != '\0' || !(options.gain >= 0.0 && options.gain <= 10.0)) {
          return render_usage(language, UsageProblem::kGainRange);
        }
      }
      continue;
    }
    if (!input.empty() || (arg.size() > 1 && arg[0] == '-')) {
      return render_usage(language, UsageProblem::kUnexpectedArgument, arg);
    }
    input = arg;
  }
  if (input.empty()) return render_usage(language, UsageProblem::kNoMidiFile);
  if (output.empty()) output = output_beside(input, ".wav");

  midi::Timeline song;
  if (const base::Status read = midi::read_timeline_file(input, song); !read.ok()) {
    print_failure("zelvo", read);
    return kExitAborted;
  }
  if (const base::Status found = audio::find_soundfont(soundfont, options.soundfont); !found.ok()) {
    print_failure("zelvo", found);
    return kExitAborted;
  }
  // Ctrl-C (or a TERM) stops the render, which then removes its temporary
  // file: the signals are taken by a watcher thread, not by a handler.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  std::atomic<bool> stop{false};
  std::atomic<bool> done{false};
  std::thread watcher([&] {
    const timespec poll{0, 50 * 1000 * 1000};
    while (!done.load()) {
      const int signal = sigtimedwait(&stop_signals, nullptr, &poll);
      if (signal == SIGINT || signal == SIGTERM) stop.store(true);
    }
  });

  // A progress line only when the render takes long enough to wonder, and
  // redrawn only when its percentage changes.
  const auto start = std::chrono::steady_clock::now();
  bool shown = false;
  int last_percent = -1;
  // Into a log (standard error not a terminal) no progress line goes.
  const bool terminal = isatty(STDERR_FILENO) != 0;
  const auto progress = [&](double share) {
    if (stop.load()) return false;
    if (!terminal) return true;
    const int percent = static_cast<int>(share * 100.0);
    if (percent == last_percent) return true;
    if (!shown && std::chrono::steady_clock::now() - start < std::chrono::seconds(1)) return true;
    shown = true;
    last_percent = percent;
    std::fprintf(stderr, "\rzelvo: rendering %s: %3d%%", output.c_str(), percent);
    std::fflush(stderr);
    return true;
  };
  const base::Status rendered = audio::render_wav(song, options, output, progress);
  done.store(true);
  watcher.join();
  if (shown) std::fputc('\n', stderr);
  if (!rendered.ok() && stop.load()) {
    std::fprintf(stderr, "zelvo: stopped; %s was not written\n", output.c_str());
    return kExitStopped;
  }
  if (!rendered.ok()) {
    print_failure("zelvo", rendered);
    return kExitAborted;
  }
  return kExitFinished;
}

}  // namespace zelvo::app
