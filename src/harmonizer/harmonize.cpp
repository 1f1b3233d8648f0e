#include "harmonizer/harmonize.h"

#include <cstdio>

namespace zelvo::harmonizer {

namespace {

constexpr console::MessagePair kStart{
    "\n** HARMONIZING!!! "
    "****************************************************************************\n\n",
    "\n** ARMONIZANDO!!! "
    "****************************************************************************\n\n"};
constexpr console::MessagePair kNoConfiguration{"\nError opening file %s\n",
                                                "\nError en el acceso al archivo %s\n"};

bool configuration_exists() {
  for (const char* name : {"conar.rur", "conar.txt"}) {
    if (std::FILE* file = std::fopen(name, "rb")) {
      std::fclose(file);
      return true;
    }
  }
  return false;
}

}  // namespace

// The run order of a Harmonize job. Stages are filled in as they are built.
void harmonize(HarmonizerState& state, console::Console& console) {
  (void)state;
  console_print(console, kStart);
  check_stop(console);
  if (!configuration_exists()) {
    console_print(console, kNoConfiguration, "conar");
    check_stop(console);
    abort_job(console);
  }
}

}  // namespace zelvo::harmonizer
