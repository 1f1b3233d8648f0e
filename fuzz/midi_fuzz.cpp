// The MIDI reader (outco.mid) as the harmonizer's music source.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "harmonizer/music.h"
#include "harmonizer_support.h"

namespace {

constexpr size_t kMaxInput = 64 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo;
  if (size > kMaxInput) return 0;
  fuzz::enter_scratch_folder();
  harmonizer::HarmonizerState& state = fuzz::fresh_harmonizer(3);
  state.settings.FirstMusicIns = 1;
  state.settings.LastMusicIns = 16;
  console::Console& console = fuzz::fuzz_console();
  fuzz::write_file("outco.mid", data, size);
  fuzz::run_job(console, [&] { harmonizer::read_music(state, console); });
  return 0;
}
