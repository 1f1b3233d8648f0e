// The sequence file (insec.xml) under a fixed 4/4 configuration: reading,
// timing, sorting and the making of the sequences (the sort is quadratic:
// bigger files are cut off).
#include "composer/compose.h"
#include "fuzz_support.h"
#include "tables/composition.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo;
  static auto* state = new composer::ComposerState();
  return fuzz::fuzz_file(data, size, 48 * 1024, composer::kSequenceFile, [](console::JobConsole& console) {
    composer::compose_init(*state);
    state->work_folder = fuzz::scratch_folder();
    double* config = state->composition.config;
    for (int32_t i = 0; i < tables::kConfigCount; ++i) config[i] = 0;
    config[tables::kConfigBars] = 8;
    config[tables::kConfigTempo] = 120;
    config[tables::kConfigBeats] = 4;
    config[tables::kConfigBeatUnit] = 4;
    config[tables::kConfigSeed] = 7;
    fuzz::or_abort(console, composer::compose_timing(*state, console));
    fuzz::or_abort(console, composer::read_sequences(*state, console));
  });
}
