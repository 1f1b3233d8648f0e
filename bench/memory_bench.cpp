// Resident memory of jobs run one after another in one Application, the way
// the window runs them: each benchmark copies a work folder into a scratch
// folder, runs the job N times and reports the resident set (kB) after the
// first job, after N/3 jobs and after N, the growth over the last two
// thirds and the peak. Nothing of a job may stay behind. The console's
// store (70,000 characters, fixed) fills up over the first hundred or so
// jobs, as it does in the window, and then stays the same size.
//  - BM_RepeatedCompose, BM_RepeatedHarmonize, BM_RepeatedAll: examples/demo,
//    300 jobs each (harmonize after one compose);
//  - BM_RepeatedBigHarmonize: a made-up listing of four voices over 120
//    bars (about 3,000 notes) with every tone type allowed, 12 jobs.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "console/job_runner.h"
#include "shell/application.h"

namespace {

namespace fs = std::filesystem;
using namespace zelvo;


// A field of /proc/self/status ("VmRSS", "VmHWM") in kB.
long status_kb(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const size_t n = std::strlen(field);
  while (std::getline(in, line)) {
    if (line.compare(0, n, field) == 0 && line[n] == ':') return std::stol(line.substr(n + 1));
  }
  return -1;
}

// The source tree, from this file's name (relative to the build folder, two
// levels above the program, when the build folder is inside the tree).
fs::path source_tree() {
  std::string here = __FILE__;
  if (here[0] != '/') {
    const fs::path program = fs::read_symlink("/proc/self/exe");
    here = (program.parent_path().parent_path() / here).string();
  }
  return fs::path(here).parent_path().parent_path();
}

void write_big_piece(const fs::path& folder) {
  fs::copy_file(source_tree() / "examples/demo/inarm.xml", folder / "inarm.xml");
  std::ofstream conar(folder / "conar.txt");
  conar << "FirstMusicIns = 1\nLastMusicIns = 4\nMusicSource = 1\nFirstHarmIns = 4\n"
           "HarmInsNum = 2\nMelIns = 1\nBassIns = 2\nLinkLimit = 2\n"
           "NonHarmTonesSortDF = 1, 1, 1, 1, 1, 1, 1, 1\n"
           "NonHarmTonesCoefDF = 10, 100, 20, 10, 5, 50, 50\n";
  std::ofstream rur(folder / "outco.rur");
  rur << "ZAZAD Output Data\n\n96,4,4,48,12\t(tempo, compas-num, compas-den, clicks-parte, "
         "clicks-semic)\n\nInst\tCpin\tCkin\tDur\tNote\tVel\n\n";
  int pitch[4] = {72, 48, 64, 57};
  uint32_t seed = 12345;
  for (int bar = 1; bar <= 120; ++bar) {
    for (int e = 0; e < 8; ++e) {
      for (int v = 0; v < 4; ++v) {
        seed = seed * 1103515245u + 12345u;
        if (v > 0 && (seed >> 16) % 3 == 0 && e % 2 == 1) continue;
        pitch[v] += static_cast<int>((seed >> 20) % 5) - 2;
        if (pitch[v] < 40 || pitch[v] > 90) pitch[v] = 60;
        rur << v + 1 << '\t' << bar << '\t' << e * 24 << "\t24\t" << pitch[v] << "\t90\t\n";
      }
    }
  }
}

void run_jobs(benchmark::State& bench, console::JobKind kind, bool big, int jobs) {
  const fs::path folder = fs::temp_directory_path() / ("zelvo-memory-" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  if (big) {
    write_big_piece(folder);
  } else {
    for (const auto& file : fs::directory_iterator(source_tree() / "examples/demo")) {
      fs::copy_file(file.path(), folder / file.path().filename());
    }
  }
  const fs::path start = fs::current_path();
  fs::current_path(folder);
  auto application = std::make_unique<shell::Application>();
  if (kind == console::JobKind::kHarmonize && !big) {
    application->runner().start_job(console::JobKind::kCompose);  // the demo's music
    application->runner().wait();
  }
  long first = 0;
  long third = 0;
  long last = 0;
  for (auto _ : bench) {
    for (int job = 0; job < jobs; ++job) {
      application->runner().start_job(kind);
      application->runner().wait();
      if (application->runner().last_outcome() != console::JobOutcome::kFinished) {
        bench.SkipWithError("the job did not finish");
        break;
      }
      if (job == 0) first = status_kb("VmRSS");
      if (job == jobs / 3 - 1) third = status_kb("VmRSS");
    }
    last = status_kb("VmRSS");
  }
  fs::current_path(start);
  fs::remove_all(folder);
  bench.counters["jobs"] = jobs;
  bench.counters["rss_first_kB"] = static_cast<double>(first);
  bench.counters["rss_third_kB"] = static_cast<double>(third);
  bench.counters["rss_last_kB"] = static_cast<double>(last);
  bench.counters["growth_kB"] = static_cast<double>(last - third);
  bench.counters["peak_kB"] = static_cast<double>(status_kb("VmHWM"));
}

void BM_RepeatedCompose(benchmark::State& bench) {
  run_jobs(bench, console::JobKind::kCompose, false, 300);
}
void BM_RepeatedHarmonize(benchmark::State& bench) {
  run_jobs(bench, console::JobKind::kHarmonize, false, 300);
}
void BM_RepeatedAll(benchmark::State& bench) { run_jobs(bench, console::JobKind::kAll, false, 300); }
void BM_RepeatedBigHarmonize(benchmark::State& bench) {
  run_jobs(bench, console::JobKind::kHarmonize, true, 12);
}

BENCHMARK(BM_RepeatedCompose)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepeatedHarmonize)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepeatedAll)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepeatedBigHarmonize)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
