// Measures a job called as a function on its files (jobs::run_job), as the
// browser module and Live call it many times a second:
// - BM_ComposeDemo: the demo's Compose job, one Engines reused by every run.
// - BM_AllDemo: the demo composed and harmonized.
// - BM_ComposeFreshEngines: the same Compose job with Engines made for each
//   run, the price of not keeping them.
// The files are read once; what a run costs beyond the engines' own work
// is handing the files over and back.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "jobs/engines.h"
#include "jobs/job.h"
#include "jobs/work_folder.h"

namespace {

using namespace zelvo;

jobs::JobInput demo_input(console::JobKind command) {
  jobs::JobInput input;
  const std::string demo = (std::filesystem::path(ZELVO_SOURCE_DIR) / "examples" / "demo").string();
  if (!jobs::read_work_inputs(demo, input.files).ok()) std::abort();
  input.command = command;
  return input;
}

void run(benchmark::State& state, console::JobKind command, bool fresh) {
  const jobs::JobInput input = demo_input(command);
  auto engines = std::make_unique<jobs::Engines>();
  for (auto _ : state) {
    if (fresh) engines = std::make_unique<jobs::Engines>();
    jobs::JobControl control;
    const jobs::JobOutput output = jobs::run_job(*engines, input, control);
    if (output.exit_status != 0) state.SkipWithError("the job did not finish");
    benchmark::DoNotOptimize(output.files.size());
  }
}

void BM_ComposeDemo(benchmark::State& state) { run(state, console::JobKind::kCompose, false); }
void BM_AllDemo(benchmark::State& state) { run(state, console::JobKind::kAll, false); }
void BM_ComposeFreshEngines(benchmark::State& state) { run(state, console::JobKind::kCompose, true); }

BENCHMARK(BM_ComposeDemo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllDemo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeFreshEngines)->Unit(benchmark::kMillisecond);

}  // namespace
