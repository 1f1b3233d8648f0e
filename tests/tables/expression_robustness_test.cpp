// Malformed cells end in a message, never in code that leaves the stack:
// thousands of random token soups are compiled and every accepted program
// is checked instruction by instruction, then run.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "machine/machine_state.h"
#include "machine/opcodes.h"
#include "tables/expression_compiler.h"

namespace zelvo::tables {
namespace {

// The depth each instruction leaves, walked over the stored program.
bool stack_stays_inside(const machine::MachineState& m, uint32_t start, uint32_t end, std::string* why) {
  int32_t depth = 0;
  for (uint32_t pc = start; pc < end; ++pc) {
    const uint32_t word = m.program[pc];
    if (word >= machine::kOperatorCount) {
      *why = "bad word at " + std::to_string(pc);
      return false;
    }
    const machine::Op op = machine::kOperators[word].op;
    const machine::StackEffect effect = machine::stack_effect(op);
    depth -= effect.takes;
    if (depth < 0) {
      *why = "underflow at " + std::to_string(pc);
      return false;
    }
    depth += effect.leaves;
    if (depth > machine::kStackSize) {
      *why = "overflow at " + std::to_string(pc);
      return false;
    }
    if (machine::has_operand(op)) ++pc;
  }
  return true;
}

TEST(ExpressionRobustnessTest, RandomCellsCompileToBalancedCodeOrAbort) {
  static const char* const kTokens[] = {"a",  "b",    "1",     "2.5",  "C4n", "+",     "-",    "*",    "/",
                                        "(",  ")",    "?",     ":",    ",",   "pow(",  "itp(", "cond(", "li(",
                                        "lv(", "sin(", "&&",   ">=",   "<",   "nrand(", "pushc(", "pop(", "fcode(",
                                        ":(", "+(",   "-(",    "(a?", "?b:", "int(",  "==",   " ",    "12345678901234"};
  constexpr uint32_t kTokenCount = sizeof kTokens / sizeof kTokens[0];
  uint32_t random = 12345;
  auto next = [&random]() {
    random = random * 1103515245u + 12345u;
    return (random >> 16) & 0x7fff;
  };
  int accepted = 0;
  for (int trial = 0; trial < 50000; ++trial) {
    auto composition = std::make_unique<Composition>();
    auto m = std::make_unique<machine::MachineState>();
    console::Console console;
    ReaderPosition position;
    position.kind = kKindVariables;
    position.row = 1;
    position.column = 1;
    for (const char* name : {"a", "b"}) {
      const int32_t i = composition->symbol_count++;
      std::strcpy(composition->symbols[i].name, name);
      composition->symbols[i].value = i + 1.5;
      m->symbol_values[i] = &composition->symbols[i].value;
    }
    CompileContext context{*composition, *m, console, position};
    emit_instruction(context, machine::Op::kEnd);
    std::string text;
    const uint32_t tokens = 1 + next() % 12;
    for (uint32_t t = 0; t < tokens; ++t) text += kTokens[next() % kTokenCount];
    char cell[kLineBufferSize];
    std::strcpy(cell, text.c_str());
    double result = 0.0;
    try {
      begin_program(context);
      compile_cell(context, cell);
      emit_instruction(context, machine::Op::kPopTarget, add_target(context, &result));
      end_program(context);
    } catch (const console::JobEnded&) {
      continue;
    }
    ++accepted;
    std::string why;
    ASSERT_TRUE(stack_stays_inside(*m, 1, m->program_length, &why)) << text << ": " << why;
    machine::run_program(*m, 1);
  }
  EXPECT_GT(accepted, 300);
}

}  // namespace
}  // namespace zelvo::tables
