// Measures the harmonizer's file stages on full tables: sort_notes on 15000
// and 30000 records (the quadratic exchange sort), cutting 15000 notes at
// 500 chord and 500 scale boundaries, reading a 30000-note MusicXML file,
// and writing outar.mid for 15000 notes.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "console/job_console.h"
#include "harmonizer/music.h"
#include "harmonizer/musicxml_reader.h"
#include "harmonizer/note_sort.h"
#include "harmonizer/output.h"

namespace {

using zelvo::harmonizer::HarmonizerState;

// Notes in reverse time order, the sort's worst case for exchanges.
void fill_reversed(HarmonizerState& state, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    zelvo::engine::MusicNote& n = state.engine.music.notes[i];
    n = zelvo::engine::MusicNote{};
    n.Inst = 1 + i % 3;
    n.Cpin = 1 + (count - i) / 16;
    n.Ckin = ((count - i) % 16) * 256;
    n.Dur = 256;
    n.Note = 60 + i % 12;
    n.Vel = i % 5 == 0 ? 0 : 100;
  }
  state.engine.music.note_count = count;
}

void BM_SortNotes(benchmark::State& bench) {
  auto state = std::make_unique<HarmonizerState>();
  for (auto _ : bench) {
    bench.PauseTiming();
    fill_reversed(*state, static_cast<int32_t>(bench.range(0)));
    bench.ResumeTiming();
    zelvo::harmonizer::sort_notes(*state);
  }
}
BENCHMARK(BM_SortNotes)->Arg(15000)->Arg(30000)->Unit(benchmark::kMillisecond);

void BM_CutNotes(benchmark::State& bench) {
  auto state = std::make_unique<HarmonizerState>();
  for (int32_t k = 0; k < zelvo::engine::kStartHarmonyEntries; ++k) {
    state->engine.chords.entries[k].bar = 1 + k;
    state->engine.chords.entries[k].click = 2048;
    state->engine.scales.entries[k].bar = 1 + k;
    state->engine.scales.entries[k].click = 3072;
  }
  for (auto _ : bench) {
    bench.PauseTiming();
    fill_reversed(*state, 15000);
    for (int32_t i = 0; i < 15000; ++i) state->engine.music.notes[i].Dur = 4096;
    bench.ResumeTiming();
    const zelvo::engine::TimeSettings& time = state->settings.time;
    benchmark::DoNotOptimize(
        zelvo::harmonizer::cut_notes(state->engine.music, state->engine.chords, time));
    benchmark::DoNotOptimize(
        zelvo::harmonizer::cut_notes(state->engine.music, state->engine.scales, time));
  }
}
BENCHMARK(BM_CutNotes)->Unit(benchmark::kMillisecond);

void BM_ReadMusicXml(benchmark::State& bench) {
  const std::string name =
      (std::filesystem::temp_directory_path() / "zelvo_bench_inmus.xml").string();
  {
    std::ofstream out(name);
    out << "<score-partwise>\n  <part id=\"P1\">\n";
    for (int m = 1; m <= 7500; ++m) {
      out << "    <measure number=\"" << m << "\">\n";
      if (m == 1) out << "      <attributes>\n        <divisions>1</divisions>\n      </attributes>\n";
      for (int k = 0; k < 4; ++k) {
        out << "      <note default-x=\"10\">\n        <pitch>\n          <step>C</step>\n"
               "          <octave>4</octave>\n          </pitch>\n        <duration>1</duration>\n"
               "        <voice>1</voice>\n        </note>\n";
      }
      out << "    </measure>\n";
    }
    out << "  </part>\n</score-partwise>\n";
  }
  auto state = std::make_unique<HarmonizerState>();
  for (auto _ : bench) {
    const std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::fopen(name.c_str(), "r"), &std::fclose);
    if (!zelvo::harmonizer::read_musicxml(state->engine.music, state->settings.time, 1, 1, file.get(), "inmus.xml")
             .ok()) {
      bench.SkipWithError("inmus.xml not read");
    }
  }
  std::filesystem::remove(name);
}
BENCHMARK(BM_ReadMusicXml)->Unit(benchmark::kMillisecond);

void BM_WriteHarmonyMidi(benchmark::State& bench) {
  auto state = std::make_unique<HarmonizerState>();
  const std::string name =
      (std::filesystem::temp_directory_path() / "zelvo_bench_outar.mid").string();
  std::snprintf(state->output_name, zelvo::harmonizer::kOutputNameSize, "%s", name.c_str());
  for (auto _ : bench) {
    bench.PauseTiming();
    fill_reversed(*state, 15000);
    zelvo::harmonizer::sort_notes(*state);
    bench.ResumeTiming();
    if (!zelvo::harmonizer::write_harmony_midi(*state).ok()) bench.SkipWithError("outar.mid not written");
  }
  std::filesystem::remove(name);
}
BENCHMARK(BM_WriteHarmonyMidi)->Unit(benchmark::kMillisecond);

}  // namespace
