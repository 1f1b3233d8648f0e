// Measures harmonize_units on a made-up piece of four voices moving mostly by
// steps, eighth notes over 24 bars (about 770 notes), under a chord every
// half bar and one scale:
//  - BM_HarmonizeChordTones: the default profiles (chord tones only);
//  - BM_HarmonizeAllToneTypes: every non-harmonic type allowed, cost weights
//    on, melody and bass lines marked.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "console/job_console.h"
#include "engine/harmonize_units.h"

namespace {

using namespace zelvo;

void mark(engine::HarmonyEntry& entry, int32_t bar, int32_t click, const int32_t* pcs, int32_t n,
          bool outer) {
  entry.bar = bar;
  entry.click = click;
  std::memset(entry.marks, 0, sizeof(entry.marks));
  std::memcpy(entry.marks, engine::kEmptyMarks, 12);
  static constexpr char kNames[] = "C#D#EF#G#A#B";
  for (int32_t i = 0; i < n; ++i) entry.marks[pcs[i]] = kNames[pcs[i]];
  if (outer) {
    entry.marks[pcs[0]] = '2';
    entry.marks[pcs[n - 1]] = '4';
  }
}

void make_piece(engine::EngineState& state) {
  static constexpr int32_t kScale[7] = {0, 2, 4, 5, 7, 9, 11};
  static constexpr int32_t kChords[4][3] = {{0, 4, 7}, {5, 9, 0}, {7, 11, 2}, {9, 0, 4}};
  mark(state.scales.entries[0], 1, 0, kScale, 7, false);
  const int32_t bars = 24;
  for (int32_t h = 0; h < bars * 2; ++h) {
    mark(state.chords.entries[h], 1 + h / 2, (h % 2) * 2048, kChords[h % 4], 3, true);
  }
  int32_t pitch[4] = {72, 65, 57, 48};
  uint32_t seed = 12345;
  state.music.note_count = 0;
  for (int32_t bar = 1; bar <= bars; ++bar) {
    for (int32_t e = 0; e < 8; ++e) {
      for (int32_t v = 0; v < 4; ++v) {
        seed = seed * 1103515245u + 12345u;
        if (v > 0 && (seed >> 16) % 3 == 0 && e % 2 == 1) continue;  // lower voices rest sometimes
        pitch[v] += static_cast<int32_t>((seed >> 20) % 5) - 2;
        engine::MusicNote& n = state.music.notes[state.music.note_count++];
        n = engine::MusicNote{v + 1, bar, e * 512, 512, pitch[v], 100, 0};
      }
    }
  }
}

void run(benchmark::State& bench, bool all_types) {
  auto state = std::make_unique<engine::EngineState>();
  engine::HarmonizerSettings settings;
  if (all_types) {
    settings.MelIns = 1;
    settings.BassIns = 4;
    for (auto& row : settings.NonHarmTonesSort) {
      for (int32_t& s : row) s = 1;
    }
    for (auto& row : settings.NonHarmTonesCoef) {
      const float w[7] = {10, 100, 20, 10, 5, 50, 50};
      std::memcpy(row, w, sizeof(w));
    }
  }
  console::StandaloneConsole console;
  base::ProgressLines& lines = console;
  int32_t notes = 0;
  for (auto _ : bench) {
    make_piece(*state);
    notes = state->music.note_count;
    benchmark::DoNotOptimize(engine::harmonize_units(*state, settings, lines, nullptr));
  }
  bench.counters["notes"] = notes;
}

void BM_HarmonizeChordTones(benchmark::State& bench) { run(bench, false); }
void BM_HarmonizeAllToneTypes(benchmark::State& bench) { run(bench, true); }

BENCHMARK(BM_HarmonizeChordTones)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HarmonizeAllToneTypes)->Unit(benchmark::kMillisecond);

}  // namespace
