// The composer's listing (outco.rur) as the harmonizer's music source.
#include "fuzz_support.h"
#include "harmonizer/music.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo;
  return fuzz::fuzz_file(data, size, 64 * 1024, "outco.rur", [](console::JobConsole& console) {
    harmonizer::HarmonizerState& state = fuzz::fresh_harmonizer(1);
    state.settings.FirstMusicIns = 1;
    state.settings.LastMusicIns = 3;
    fuzz::or_abort(console, harmonizer::read_music(state, console));
  });
}
