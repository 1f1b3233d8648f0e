#include "machine/disassemble.h"

#include <cstdio>

#include "machine/opcodes.h"

namespace zelvo::machine {

std::vector<std::string> disassemble(const MachineState& state, uint32_t start, uint32_t end) {
  std::vector<std::string> lines;
  if (end > kProgramSize) end = kProgramSize;
  for (uint32_t address = start; address < end; ++address) {
    const uint32_t word = state.program[address];
    char line[96];
    if (word >= kOperatorCount) {
      std::snprintf(line, sizeof line, "%u ? %u", address, word);
      lines.emplace_back(line);
      continue;
    }
    const Op op = kOperators[word].op;
    if (!has_operand(op) || address + 1 >= end) {
      std::snprintf(line, sizeof line, "%u %s", address, kOperators[word].name);
    } else {
      const uint32_t operand = state.program[++address];
      if (op == Op::kPushConstant && operand < static_cast<uint32_t>(kMaxConstants)) {
        std::snprintf(line, sizeof line, "%u %s %u (%.15g)", address - 1, kOperators[word].name, operand,
                      state.constants[operand]);
      } else {
        std::snprintf(line, sizeof line, "%u %s %u", address - 1, kOperators[word].name, operand);
      }
    }
    lines.emplace_back(line);
  }
  return lines;
}

std::string disassemble_all(const MachineState& state) {
  std::string text;
  for (const std::string& line : disassemble(state, 0, state.program_length)) text += line + "\n";
  return text;
}

}  // namespace zelvo::machine
