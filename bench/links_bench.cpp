// Measures the link search and whole harmonizations with many voices in one
// instrument:
//  - BM_LinkSearch/<shape>/<voices>: link_units between two units of one
//    instrument with 2 to 64 voices; shape 0 unison on both sides, shape 1
//    a unison opening into a chord of whole tones (every previous line
//    prefers the same few current lines);
//  - BM_LinkSearchTryingAll/<shape>/<voices>: the same pairs searched the
//    way the engine did before, every assignment with branches cut by a
//    lower bound; only up to the size where it still ends in reasonable
//    time (unison into a chord: 11 voices);
//  - BM_HarmonizeVoices/<shape>/<voices>: harmonize_units over 3 bars of one
//    instrument with 2 to 64 voices, shape 0 unison, 1 a dense chord moving
//    by steps, 2 unison bars and chord bars in turn; counters `units` and
//    `per_unit` (seconds per unit);
//  - BM_HarmonizeBars/<bars>: 8 voices, unison and chord bars in turn, over
//    4 to 64 bars (growth with the length of the piece).
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "console/job_console.h"
#include "engine/form_unit.h"
#include "engine/harmonize_units.h"
#include "engine/line_division.h"
#include "engine/links.h"

namespace {

using namespace zelvo;
using engine::EngineState;

void mark(engine::HarmonyEntry& entry, int32_t bar, int32_t click, const int32_t* pcs, int32_t n) {
  entry.bar = bar;
  entry.click = click;
  std::memset(entry.marks, 0, sizeof(entry.marks));
  std::memcpy(entry.marks, engine::kEmptyMarks, 12);
  static constexpr char kNames[] = "C#D#EF#G#A#B";
  for (int32_t i = 0; i < n; ++i) entry.marks[pcs[i]] = kNames[pcs[i]];
}

// C major throughout, a chord every half bar (1024 clicks a quarter).
void harmony(EngineState& state, int32_t bars) {
  static constexpr int32_t kScale[7] = {0, 2, 4, 5, 7, 9, 11};
  static constexpr int32_t kChords[4][3] = {{0, 4, 7}, {5, 9, 0}, {7, 11, 2}, {9, 0, 4}};
  mark(state.scales.entries[0], 1, 0, kScale, 7);
  state.scales.entries[1].bar = 0;
  for (int32_t h = 0; h < bars * 2; ++h) {
    mark(state.chords.entries[h], 1 + h / 2, (h % 2) * 2048, kChords[h % 4], 3);
  }
  state.chords.entries[bars * 2].bar = 0;
}

// Pitch of voice v at eighth e of a bar: the unison melody, or a chord of
// voices a semitone (shape 1) or a whole tone (shape 2's chord bars) apart.
int32_t pitch(int32_t shape, int32_t bar, int32_t e, int32_t v) {
  static constexpr int32_t kMelody[8] = {64, 65, 67, 65, 64, 62, 60, 62};
  if (shape == 1) return 30 + v + e % 2;
  if (shape == 2 && bar % 2 == 0) return 30 + v;
  return kMelody[e];
}

void make_piece(EngineState& state, int32_t shape, int32_t voices, int32_t bars) {
  harmony(state, bars);
  state.music.note_count = 0;
  for (int32_t bar = 1; bar <= bars; ++bar) {
    for (int32_t e = 0; e < 8; ++e) {
      for (int32_t v = 0; v < voices; ++v) {
        state.music.notes[state.music.note_count++] =
            engine::MusicNote{1, bar, e * 512, 512, pitch(shape, bar, e, v), 80, 0};
      }
    }
  }
}

// Two units of one instrument, one note per voice each, side by side.
struct TwoUnits {
  std::unique_ptr<EngineState> state = std::make_unique<EngineState>();
  engine::HarmonizerSettings settings;
  base::QuietLines lines;
  engine::Engine engine{*state, settings, lines, nullptr};

