// What inspect_program finds in compiled cells: the symbols read, each once,
// whether the list registers take part, and whether a run can be skipped at
// all (a random draw, or too many inputs, forbids it).
#include "machine/program_inputs.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>

#include "console/job_console.h"
#include "support/files.h"
#include "tables/composition.h"
#include "tables/expression_compiler.h"
#include "tables/html_reader.h"

namespace zelvo::tables {
namespace {

TEST(ProgramInputsTest, CellsAsTheVariablesRecomputationSeesThem) {
  auto composition = std::make_unique<Composition>();
  auto machine = std::make_unique<machine::MachineState>();
  auto console = std::make_unique<console::StandaloneConsole>();
  ReaderPosition position;
  CompileContext context{*composition, *machine, position};
  emit_instruction(context, machine::Op::kEnd);
  double values[17] = {};
  for (int32_t i = 0; i < 17; ++i) {
    composition->symbols[i].name[0] = static_cast<char>('a' + i);
    machine->symbol_values[i] = &values[i];
  }
  composition->symbol_count = 17;
  double result = 0;
  for (const std::string& line : test::table_rows("tables/program_inputs.txt", 9)) {
    std::istringstream words(line);
    struct { std::string cell; bool repeatable; bool uses_lists; int32_t symbol_count; } row;
    words >> row.cell >> row.repeatable >> row.uses_lists >> row.symbol_count;
    const uint32_t start = begin_program(context);
    char cell[kLineBufferSize];
    std::snprintf(cell, sizeof cell, "%s", row.cell.c_str());
    compile_cell(context, cell);
    emit_instruction(context, machine::Op::kPopTarget, add_target(context, &result));
    end_program(context);
    const machine::ProgramInputs inputs = machine::inspect_program(*machine, start);
    EXPECT_EQ(inputs.repeatable, row.repeatable) << row.cell;
    EXPECT_EQ(inputs.uses_lists, row.uses_lists) << row.cell;
    EXPECT_EQ(inputs.symbol_count, row.symbol_count) << row.cell;
    if (row.repeatable) {
      EXPECT_EQ(inputs.destination, &result) << row.cell;
    }
  }
}

}  // namespace
}  // namespace zelvo::tables
