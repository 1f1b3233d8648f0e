// Measures run_program on compiled cell programs of the kind the composer
// runs on every click: a conditional with a note name, an interpolation
// with a random draw, a list lookup, and a generator program of three
// cells. Compiling happens once, outside the timed loop.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "console/job_console.h"
#include "machine/machine_state.h"
#include "tables/composition.h"
#include "tables/expression_compiler.h"
#include "tables/html_reader.h"

namespace {

using namespace zelvo;

struct Bench {
  std::unique_ptr<tables::Composition> composition = std::make_unique<tables::Composition>();
  std::unique_ptr<machine::MachineState> machine = std::make_unique<machine::MachineState>();
  std::unique_ptr<console::StandaloneConsole> console = std::make_unique<console::StandaloneConsole>();
  tables::ReaderPosition position;
  tables::CompileContext context{*composition, *machine, position};
  double results[4] = {};

  Bench() {
    tables::emit_instruction(context, machine::Op::kEnd);
    for (const char* name : {"x", "s", "Melk"}) {
      const int32_t i = composition->symbol_count++;
      std::strcpy(composition->symbols[i].name, name);
      composition->symbols[i].value = i + 3.0;
      machine->symbol_values[i] = &composition->symbols[i].value;
    }
  }

  // One program of the given cells, each storing into its own result.
  uint32_t compile(std::initializer_list<const char*> cells) {
    const uint32_t start = machine->program_length;
    tables::begin_program(context);
    int32_t slot = 0;
    for (const char* text : cells) {
      char cell[tables::kLineBufferSize];
      std::strcpy(cell, text);
      tables::compile_cell(context, cell);
      tables::emit_instruction(context, machine::Op::kPopTarget, tables::add_target(context, &results[slot++]));
    }
    tables::end_program(context);
    machine::prepare_programs(*machine);
    return start;
  }
};

void run(benchmark::State& state, std::initializer_list<const char*> cells) {
  Bench bench;
  const uint32_t start = bench.compile(cells);
  for (auto _ : state) {
    machine::run_program(*bench.machine, start);
    benchmark::DoNotOptimize(bench.results[0]);
  }
}

void BM_Conditional(benchmark::State& state) { run(state, {"(x>5?C4n+12:C4n)"}); }
void BM_InterpolationAndRandom(benchmark::State& state) { run(state, {"itp(0,60,48,72,Melk)+nrand(2)"}); }
void BM_ListLookup(benchmark::State& state) { run(state, {"li(s,1)+lv(1,60)+lv(2,64)+lv(3,67)+lr(4,9,72)"}); }
void BM_GeneratorProgram(benchmark::State& state) {
  run(state, {"Melk*2+1", "(x>=4&&s<9?pow(2,3):abs(-5))", "int(sin(Melk)*12)+C4n"});
}

BENCHMARK(BM_Conditional);
BENCHMARK(BM_InterpolationAndRandom);
BENCHMARK(BM_ListLookup);
BENCHMARK(BM_GeneratorProgram);

}  // namespace
