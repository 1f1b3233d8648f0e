// outco.mid as the harmonizer's music source: the MIDI codec with the
// departures the harmonizer accepts, then the layout it requires.
#include "fuzz_support.h"
#include "harmonizer/music.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo;
  return fuzz::fuzz_file(data, size, 64 * 1024, "outco.mid", [](console::JobConsole& console) {
    harmonizer::HarmonizerState& state = fuzz::fresh_harmonizer(3);
    state.settings.FirstMusicIns = 1;
    state.settings.LastMusicIns = 16;
    fuzz::or_abort(console, harmonizer::read_music(state, console));
  });
}
