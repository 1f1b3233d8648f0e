// Scores of any layout: the same bytes as inmus.xml and inarm.xml, opened
// through the application's intake (compressed, UTF-16 and compact files
// laid out, pickups placed, meter changes refused), then read in the
// harmonizer's order.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "harmonizer/harmony_reader.h"
#include "harmonizer/music.h"
#include "harmonizer_support.h"
#include "notation/score_intake.h"

namespace {

// Sorting the notes is quadratic: bigger files are cut off.
constexpr size_t kMaxInput = 64 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo;
  if (size > kMaxInput) return 0;
  fuzz::enter_scratch_folder();
  static notation::ScoreIntake intake;
  intake.begin_job();
  harmonizer::HarmonizerState& state = fuzz::fresh_harmonizer(0);
  state.score_opener = &intake;
  state.settings.LastMusicIns = 3;
  state.settings.FirstHarmIns = 4;
  state.settings.HarmInsNum = 2;
  console::Console& console = fuzz::fuzz_console();
  fuzz::write_file("inmus.xml", data, size);
  fuzz::write_file("inarm.xml", data, size);
  fuzz::run_job(console, [&] {
    harmonizer::read_music(state, console, harmonizer::Preparation::kCheckOnly);
    harmonizer::read_harmony(state, console);
    harmonizer::read_music(state, console);
  });
  return 0;
}
