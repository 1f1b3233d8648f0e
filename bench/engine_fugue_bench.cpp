// Measures harmonize_units on a real piece: the four voices of a fugue
// (bench/fugue/fugue_prepared.txt, 916 notes as the readers leave
// them) with every non-harmonic tone type allowed and the cost weights on,
// melody in instrument 1 and bass in instrument 4.
//  - BM_HarmonizeFugue: the usual timed loop;
//  - BM_HarmonizeFugueOnce: a single run, for instruction counts:
//      valgrind --tool=callgrind
//        --toggle-collect='zelvo::engine::harmonize_units*'
//        build/bench/engine_fugue_bench --benchmark_filter=Once
//  - BM_HarmonizeFugueOpening/N: a single run with OpeningInt = N, to see
//    how the search grows as the notes may open further from the given
//    pitch (the same callgrind command, filter 'Opening/N$').
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "console/job_console.h"
#include "engine/harmonize_units.h"

namespace {

using namespace zelvo;

// Next to this source file; a relative __FILE__ (a build folder inside the
// source tree) is relative to the build folder, two levels above the program.
std::string fugue_path() {
  std::string here = __FILE__;
  if (here[0] != '/') {
    const std::string program = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string bench_dir = program.substr(0, program.rfind('/'));
    here = bench_dir.substr(0, bench_dir.rfind('/')) + "/" + here;
  }
  return here.substr(0, here.rfind('/')) + "/fugue/fugue_prepared.txt";
}

// Lines "time num parte semic", "chord|scale bar click marks" and
// "note inst bar click dur pitch vel ties"; anything else is a comment.
void load_fugue(engine::EngineState& state, engine::HarmonizerSettings& settings) {
  std::ifstream in(fugue_path());
  if (!in) throw std::runtime_error("cannot read " + fugue_path());
  state.music.note_count = 0;
  int32_t chords = 0;
  int32_t scales = 0;
  std::string text;
  while (std::getline(in, text)) {
    std::istringstream fields(text);
    std::string kind;
    fields >> kind;
    if (kind == "time") {
      fields >> settings.time.beats_per_bar >> settings.time.clicks_per_beat >>
          settings.time.clicks_per_sixteenth;
    } else if (kind == "chord" || kind == "scale") {
      engine::HarmonyEntry& e =
          kind == "chord" ? state.chords.entries[chords++] : state.scales.entries[scales++];
      std::string marks;
      fields >> e.bar >> e.click >> marks;
      std::snprintf(e.marks, engine::kMarksSize, "%s", marks.c_str());
    } else if (kind == "note") {
      engine::MusicNote& n = state.music.notes[state.music.note_count++];
      fields >> n.Inst >> n.Cpin >> n.Ckin >> n.Dur >> n.Note >> n.Vel >> n.tie_flags;
    }
  }
}

void configure(engine::HarmonizerSettings& settings) {
  settings.MelIns = 1;
  settings.BassIns = 4;
  for (auto& row : settings.NonHarmTonesSort) {
    for (int32_t& s : row) s = 1;
  }
  const float weights[engine::kCostWeights] = {10, 100, 20, 10, 5, 0, 0};
  for (auto& row : settings.NonHarmTonesCoef) {
    for (int32_t w = 0; w < engine::kCostWeights; ++w) row[w] = weights[w];
  }
  settings.NonHarmTonesCoef[4][5] = 50;  // bass pitch class
  settings.NonHarmTonesCoef[1][6] = 50;  // top pitch class
}

void BM_HarmonizeFugue(benchmark::State& bench) {
  auto state = std::make_unique<engine::EngineState>();
  auto original = std::make_unique<engine::MusicNoteTable>();
  engine::HarmonizerSettings settings;
  load_fugue(*state, settings);
  configure(settings);
  *original = state->music;
  console::StandaloneConsole console;
  base::ProgressLines& lines = console;
  for (auto _ : bench) {
    state->music = *original;
    benchmark::DoNotOptimize(engine::harmonize_units(*state, settings, lines, nullptr));
  }
  bench.counters["notes"] = original->note_count;
}

void BM_HarmonizeFugueOpening(benchmark::State& bench) {
  auto state = std::make_unique<engine::EngineState>();
  engine::HarmonizerSettings settings;
  load_fugue(*state, settings);
  configure(settings);
  settings.OpeningInt = static_cast<int32_t>(bench.range(0));
  console::StandaloneConsole console;
  base::ProgressLines& lines = console;
  for (auto _ : bench) {
    benchmark::DoNotOptimize(engine::harmonize_units(*state, settings, lines, nullptr));
  }
}

BENCHMARK(BM_HarmonizeFugue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HarmonizeFugue)->Name("BM_HarmonizeFugueOnce")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HarmonizeFugueOpening)->Arg(3)->Arg(4)->Arg(6)->Arg(8)->Arg(12)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
