// Expression cells over the table of cases in data/tables/expression_cases.txt:
// each case declares its variables (call a=1 b=2, or call -), compiles its
// cell as if it stood in TCAL row 3, column 1, and records the console text,
// the cell's own code and the value a run stores. A case whose file is named
// "line" gives the cell as a file writes it (`<td>Deg>2</td>`): its markup
// is taken out as the reader does first.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "console/job_end.h"
#include "machine/disassemble.h"
#include "machine/machine_state.h"
#include "support/cases.h"
#include "tables/expression_compiler.h"
#include "tables/html_reader.h"

namespace zelvo::tables {
namespace {

std::string run_case(const test::Case& c) {
  auto composition = std::make_unique<Composition>();
  auto machine = std::make_unique<machine::MachineState>();
  console::Console console;
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
  CompileContext context{*composition, *machine, console, position};
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
    machine::run_program(*machine, start);
    char value[64];
    std::snprintf(value, sizeof value, "value %.17g constants %d\n", result, machine->constant_count);
    text += value;
  } catch (const console::JobEnded&) {
    text += "aborted\n";
  }
  return text + test::quoted(console.contents());
}

TEST(ExpressionCasesTest, EveryCellCompilesAndRunsAsRecorded) {
  test::check_cases(test::test_data("tables/expression_cases.txt"), run_case);
}

}  // namespace
}  // namespace zelvo::tables
