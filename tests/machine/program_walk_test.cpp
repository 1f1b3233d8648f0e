// Compiled code as each of its readers walks it, over the table of cases in
// data/machine/walk_cases.txt. A case's call line is the program store's
// words (operator names, or numbers for operands and stray words), after
// "@N" when they begin at address N; the record is the listing, what the
// input analysis finds in the program at the first word, and the step
// (kind/words) prepared at each instruction (operand words get steps that
// are never run).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "machine/disassemble.h"
#include "machine/machine_state.h"
#include "machine/opcodes.h"
#include "machine/program_inputs.h"
#include "support/cases.h"

namespace zelvo::machine {
namespace {

uint32_t word_of(const std::string& word) {
  for (const OperatorInfo& row : kOperators) {
    if (word == row.name) return code_of(row.op);
  }
  return static_cast<uint32_t>(std::stoul(word));
}

std::string run_case(const test::Case& c) {
  auto state = std::make_unique<MachineState>();
  auto values = std::make_unique<double[]>(kMaxSymbols);
  for (int32_t i = 0; i < kMaxSymbols; ++i) state->symbol_values[i] = &values[i];
  for (int32_t i = 0; i < kMaxTargets; ++i) state->targets[i] = &values[i % kMaxSymbols];
  uint32_t start = 0;
  for (const std::string& word : c.call) {
    if (word[0] == '@') {
      start = state->program_length = static_cast<uint32_t>(std::stoul(word.substr(1)));
    } else {
      state->program[state->program_length++] = word_of(word);
    }
  }
  std::string text;
  std::vector<uint32_t> instructions;  // the addresses the listing shows
  for (const std::string& line : disassemble(*state, start, state->program_length)) {
    text += line + "\n";
    instructions.push_back(static_cast<uint32_t>(std::stoul(line)));
  }
  const ProgramInputs inputs = inspect_program(*state, start);
  text += "inputs repeatable " + std::to_string(inputs.repeatable) + " lists " + std::to_string(inputs.uses_lists) +
          " symbols";
  for (int32_t i = 0; i < inputs.symbol_count; ++i) text += " " + std::to_string(inputs.symbols[i]);
  text += inputs.destination == nullptr ? " store none\n"
                                        : " store " + std::to_string(inputs.destination - values.get()) + "\n";
  prepare_programs(*state);
  text += "steps";
  for (const uint32_t a : instructions) {
    text += " " + std::to_string(state->steps[a].kind) + "/" + std::to_string(state->steps[a].words);
  }
  return text + "\n";
}

TEST(ProgramWalkTest, EveryReaderWalksTheStoreAsRecorded) {
  test::check_cases(test::test_data("machine/walk_cases.txt"), run_case);
}

}  // namespace
}  // namespace zelvo::machine
