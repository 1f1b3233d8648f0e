// Measures the exact time sort (midi::sort_times) against the plain exchange double loop it
// replaces, on 30000 records:
// - *_Writers: what the MIDI writers sort, 15000 note-ons in time order
//   (four a click, a few note-offs among them) followed by their note-offs;
// - *_Shuffled: the same records in random order.
// Each run sorts a fresh copy; the copy is outside the timing.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "midi/time_sort.h"

namespace {

using zelvo::midi::SortWork;
using zelvo::midi::TieRule;

constexpr int32_t kRecords = 30000;

struct Input {
  std::vector<int32_t> times;
  std::vector<uint8_t> note_off;
};

Input writers_input() {
  Input in;
  const int32_t notes = kRecords / 2;
  for (int32_t i = 0; i < notes; ++i) {
    in.times.push_back(i / 4);
    in.note_off.push_back(i % 97 == 0 ? 1 : 0);
  }
  for (int32_t i = 0; i < notes; ++i) {
    in.times.push_back(in.times[i] + 24 * (1 + i % 4));
    in.note_off.push_back(1);
  }
  return in;
}

Input shuffled_input() {
  Input in = writers_input();
  std::vector<int32_t> order(kRecords);
  for (int32_t i = 0; i < kRecords; ++i) order[i] = i;
  std::shuffle(order.begin(), order.end(), std::mt19937(7));
  Input out;
  for (int32_t i : order) {
    out.times.push_back(in.times[i]);
    out.note_off.push_back(in.note_off[i]);
  }
  return out;
}

// The procedure as the engines wrote it, on times, marks and record indices.
__attribute__((noinline)) void exchange_double_loop(int32_t* times, uint8_t* note_off, int32_t* order,
                                                    int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    for (int32_t j = i; j < n; ++j) {
      if (times[j] < times[i] || (times[j] == times[i] && note_off[j] != 0)) {
        std::swap(times[i], times[j]);
        std::swap(note_off[i], note_off[j]);
        std::swap(order[i], order[j]);
      }
    }
  }
}

void run_double_loop(benchmark::State& bench, const Input& in) {
  std::vector<int32_t> times;
  std::vector<uint8_t> note_off;
  std::vector<int32_t> order(kRecords);
  for (auto _ : bench) {
    bench.PauseTiming();
    times = in.times;
    note_off = in.note_off;
    for (int32_t i = 0; i < kRecords; ++i) order[i] = i;
    bench.ResumeTiming();
    exchange_double_loop(times.data(), note_off.data(), order.data(), kRecords);
    benchmark::DoNotOptimize(order.data());
  }
}

void run_exact_sort(benchmark::State& bench, const Input& in) {
  auto work = std::make_unique<SortWork>();
  work->reserve(kRecords);
  std::vector<int32_t> times;
  for (auto _ : bench) {
    bench.PauseTiming();
    times = in.times;
    std::copy(in.note_off.begin(), in.note_off.end(), work->note_off.begin());
    bench.ResumeTiming();
    zelvo::midi::sort_times(times.data(), kRecords, TieRule::kNoteOffFirst, *work);
    benchmark::DoNotOptimize(work->order.data());
  }
}

void BM_DoubleLoop_Writers(benchmark::State& bench) { run_double_loop(bench, writers_input()); }
void BM_DoubleLoop_Shuffled(benchmark::State& bench) { run_double_loop(bench, shuffled_input()); }
void BM_ExactSort_Writers(benchmark::State& bench) { run_exact_sort(bench, writers_input()); }
void BM_ExactSort_Shuffled(benchmark::State& bench) { run_exact_sort(bench, shuffled_input()); }

BENCHMARK(BM_DoubleLoop_Writers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DoubleLoop_Shuffled)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExactSort_Writers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExactSort_Shuffled)->Unit(benchmark::kMillisecond);

}  // namespace
