// The harmonizer's configuration file (conar.rur).
#include "fuzz_support.h"
#include "harmonizer/configuration.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo;
  return fuzz::fuzz_file(data, size, 64 * 1024, "conar.rur", [](console::JobConsole& console) {
    harmonizer::HarmonizerState& state = fuzz::fresh_harmonizer(0);
    harmonizer::read_configuration(state.settings, console, state.work_folder);
  });
}
