#include "shell/check_report.h"

#include "base/message_id.h"
#include "check/check_work.h"
#include "intake/composition_intake.h"
#include "intake/score_intake.h"
#include "shell/shell_messages.h"

namespace zelvo::shell {

void print_check(console::JobConsole& console, const std::string& work_folder, const Folders& folders,
                 Platform& platform) {
  if (folders.work.empty()) {
    platform.show_message(kErrorTitle, kNoWorkFolder);
    return;
  }
  console_print(console, base::MessageId::kCheckingFolder, console_name(last_path_component(folders.work)).c_str());
  const int language = console.language();
  if (!check::has_work_files(work_folder)) {
    console.print(base::MessageId::kCheckNothingToCheck);
    return;
  }
  intake::ScoreIntake intake;
  intake::CompositionIntake composition_intake;
  const check::Findings findings = check::check_work(work_folder, language, &intake, &composition_intake);
  for (const check::Finding& finding : findings) {
    console.print_text(check::format_finding(finding) + "\n");
  }
  if (findings.empty()) {
    console.print(base::MessageId::kCheckNothingFound);
  } else {
    console.print(base::MessageId::kCheckFoundCount, static_cast<int>(findings.size()));
  }
}

}  // namespace zelvo::shell
