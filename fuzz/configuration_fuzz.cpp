// The harmonizer's configuration file (conar.rur).
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "harmonizer/configuration.h"
#include "harmonizer_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo;
  if (size > 64 * 1024) return 0;
  fuzz::enter_scratch_folder();
  harmonizer::HarmonizerState& state = fuzz::fresh_harmonizer(0);
  console::Console& console = fuzz::fuzz_console();
  fuzz::write_file("conar.rur", data, size);
  fuzz::run_job(console, [&] { harmonizer::read_configuration(state.settings, console); });
  return 0;
}
