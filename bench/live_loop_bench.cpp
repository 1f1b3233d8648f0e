// The live loop's own cost: one Application, as the window, the watch mode
// and a live loop keep it, runs the demo's Compose and then its Harmonize
// (an All job) again and again in a scratch copy of examples/demo. The
// engines' states are built by the first job, before the timing starts.
//  - BM_DemoComposeAndHarmonize: wall time per loop, and the process's CPU
//    time per loop (counter cpu_ms, every thread: the jobs run on their
//    own), which a loaded machine changes less; run with
//    --benchmark_repetitions=N and read the medians;
//  - BM_DemoComposeAndHarmonizeOnce: one loop, for instruction counts:
//      valgrind --tool=callgrind --toggle-collect='zelvo::composer::compose*'
//        --toggle-collect='zelvo::harmonizer::harmonize*'
//        build/bench/live_loop_bench --benchmark_filter=Once
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "console/job_runner.h"
#include "shell/application.h"

namespace {

namespace fs = std::filesystem;
using namespace zelvo;

fs::path source_tree() {
  std::string here = __FILE__;
  if (here[0] != '/') {
    const fs::path program = fs::read_symlink("/proc/self/exe");
    here = (program.parent_path().parent_path() / here).string();
  }
  return fs::path(here).parent_path().parent_path();
}

double cpu_ms() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

bool run_job(shell::Application& application, console::JobKind kind) {
  application.runner().start_job(kind);
  application.runner().wait();
  return application.runner().last_outcome() == console::JobOutcome::kFinished;
}

void loop(benchmark::State& bench) {
  const fs::path folder = fs::temp_directory_path() / ("zelvo-live-" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (const auto& file : fs::directory_iterator(source_tree() / "examples/demo")) {
    fs::copy_file(file.path(), folder / file.path().filename());
  }
  const fs::path start = fs::current_path();
  fs::current_path(folder);
  auto application = std::make_unique<shell::Application>();
  if (!run_job(*application, console::JobKind::kAll)) bench.SkipWithError("the demo did not run");
  const double cpu_start = cpu_ms();
  for (auto _ : bench) {
    if (!run_job(*application, console::JobKind::kCompose) ||
        !run_job(*application, console::JobKind::kHarmonize)) {
      bench.SkipWithError("a job did not finish");
      break;
    }
  }
  bench.counters["cpu_ms"] =
      benchmark::Counter((cpu_ms() - cpu_start) / static_cast<double>(bench.iterations()));
  fs::current_path(start);
  fs::remove_all(folder);
}

void BM_DemoComposeAndHarmonize(benchmark::State& bench) { loop(bench); }
void BM_DemoComposeAndHarmonizeOnce(benchmark::State& bench) { loop(bench); }

BENCHMARK(BM_DemoComposeAndHarmonize)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DemoComposeAndHarmonizeOnce)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