  TwoUnits(int32_t shape, int32_t voices) {
    harmony(*state, 1);
    for (int32_t half = 0; half < 2; ++half) {
      for (int32_t v = 0; v < voices; ++v) {
        const int32_t p = half == 1 && shape == 1 ? 50 + 2 * v : 60;
        state->music.notes[state->music.note_count++] =
            engine::MusicNote{1, 1, half * 2048, 2048, p, 80, 0};
      }
    }
    const int32_t last = engine::form_unit(engine, 0, 0);
    engine::divide_lines(engine, 0);
    engine::form_unit(engine, 1, last + 1);
    engine::divide_lines(engine, 1);
  }
};

void BM_LinkSearch(benchmark::State& bench) {
  TwoUnits units(static_cast<int32_t>(bench.range(0)), static_cast<int32_t>(bench.range(1)));
  for (auto _ : bench) engine::link_units(units.engine, 1);
}

// The search as it was: every assignment in list order, a branch cut when
// even the cheapest pair of every remaining line cannot bring the total
// strictly below the best found.
struct TryingAll {
  int32_t n = 0;
  int32_t m = 0;
  double cost[engine::kMaxLines][engine::kMaxLines];
  double rest[engine::kMaxLines + 1];
  bool used[engine::kMaxLines] = {};
  double best = 0.0;

  void search(int32_t level, double partial) {
    for (int32_t j = 0; j < m; ++j) {
      if (used[j]) continue;
      const double total = partial + cost[level][j];
      if (total + rest[level + 1] >= best) continue;
      used[j] = true;
      if (level == n - 1) {
        best = total;
      } else {
        search(level + 1, total);
      }
      used[j] = false;
    }
  }
};

void BM_LinkSearchTryingAll(benchmark::State& bench) {
  const int32_t voices = static_cast<int32_t>(bench.range(1));
  TwoUnits units(static_cast<int32_t>(bench.range(0)), voices);
  auto all = std::make_unique<TryingAll>();
  all->n = all->m = voices;
  all->rest[voices] = 0.0;
  for (int32_t i = voices - 1; i >= 0; --i) {
    double least = engine::kUnlinkedCost;
    for (int32_t j = 0; j < voices; ++j) {
      all->cost[i][j] = engine::link_pair_cost(units.engine, 1, i, j);
      if (all->cost[i][j] < least) least = all->cost[i][j];
    }
    all->rest[i] = all->rest[i + 1] + least;
  }
  for (auto _ : bench) {
    all->best = engine::kNoLinkCost;
    all->search(0, 0.0);
    benchmark::DoNotOptimize(all->best);
  }
}

struct UnitCount : engine::ProgressObserver {
  int32_t units = 0;
  void unit_started(int32_t, int32_t) override { ++units; }
  void units_ended() override {}
};

void harmonize(benchmark::State& bench, int32_t shape, int32_t voices, int32_t bars) {
  auto state = std::make_unique<EngineState>();
  engine::HarmonizerSettings settings;
  console::StandaloneConsole console;
  base::ProgressLines& lines = console;
  UnitCount count;
  for (auto _ : bench) {
    make_piece(*state, shape, voices, bars);
    count.units = 0;
    benchmark::DoNotOptimize(engine::harmonize_units(*state, settings, lines, nullptr, &count));
  }
  bench.counters["units"] = count.units;
  bench.counters["per_unit"] = benchmark::Counter(count.units * static_cast<double>(bench.iterations()),
                                                  benchmark::Counter::kIsRate |
                                                      benchmark::Counter::kInvert);
}

void BM_HarmonizeVoices(benchmark::State& bench) {
  harmonize(bench, static_cast<int32_t>(bench.range(0)), static_cast<int32_t>(bench.range(1)), 3);
}

void BM_HarmonizeBars(benchmark::State& bench) {
  harmonize(bench, 2, 8, static_cast<int32_t>(bench.range(0)));
}

BENCHMARK(BM_LinkSearch)
    ->ArgsProduct({{0, 1}, {2, 4, 8, 16, 32, 64}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LinkSearchTryingAll)
    ->ArgsProduct({{0}, {2, 4, 8, 16, 32, 64}})
    ->ArgsProduct({{1}, {2, 4, 6, 8, 9, 10, 11}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HarmonizeVoices)
    ->ArgsProduct({{0, 1, 2}, {2, 4, 8, 16, 32, 35, 64}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HarmonizeBars)->Arg(4)->Arg(8)->Arg(16)->Arg(32)->Arg(64)->Unit(benchmark::kMillisecond);

}  // namespace
