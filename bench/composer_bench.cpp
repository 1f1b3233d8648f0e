// Measures the composer's hot paths on a sizeable piece:
// - BM_GenerateBars: the generation loop over 32 bars of 4/4 (6144 clicks)
//   with eight calculated generators, two sequence generators, three
//   variables and eight output channels; the composition is compiled once.
// - BM_SortEvents: the exchange sort on a full table of 30000 events
//   (15000 notes in the order the loop makes them, then their note-offs).
// - BM_EncodeMidi: outco.mid's bytes made from that full table, sorted.
// - BM_ComposeJob: the whole Compose job with both output files.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "composer/compose.h"
#include "composer/composer_state.h"
#include "composer/generation_loop.h"
#include "composer/midi_output.h"
#include "composer/note_events.h"
#include "console/job_console.h"
#include "tables/table_compiler.h"

namespace {

// Events of the sort and encoding benchmarks: the most a piece could hold
// when the table had a fixed size, so the figures compare with the old ones.
constexpr int32_t kBenchEvents = 15000;

using namespace zelvo;

std::string table(const std::vector<std::vector<std::string>>& rows) {
  std::string out = "<table>\n";
  for (const auto& row : rows) {
    out += "<tr>\n";
    for (const std::string& cell : row) out += "<td>" + cell + "</td>\n";
    out += "</tr>\n";
  }
  return out + "</table>\n";
}

std::string piece() {
  std::vector<std::vector<std::string>> calc{
      {"TGENC", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "x"},
      {"d", "0", "1", "0", "1", "0", "12", "100", "0", "12", "1", "72", "60", "0", "1", ""}};
  for (int g = 0; g < 8; ++g) {
    calc.push_back({"G" + std::string(1, static_cast<char>('a' + g)), "0", "1", "0", "1", "0",
                    std::to_string(6 + 6 * g), "100", "0", "12", std::to_string(1 + g % 5), "Top", "48", "0",
                    std::to_string(g + 1), ""});
  }
  std::vector<std::vector<std::string>> seq{
      {"TGENS", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "x"},
      {"d", "0", "0", "1", "0", "0", "1", "0", "0", "100", "0", "1", "0", "0", "0", "20", ""},
      {"Sa", "0", "0", "1", "0", "0", "1", "0", "0", "100", "0", "1", "0", "0", "1", "20", ""},
      {"Sb", "2", "0", "1", "0", "1", "1", "0", "2", "100", "0", "4", "Shift", "0", "0", "21", ""}};
  std::vector<std::vector<std::string>> outs{{"TSAL", "c", "n", "d", "g", "v"}};
  for (int g = 0; g < 8; ++g) {
    const std::string name = "G" + std::string(1, static_cast<char>('a' + g));
    outs.push_back({"", std::to_string(1 + g), name, name + "u", name + "i", "Vel"});
  }
  outs.push_back({"", "9", "Sa", "Sau", "Sai", "90"});
  outs.push_back({"", "10", "Sb", "Sbu", "Sbi", "90"});
  return "<html>\n" + table({{"TCONF", "a", "b", "c", "d", "e", "f"}, {"v", "32", "120", "4", "4", "0", "99"}}) +
         table({{"TCAL", "e"}, {"Top", "60+nrand(24)"}, {"Vel", "itp(0,60,127,110,Ga)"},
                {"Shift", "li(int(Gb/20),1)+lv(2,0)+lv(3,5)+lv(4,7)"}}) +
         table(calc) + table(seq) + table(outs) + "</html>\n";
}

std::string sequences() {
  std::string xml = "<score-partwise>\n<part id=\"P1\">\n<measure number=\"1\">\n<divisions>2</divisions>\n";
  const char* steps = "CDEFGAB";
  for (int i = 0; i < 16; ++i) {
    xml += std::string("<note>\n<pitch>\n<step>") + steps[i % 7] + "</step>\n<octave>4</octave>\n</pitch>\n"
           "<duration>" + std::to_string(1 + i % 3) + "</duration>\n</note>\n";
  }
  return xml + "<bar-style>light-heavy</bar-style>\n</measure>\n</part>\n</score-partwise>\n";
}

// A work folder holding the piece; the benchmark runs with it as the current directory.
struct WorkFolder {
  std::filesystem::path path;
  std::filesystem::path previous = std::filesystem::current_path();
  WorkFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zelvo-bench-XXXXXX").string();
    path = mkdtemp(pattern.data());
    std::ofstream(path / "incom.htm") << piece();
    std::ofstream(path / "insec.xml") << sequences();
    std::filesystem::current_path(path);
  }
  ~WorkFolder() {
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(path);
  }
};

