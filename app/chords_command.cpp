#include "chords_command.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "command_help.h"
#include "failure_line.h"
#include "command_line.h"
#include "base/message.h"
#include "base/work_files.h"
#include "leadsheet/lead_sheet_file.h"
#include "missing_file.h"
#include "usage_output.h"

namespace zelvo::app {

namespace {

int chords_usage(int language, UsageProblem problem, std::string_view word = {}) {
  return command_usage_error("zelvo", "chords", language, usage_problem(problem, language, word));
}

}  // namespace

int run_chords_command(int argc, char** argv) {
  std::string score_path;
  std::string output = base::kHarmonyFile;
  int first_part = 0;
  int language = base::kEnglish;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (std::string problem; take_language_option(argc, argv, i, language, problem)) {
      if (!problem.empty()) return command_usage_error("zelvo", "chords", language, problem);
      continue;
    }
    if (arg == "-h" || arg == "--help") return print_command_usage("chords", language);
    if (arg == "-o" || arg == "--first-part") {
      if (i + 1 >= argc) return chords_usage(language, UsageProblem::kMissingValue, arg);
      const std::string value = argv[++i];
      if (arg == "-o") {
        output = value;
      } else {
        first_part = std::atoi(value.c_str());
        if (first_part < 1 || first_part > 15) return chords_usage(language, UsageProblem::kFirstPartRange);
      }
    } else if (score_path.empty()) {
      score_path = arg;
    } else {
      return chords_usage(language, UsageProblem::kUnexpectedArgument, arg);
    }
  }
  if (score_path.empty()) return chords_usage(language, UsageProblem::kNoScore);

  leadsheet::HarmonyPartsFrom from = leadsheet::HarmonyPartsFrom::kGiven;
  const base::Status written = leadsheet::write_lead_sheet_harmony(score_path, output, first_part, &from);
  if (!written.ok()) {
    // Said in English, whatever --lang says, as it always was.
    print_failure("zelvo", written);
    if (const std::string where = looked_for(score_path); !where.empty()) {
      std::fprintf(stderr, "zelvo: %s\n", where.c_str());
    }
    return kExitAborted;
  }
  std::printf("zelvo: %s\n", leadsheet::harmony_parts_note(output, first_part, from, false).c_str());
  return kExitFinished;
}

}  // namespace zelvo::app
