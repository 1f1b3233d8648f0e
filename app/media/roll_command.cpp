#include <QGuiApplication>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "command_help.h"
#include "failure_line.h"
#include "command_line.h"
#include "base/message.h"
#include "usage_output.h"
#include "base/work_files.h"
#include "media_commands.h"
#include "picture/roll_painter.h"
#include "midi/timeline.h"
#include "roll/piano_roll.h"
#include "roll/tones.h"
#include "shell/folders.h"
#include "files/paths.h"
#include "files/whole_file.h"

namespace zelvo::app {

namespace {

constexpr int kDefaultWidth = 1600;

int roll_usage(int language, UsageProblem problem, std::string_view word = {}) {
  return command_usage_error("zelvo roll", "roll", language, usage_problem(problem, language, word));
}

}  // namespace

int run_roll_command(int argc, char** argv) {
  std::string input, output, work;
  int width = kDefaultWidth;
  int language = base::kEnglish;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (std::string problem; take_language_option(argc, argv, i, language, problem)) {
      if (!problem.empty()) return command_usage_error("zelvo roll", "roll", language, problem);
      continue;
    }
    if (arg == "--help" || arg == "-h") return print_command_usage("roll", language);
    if (arg == "-o" || arg == "--width" || arg == "--work") {
      if (i + 1 >= argc) return roll_usage(language, UsageProblem::kMissingValue, arg);
      const std::string value = argv[++i];
      if (arg == "-o") {
        output = value;
      } else if (arg == "--work") {
        work = value;
      } else {
        char* end = nullptr;
        const long given = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0' || given < 200 || given > 30000) {
          return roll_usage(language, UsageProblem::kWidthRange);
        }
        width = static_cast<int>(given);
      }
      continue;
    }
    if (!input.empty() || (arg.size() > 1 && arg[0] == '-')) {
      return roll_usage(language, UsageProblem::kUnexpectedArgument, arg);
    }
    input = arg;
  }
  // The work folder is where the file and the picture are, as for the
  // other commands that take a file.
  if (!work.empty() && !input.empty() && chdir(work.c_str()) != 0) {
    print_failure("zelvo", shell::unusable_work_folder(work, errno));
    return kExitUsage;
  }
  if (!work.empty() && input.empty()) {
    input = files::join_path(work, base::kHarmonyMidi);
    if (!output.empty() && output.front() != '/') output = files::join_path(work, output);
  }
  if (input.empty()) return roll_usage(language, UsageProblem::kNoMidiFile);
  if (output.empty()) output = output_beside(input, ".png");

  midi::Timeline song;
  if (const base::Status read = midi::read_timeline_file(input, song); !read.ok()) {
    print_failure("zelvo", read);
    return kExitAborted;
  }
  roll::PianoRoll piano_roll = roll::make_piano_roll(song);
  if (std::string tones; files::read_whole(output_beside(input, ".tones"), tones)) roll::apply_tones(tones, piano_roll);

  // Drawing into files needs no display, and Qt's notes about the
  // desktop (no runtime folder and the like) are no concern of this command.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  int qt_argc = 1;
  char* qt_argv[] = {argv[0], nullptr};
  QGuiApplication application(qt_argc, qt_argv);
  if (const base::Status saved = picture::save_roll(piano_roll, output, width); !saved.ok()) {
    print_failure("zelvo", saved);
    return kExitAborted;
  }
  return kExitFinished;
}

}  // namespace zelvo::app
