// Measures the Live loop of the composition editor on examples/demo, the
// way the window runs it (editor/live_run.cpp): one cell of the document
// changed, the document written to a scratch folder, the zelvo program run
// there in a child process (compose, or all with the harmonizer), then
// - BM_EditToRoll: the result read and made into the piano roll;
// - BM_EditToSynth: also the result's first bar of notes sent to a
//   synthesizer that is already loaded, as a player swapping the new
//   result in at a bar line would;
// - BM_RestartPlayerSynth: what the interim playback pays on top, when it
//   restarts the player for a new result: a synthesizer with its soundfont
//   loaded anew.
// The argument is 0 for compose, 1 for compose and harmonize (all).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "audio/soundfont.h"
#include "audio/synth.h"
#include "composition/operations.h"
#include "composition/work_file.h"
#include "midi/timeline.h"
#include "roll/piano_roll.h"

namespace {

namespace fs = std::filesystem;
using namespace zelvo;

struct Scratch {
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "zelvo-live-bench-XXXXXX").string();
    folder = mkdtemp(pattern.data());
    for (const char* name : {"incom.htm", "insec.xml", "conar.txt", "inarm.xml", "inmus.xml"}) {
      fs::copy_file(std::string(ZELVO_SOURCE_DIR) + "/examples/demo/" + name, folder + "/" + name);
    }
    composition::load_composition(folder + "/incom.htm", document);
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  std::string folder;
  composition::Document document;
};

// One edit and its run; the roll of the result.
roll::PianoRoll edit_and_run(Scratch& scratch, int64_t iteration, bool harmonize, midi::Timeline& song) {
  // The pulse of generator Wave (TGENC row 3, column 6) alternates.
  composition::set_cell(scratch.document, 2, 3, 6, iteration % 2 == 0 ? "24" : "48");
  composition::save_composition(scratch.folder + "/incom.htm", scratch.document);
  const std::string command = std::string(ZELVO_BINARY) + " --work " + scratch.folder +
                              (harmonize ? " all" : " compose") + " >/dev/null";
  if (std::system(command.c_str()) != 0) std::abort();
  std::string error;
  if (!midi::read_timeline_file(scratch.folder + (harmonize ? "/outar.mid" : "/outco.mid"), song, error)) std::abort();
  return roll::make_piano_roll(song);
}

void BM_EditToRoll(benchmark::State& state) {
  Scratch scratch;
  int64_t iteration = 0;
  for (auto _ : state) {
    midi::Timeline song;
    benchmark::DoNotOptimize(edit_and_run(scratch, iteration++, state.range(0) == 1, song).notes.size());
  }
}
BENCHMARK(BM_EditToRoll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

std::string soundfont_or_skip(benchmark::State& state) {
  std::string path, error;
  if (!audio::find_soundfont("", path, error)) state.SkipWithError(error.c_str());
  return path;
}

void BM_EditToSynth(benchmark::State& state) {
  const std::string soundfont = soundfont_or_skip(state);
  if (soundfont.empty()) return;
  audio::quiet_fluidsynth_log();
  audio::Synth synth(soundfont, audio::kDefaultGain);
  Scratch scratch;
  int64_t iteration = 0;
  for (auto _ : state) {
    midi::Timeline song;
    edit_and_run(scratch, iteration++, state.range(0) == 1, song);
    const int64_t bar = 4 * static_cast<int64_t>(song.division);
    for (const midi::TimelineEvent& event : song.events) {
      if (event.tick >= bar) break;
      synth.send(event);
    }
  }
}
BENCHMARK(BM_EditToSynth)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RestartPlayerSynth(benchmark::State& state) {
  const std::string soundfont = soundfont_or_skip(state);
  if (soundfont.empty()) return;
  audio::quiet_fluidsynth_log();
  for (auto _ : state) {
    audio::Synth synth(soundfont, audio::kDefaultGain);
    benchmark::DoNotOptimize(synth.ok());
  }
}
BENCHMARK(BM_RestartPlayerSynth)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
