#include "shell/check_report.h"

#include "check/check_messages.h"
#include "check/check_work.h"
#include "intake/composition_intake.h"
#include "intake/score_intake.h"
#include "shell/shell_messages.h"

namespace zelvo::shell {

namespace {

constexpr base::MessagePair kChecking{"\n\nCHECKING %s:\n\n", "\n\nREVISANDO %s:\n\n"};
constexpr base::MessagePair kLine = base::same_text("%s\n");

}  // namespace

void print_check(console::JobConsole& console, const std::string& work_folder, const Folders& folders,
                 Platform& platform) {
  if (folders.work.empty()) {
    platform.show_message(kErrorTitle, kNoWorkFolder);
    return;
  }
  console_print(console, kChecking, console_name(last_path_component(folders.work)).c_str());
  const int language = console.language();
  if (!check::has_work_files(work_folder)) {
    console_print(console, base::same_text("%s"), check::say(language, check::kNothingToCheck).c_str());
    return;
  }
  intake::ScoreIntake intake;
  intake::CompositionIntake composition_intake;
  const check::Findings findings = check::check_work(work_folder, language, &intake, &composition_intake);
  for (const check::Finding& finding : findings) {
    console_print(console, kLine, check::format_finding(finding).c_str());
  }
  const std::string total = findings.empty() ? check::say(language, check::kNothingFound)
                                             : check::say(language, check::kFoundCount,
                                                          static_cast<int>(findings.size()));
  console_print(console, base::same_text("%s"), total.c_str());
}

}  // namespace zelvo::shell
