// MIDI files of any format as outco.mid, opened through the application's
// intake (format 1 merged into one track) and read as the music source.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "harmonizer/music.h"
#include "harmonizer_support.h"
#include "notation/score_intake.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo;
  constexpr size_t kMaxInput = 64 * 1024;
  if (size > kMaxInput) return 0;
  fuzz::enter_scratch_folder();
  static notation::ScoreIntake intake;
  intake.begin_job();
  harmonizer::HarmonizerState& state = fuzz::fresh_harmonizer(3);
  state.score_opener = &intake;
  console::Console& console = fuzz::fuzz_console();
  fuzz::write_file("outco.mid", data, size);
  fuzz::run_job(console,
                [&] { harmonizer::read_music(state, console, harmonizer::Preparation::kCheckOnly); });
  return 0;
}
