#include "check/check_work.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "check/composition_check.h"
#include "check/configuration_check.h"
#include "check/harmony_check.h"
#include "base/work_files.h"

namespace zelvo::check {

bool has_work_files(const std::string& folder) {
  std::error_code error;
  for (const char* name : {base::kCompositionFile, base::kCompositionCopyFile, base::kSequenceFile,
                           base::kConfigurationText, base::kConfigurationFile, base::kMusicFile,
                           base::kMusicArchive, base::kHarmonyFile, base::kHarmonyArchive,
                           base::kCompositionListing, base::kCompositionMidi}) {
    if (std::filesystem::exists(base::work_path(folder, name), error)) return true;
  }
  return false;
}

Findings check_work(const std::string& folder, int language, console::ScoreOpener* opener,
                    console::CompositionOpener* composition_opener) {
  Findings findings;
  // The readers print their progress and notes; nobody sees this console.
  auto scratch = std::make_unique<console::StandaloneConsole>();
  scratch->control().set_language(language);
  check_composition(folder, *scratch, language, findings, composition_opener, opener);
  check_configuration(folder, language, findings);
  check_harmony(folder, *scratch, language, findings, opener);
  return findings;
}

}  // namespace zelvo::check
