#include "check/check_work.h"

#include <memory>

#include "check/composition_check.h"
#include "check/configuration_check.h"
#include "check/harmony_check.h"

namespace zelvo::check {

Findings check_work(int language, console::ScoreOpener* opener, console::CompositionOpener* composition_opener) {
  Findings findings;
  // The readers print their progress and errors; nobody sees this console.
  auto scratch = std::make_unique<console::Console>();
  scratch->set_language(language);
  check_composition(*scratch, language, findings, composition_opener, opener);
  check_configuration(*scratch, language, findings);
  check_harmony(*scratch, language, findings, opener);
  return findings;
}

}  // namespace zelvo::check
