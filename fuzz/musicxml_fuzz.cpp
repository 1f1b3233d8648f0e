// MusicXML: the same bytes as the music (inmus.xml) and as the harmony
// (inarm.xml), read in the harmonizer's order: the music checked, the
// harmony, then the music cut at the chords and scales and sorted.
#include "fuzz_support.h"
#include "harmonizer/harmony_parts.h"
#include "harmonizer/harmony_reader.h"
#include "harmonizer/music.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo;
  if (size <= 64 * 1024) {
      fuzz::write_file("inarm.xml", data, size);
  }
  const int result = fuzz::fuzz_file(data, size, 64 * 1024, "inmus.xml", [](console::JobConsole& console) {
    harmonizer::HarmonizerState& state = fuzz::fresh_harmonizer(0);
    // Parts 1 to 3 are the music, 4 the scales and 5 the chords (the demo's).
    state.settings.LastMusicIns = 3;
    state.settings.FirstHarmIns = 4;
    state.settings.HarmInsNum = 2;
    fuzz::or_abort(console, harmonizer::read_music(state, console, harmonizer::Preparation::kCheckOnly));
    fuzz::or_abort(console, harmonizer::read_harmony(state, console));
    fuzz::or_abort(console, harmonizer::read_music(state, console));
  });
  // The part ids a refusal lists, from the same bytes.
  if (size <= 64 * 1024) {
    std::FILE* file = std::fopen("inarm.xml", "r");
    if (file != nullptr) {
      (void)harmonizer::score_part_ids(file);
      std::fclose(file);
    }
  }
  return result;
}