void BM_GenerateBars(benchmark::State& bench) {
  WorkFolder folder;
  auto console = std::make_unique<console::StandaloneConsole>();
  auto state = std::make_unique<composer::ComposerState>();
  composer::compose_init(*state);
  if (!tables::compile_tables(state->composition, state->machine, *console).ok() ||
      (composer::collect_variable_programs(*state), !composer::compose_timing(*state, *console).ok()) ||
      !composer::read_sequences(*state, *console).ok()) {
    bench.SkipWithError("the benchmark's composition does not read");
    return;
  }
  for (auto _ : bench) {
    state->notes.count = 0;
    state->range_warning = false;
    (void)composer::generate(*state, *console, 32);
    benchmark::DoNotOptimize(state->notes.count);
  }
  bench.counters["events"] = state->notes.count;
  bench.counters["clicks/s"] = benchmark::Counter(32.0 * 192, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_GenerateBars)->Unit(benchmark::kMillisecond);

void BM_SortEvents(benchmark::State& bench) {
  auto table = std::make_unique<composer::NoteTable>();
  const composer::ComposerTiming timing{0, 120, 4, 4, 48, 12, 2};
  for (auto _ : bench) {
    bench.PauseTiming();
    table->count = kBenchEvents;
    composer::reserve_events(*table, 2 * kBenchEvents);
    for (int32_t i = 0; i < table->count; ++i) {
      // As generated: onsets in order, four notes a click, the note-offs after.
      const int32_t click = i / 4;
      table->events[i] = composer::NoteEvent{1 + i % 4, 1 + click / 192, click % 192, 24 * (1 + i % 4), 60 + i % 12, 100};
    }
    composer::add_note_offs(*table);
    composer::compute_times(*table, timing);
    bench.ResumeTiming();
    composer::sort_events(*table);
    benchmark::DoNotOptimize(table->times[0]);
  }
}
BENCHMARK(BM_SortEvents)->Unit(benchmark::kMillisecond);

void BM_EncodeMidi(benchmark::State& bench) {
  auto table = std::make_unique<composer::NoteTable>();
  auto image = std::make_unique<composer::MidiImage>();
  const composer::ComposerTiming timing{0, 120, 4, 4, 48, 12, 2};
  table->count = kBenchEvents;
  composer::reserve_events(*table, 2 * kBenchEvents);
  for (int32_t i = 0; i < table->count; ++i) {
    const int32_t click = i / 4;
    table->events[i] = composer::NoteEvent{1 + i % 4, 1 + click / 192, click % 192, 24 * (1 + i % 4), 60 + i % 12, 100};
  }
  composer::add_note_offs(*table);
  composer::compute_times(*table, timing);
  composer::sort_events(*table);
  for (auto _ : bench) {
    if (!composer::encode_midi_file(*table, timing, *image).ok) bench.SkipWithError("not encoded");
    benchmark::DoNotOptimize(image.get());
  }
  bench.counters["events"] = table->count;
}
BENCHMARK(BM_EncodeMidi)->Unit(benchmark::kMicrosecond);

void BM_ComposeJob(benchmark::State& bench) {
  WorkFolder folder;
  auto console = std::make_unique<console::StandaloneConsole>();
  auto state = std::make_unique<composer::ComposerState>();
  for (auto _ : bench) {
    composer::compose(*state, *console);
    benchmark::DoNotOptimize(state->notes.count);
  }
  bench.counters["events"] = state->notes.count;
}
BENCHMARK(BM_ComposeJob)->Unit(benchmark::kMillisecond);

}  // namespace
