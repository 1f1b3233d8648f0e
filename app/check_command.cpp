#include "check_command.h"


#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "base/message_id.h"
#include "check/check_work.h"
#include "command_help.h"
#include "failure_line.h"
#include "command_line.h"
#include "console/job_console.h"
#include "base/windows1252.h"
#include "base/work_folder_name.h"
#include "intake/composition_intake.h"
#include "intake/score_intake.h"
#include "shell/folders.h"
#include "usage_output.h"

namespace zelvo::app {

namespace {

void print_utf8(const std::string& text) {
  const std::string utf8 = base::to_utf8(text);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

}  // namespace

int run_check_command(int argc, char** argv) {
  std::string work;
  int language = base::kEnglish;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "check") continue;
    if (arg == "--work" && i + 1 < argc) {
      work = argv[++i];
      continue;
    }
    if (std::string problem; i + 1 < argc && take_language_option(argc, argv, i, language, problem)) {
      if (!problem.empty()) return command_usage_error("zelvo", "check", language, problem);
      continue;
    }
    if (arg == "--help" || arg == "-h") return print_command_usage("check", language);
    return command_usage_error("zelvo", "check", language,
                               usage_problem(UsageProblem::kUnexpectedArgument, language, arg));
  }
  if (const base::Status usable = work.empty() ? base::Status() : shell::folder_usable(work); !usable.ok()) {
    print_failure("zelvo", usable);
    return kExitUsage;
  }
  if (!check::has_work_files(work)) {
    print_utf8(check::say(language, base::MessageId::kCheckNothingToCheck));
    print_utf8(check::say(language, base::MessageId::kCheckLookedInFolder, base::shown_work_folder(work).c_str()));
    return kExitAborted;
  }
  intake::ScoreIntake intake;
  intake::CompositionIntake composition_intake;
  const check::Findings findings = check::check_work(work, language, &intake, &composition_intake);
  for (const check::Finding& finding : findings) print_utf8(check::format_finding(finding) + "\n");
  if (findings.empty()) {
    print_utf8(check::say(language, base::MessageId::kCheckNothingFound));
    return kExitFinished;
  }
  print_utf8(check::say(language, base::MessageId::kCheckFoundCount, static_cast<int>(findings.size())));
  return kExitAborted;
}

}  // namespace zelvo::app
