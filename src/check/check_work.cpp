#include "check/check_work.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "check/composition_check.h"
#include "check/configuration_check.h"
#include "check/harmony_check.h"
#include "console/work_files.h"

namespace zelvo::check {

bool has_work_files(const std::string& folder) {
  std::error_code error;
  for (const char* name : {console::kCompositionFile, console::kCompositionCopyFile, console::kSequenceFile,
                           console::kConfigurationText, console::kConfigurationFile, console::kMusicFile,
                           console::kMusicArchive, console::kHarmonyFile, console::kHarmonyArchive,
                           console::kCompositionListing, console::kCompositionMidi}) {
    if (std::filesystem::exists(console::work_path(folder, name), error)) return true;
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
