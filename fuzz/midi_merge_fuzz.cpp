// MIDI files of any format as outco.mid, opened through the application's
// intake (format 1 merged into one track) and read as the music source.
#include "fuzz_support.h"
#include "harmonizer/music.h"
#include "intake/score_intake.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo;
  return fuzz::fuzz_file(data, size, 64 * 1024, "outco.mid", [](console::JobConsole& console) {
    static intake::ScoreIntake intake;
    intake.begin_job();
    harmonizer::HarmonizerState& state = fuzz::fresh_harmonizer(3);
    state.score_opener = &intake;
    fuzz::or_abort(console, harmonizer::read_music(state, console, harmonizer::Preparation::kCheckOnly));
  });
}
