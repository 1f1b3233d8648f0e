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
#include "command_line.h"
#include "media_commands.h"
#include "midi/timeline.h"

namespace zelvo::app {

namespace {

constexpr const char* kRenderUsage =
    "usage: zelvo render FILE.mid [-o FILE.wav] [--soundfont FILE.sf2] [--gain G]\n"
    "\n"
    "Renders a MIDI file to a WAV file (16-bit stereo, 44100 Hz) with FluidSynth,\n"
    "faster than real time; the same file always gives the same bytes. The sound\n"
    "goes on for 2 seconds after the last event, for the reverb to ring out.\n"
    "Channel 10 plays drums.\n"
    "\n"
    "  -o FILE.wav          output (default: the MIDI file's name with .wav)\n"
    "  --soundfont FILE     General MIDI soundfont (default: $ZELVO_SOUNDFONT, else\n"
    "                       FluidR3_GM.sf2 or TimGM6mb.sf2 in /usr/share/sounds/sf2)\n"
    "  --gain G             master gain, 0 to 10 (default 0.7)\n";

int render_usage(const std::string& problem) {
  std::fprintf(stderr, "zelvo render: %s\n%s", problem.c_str(), kRenderUsage);
  return kExitUsage;
}

}  // namespace

int run_render_command(int argc, char** argv) {
  std::string input, output, soundfont;
  audio::RenderOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kRenderUsage, stdout);
      return kExitFinished;
    }
    if (arg == "-o" || arg == "--soundfont" || arg == "--gain") {
      if (i + 1 >= argc) return render_usage("missing value after " + std::string(arg));
      const std::string value = argv[++i];
      if (arg == "-o") {
        output = value;
      } else if (arg == "--soundfont") {
        soundfont = value;
      } else {
        char* end = nullptr;
        options.gain = std::strtod(value.c_str(), &end);
        if (value.empty() || *end != '\0' || !(options.gain >= 0.0 && options.gain <= 10.0)) {
          return render_usage("--gain takes a number from 0 to 10");
        }
      }
      continue;
    }
    if (!input.empty() || (arg.size() > 1 && arg[0] == '-')) {
      return render_usage("unexpected argument " + std::string(arg));
    }
    input = arg;
  }
  if (input.empty()) return render_usage("no MIDI file given");
  if (output.empty()) output = output_beside(input, ".wav");

  std::string error;
  midi::Timeline song;
  if (!midi::read_timeline_file(input, song, error)) {
    std::fprintf(stderr, "zelvo: %s\n", error.c_str());
    return kExitAborted;
  }
  if (!audio::find_soundfont(soundfont, options.soundfont, error)) {
    std::fprintf(stderr, "zelvo: %s\n", error.c_str());
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
  const bool rendered = audio::render_wav(song, options, output, progress, error);
  done.store(true);
  watcher.join();
  if (shown) std::fputc('\n', stderr);
  if (!rendered && stop.load()) {
    std::fprintf(stderr, "zelvo: stopped; %s was not written\n", output.c_str());
    return kExitStopped;
  }
  if (!rendered) {
    std::fprintf(stderr, "zelvo: %s\n", error.c_str());
    return kExitAborted;
  }
  return kExitFinished;
}

}  // namespace zelvo::app
