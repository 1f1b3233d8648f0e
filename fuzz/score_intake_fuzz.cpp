// Scores of any layout: the same bytes as inmus.xml and inarm.xml, opened
// through the application's intake (compressed, UTF-16 and compact files
// laid out, pickups placed, meter changes refused), then read in the
// harmonizer's order.
#include "fuzz_support.h"
#include "harmonizer/harmony_reader.h"
#include "harmonizer/music.h"
#include "intake/score_intake.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo;
  if (size <= 64 * 1024) {
      fuzz::write_file("inarm.xml", data, size);
  }
  return fuzz::fuzz_file(data, size, 64 * 1024, "inmus.xml", [](console::JobConsole& console) {
    static intake::ScoreIntake intake;
    intake.begin_job();
    harmonizer::HarmonizerState& state = fuzz::fresh_harmonizer(0);
    state.score_opener = &intake;
    // Parts 1 to 3 are the music, 4 the scales and 5 the chords (the demo's).
    state.settings.LastMusicIns = 3;
    state.settings.FirstHarmIns = 4;
    state.settings.HarmInsNum = 2;
    fuzz::or_abort(console, harmonizer::read_music(state, console, harmonizer::Preparation::kCheckOnly));
    fuzz::or_abort(console, harmonizer::read_harmony(state, console));
    fuzz::or_abort(console, harmonizer::read_music(state, console));
  });
}
