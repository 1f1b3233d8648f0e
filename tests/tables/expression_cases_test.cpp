// Expression cells over the table of cases in data/tables/expression_cases.txt:
// each case declares its variables (call a=1 b=2, or call -), compiles its
// cell as if it stood in TCAL row 3, column 1, and records the console text,
// the cell's own code and the value a run stores. Every cell runs twice, in
// the plain loop and in the threaded loop of prepared steps that compiled
// programs use, and both must leave the same value, stack and stores. A case
// whose file is named "line" gives the cell as a file writes it
// (`<td>Deg>2</td>`): its markup is taken out as the reader does first.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "console/job_console.h"
#include "console/job_end.h"
#include "machine/disassemble.h"
#include "machine/machine_state.h"
#include "support/cases.h"
#include "tables/expression_compiler.h"
#include "tables/html_reader.h"

namespace zelvo::tables {
namespace {

// What a run leaves behind, bit for bit (a NaN equals the same NaN).
struct RunTrace {
  std::vector<double> stores;  // the result, then every variable
  std::vector<double> stack;
  uint32_t program_counter;
  uint32_t random_state;
  double list_selector;
  double list_switch;

  bool operator==(const RunTrace& other) const {
    auto same = [](const std::vector<double>& a, const std::vector<double>& b) {
      return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
    };
    return same(stores, other.stores) && same(stack, other.stack) && program_counter == other.program_counter &&
           random_state == other.random_state && same({list_selector, list_switch}, {other.list_selector, other.list_switch});
  }
};

RunTrace trace_of(const machine::MachineState& machine, const Composition& composition, double result) {
  RunTrace trace{{result}, {}, machine.program_counter, machine.random_state, machine.list_selector,
                 machine.list_switch};
  for (int32_t i = 0; i < composition.symbol_count; ++i) trace.stores.push_back(composition.symbols[i].value);
  trace.stack.assign(machine.stack, machine.stack + machine.stack_pointer);
  return trace;
}

// Runs the program at `start` in the plain loop, then from the same state in
// the threaded loop; "" when both leave the same, else what differs.
std::string run_both_loops(machine::MachineState& machine, Composition& composition, double& result,
                           uint32_t start) {
  const auto before = std::make_unique<machine::MachineState>(machine);
  const auto values = std::make_unique<Composition>(composition);
  const double result_before = result;
  machine::run_program(machine, start);
  const RunTrace plain = trace_of(machine, composition, result);

  std::memcpy(static_cast<void*>(&machine), before.get(), sizeof machine);
  for (int32_t i = 0; i < composition.symbol_count; ++i) composition.symbols[i].value = values->symbols[i].value;
  result = result_before;
  machine::prepare_programs(machine);
  machine::run_program(machine, start);
  const RunTrace threaded = trace_of(machine, composition, result);
  machine.prepared = false;
  if (threaded == plain) return std::string();
  char text[160];
  std::snprintf(text, sizeof text, "loops differ: value %.17g against %.17g, stack %zu against %zu, pc %u against %u\n",
                threaded.stores[0], plain.stores[0], threaded.stack.size(), plain.stack.size(),
                threaded.program_counter, plain.program_counter);
  return text;
}

std::string run_case(const test::Case& c) {
  auto composition = std::make_unique<Composition>();
  auto machine = std::make_unique<machine::MachineState>();
  console::StandaloneConsole console;
  ReaderPosition position;
  position.kind = kKindVariables;
  position.row = 3;
  position.column = 1;
  machine->program[machine->program_length++] = machine::code_of(machine::Op::kEnd);
  for (const std::string& word : c.call) {
    const size_t eq = word.find('=');
    if (eq == std::string::npos) continue;
    const int32_t index = composition->symbol_count++;
    std::strcpy(composition->symbols[index].name, word.substr(0, eq).c_str());
    composition->symbols[index].value = std::stod(word.substr(eq + 1));
    machine->symbol_values[index] = &composition->symbols[index].value;
  }
  CompileContext context{*composition, *machine, position};
  char cell[kLineBufferSize] = {};
  std::strncpy(cell, c.files.at(0).second.c_str(), sizeof cell - 1);
  if (c.files.at(0).first == "line") {
    strip_markup(cell);
    normalise_spaces(cell);
  }
  double result = -99999.0;
  const uint32_t start = machine->program_length;
  std::string text;
  try {
    begin_program(context);
    compile_cell(context, cell);
    for (const std::string& line : machine::disassemble(*machine, start, machine->program_length)) text += line + "\n";
    emit_instruction(context, machine::Op::kPopTarget, add_target(context, &result));
    end_program(context);
    text += run_both_loops(*machine, *composition, result, start);
    char value[64];
    std::snprintf(value, sizeof value, "value %.17g constants %d\n", result, machine->constant_count);
    text += value;
  } catch (const base::StepFailed& failed) {
    text += "aborted\n";
    // Printed as the composer prints it.
    try {
      console::fail(console, failed.message);
    } catch (const console::JobEnded&) {
    }
  }
  return text + test::quoted(console.store().contents());
}

TEST(ExpressionCasesTest, EveryCellCompilesAndRunsAsRecorded) {
  test::check_cases(test::test_data("tables/expression_cases.txt"), run_case);
}

}  // namespace
}  // namespace zelvo::tables
