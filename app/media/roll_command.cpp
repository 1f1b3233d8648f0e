#include <QGuiApplication>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "command_line.h"
#include "console/work_files.h"
#include "media_commands.h"
#include "picture/roll_painter.h"
#include "midi/timeline.h"
#include "roll/piano_roll.h"
#include "roll/tones.h"

namespace zelvo::app {

namespace {

constexpr const char* kRollUsage =
    "usage: zelvo roll FILE.mid [-o FILE.svg|FILE.png] [--width PX]\n"
    "       zelvo roll --work DIR [-o FILE.svg|FILE.png] [--width PX]\n"
    "\n"
    "Draws a MIDI file as a piano roll: time left to right with bar lines and\n"
    "bar numbers, pitch bottom to top with a line at every C, one colour per\n"
    "channel, velocity as opacity. With --work DIR alone the file is\n"
    "DIR/outar.mid, the harmonizer's result (with FILE.mid, the file and the\n"
    "picture are in DIR); where a tones file lies beside the MIDI file\n"
    "(outar.tones beside outar.mid) each note's given pitch is drawn faintly and\n"
    "its non-harmonic tone type written on it.\n"
    "\n"
    "  -o FILE      SVG for a name ending in .svg, else PNG (default: the MIDI\n"
    "               file's name with .png)\n"
    "  --width PX   picture width, 200 to 30000 (default 1600)\n";

constexpr int kDefaultWidth = 1600;

int roll_usage(const std::string& problem) {
  std::fprintf(stderr, "zelvo roll: %s\n%s", problem.c_str(), kRollUsage);
  return kExitUsage;
}

}  // namespace

int run_roll_command(int argc, char** argv) {
  std::string input, output, work;
  int width = kDefaultWidth;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kRollUsage, stdout);
      return kExitFinished;
    }
    if (arg == "-o" || arg == "--width" || arg == "--work") {
      if (i + 1 >= argc) return roll_usage("missing value after " + std::string(arg));
      const std::string value = argv[++i];
      if (arg == "-o") {
        output = value;
      } else if (arg == "--work") {
        work = value;
      } else {
        char* end = nullptr;
        const long given = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0' || given < 200 || given > 30000) {
          return roll_usage("--width takes a number of pixels from 200 to 30000");
        }
        width = static_cast<int>(given);
      }
      continue;
    }
    if (!input.empty() || (arg.size() > 1 && arg[0] == '-')) {
      return roll_usage("unexpected argument " + std::string(arg));
    }
    input = arg;
  }
  // The work folder is where the file and the picture are, as for the
  // other commands that take a file.
  if (!work.empty() && !input.empty() && chdir(work.c_str()) != 0) {
    std::fprintf(stderr, "zelvo: cannot use work folder %s: %s\n", work.c_str(), std::strerror(errno));
    return kExitUsage;
  }
  if (!work.empty() && input.empty()) {
    input = work + '/' + console::kHarmonyMidi;
    if (!output.empty() && output.front() != '/') output = work + '/' + output;
  }
  if (input.empty()) return roll_usage("no MIDI file given");
  if (output.empty()) output = output_beside(input, ".png");

  std::string error;
  midi::Timeline song;
  if (!midi::read_timeline_file(input, song, error)) {
    std::fprintf(stderr, "zelvo: %s\n", error.c_str());
    return kExitAborted;
  }
  roll::PianoRoll piano_roll = roll::make_piano_roll(song);
  std::ifstream tones(output_beside(input, ".tones"), std::ios::binary);
  if (tones) {
    const std::string text((std::istreambuf_iterator<char>(tones)), std::istreambuf_iterator<char>());
    roll::apply_tones(text, piano_roll);
  }

  // Drawing into files needs no display, and Qt's notes about the
  // desktop (no runtime folder and the like) are no concern of this command.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  int qt_argc = 1;
  char* qt_argv[] = {argv[0], nullptr};
  QGuiApplication application(qt_argc, qt_argv);
  if (!picture::save_roll(piano_roll, output, width, error)) {
    std::fprintf(stderr, "zelvo: %s\n", error.c_str());
    return kExitAborted;
  }
  return kExitFinished;
}

}  // namespace zelvo::app
