// The sequence file (insec.xml) under a fixed 4/4 configuration: reading,
// timing, sorting and the making of the sequences.
#include <cstddef>
#include <cstdint>

#include "composer/compose.h"
#include "fuzz_support.h"
#include "tables/composition.h"

namespace {

// The events' exchange sort is quadratic: bigger files are cut off.
constexpr size_t kMaxInput = 48 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo;
  if (size > kMaxInput) return 0;
  fuzz::enter_scratch_folder();
  static auto* state = new composer::ComposerState();
  console::Console& console = fuzz::fuzz_console();
  fuzz::write_file(composer::kSequenceFile, data, size);
  fuzz::run_job(console, [&] {
    composer::compose_init(*state);
    double* config = state->composition.config;
    for (int32_t i = 0; i < tables::kConfigCount; ++i) config[i] = 0;
    config[tables::kConfigBars] = 8;
    config[tables::kConfigTempo] = 120;
    config[tables::kConfigBeats] = 4;
    config[tables::kConfigBeatUnit] = 4;
    config[tables::kConfigSeed] = 7;
    composer::compose_timing(*state, console);
    composer::read_sequences(*state, console);
  });
  return 0;
}
