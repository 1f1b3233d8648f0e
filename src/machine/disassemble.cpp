#include "machine/disassemble.h"

#include <cstdio>

#include "machine/opcodes.h"
#include "machine/program_walk.h"

namespace zelvo::machine {

std::vector<std::string> disassemble(const MachineState& state, uint32_t start, uint32_t end) {
  std::vector<std::string> lines;
  for (const Instruction& instruction : ProgramWalk(state, start, end)) {
    const uint32_t address = instruction.address;
    char line[96];
    if (!instruction.is_instruction()) {
      std::snprintf(line, sizeof line, "%u ? %u", address, instruction.code);
    } else if (instruction.words == 1) {
      std::snprintf(line, sizeof line, "%u %s", address, kOperators[instruction.code].name);
    } else if (instruction.op() == Op::kPushConstant &&
               instruction.operand < static_cast<uint32_t>(kMaxConstants)) {
      std::snprintf(line, sizeof line, "%u %s %u (%.15g)", address, kOperators[instruction.code].name,
                    instruction.operand, state.constants[instruction.operand]);
    } else {
      std::snprintf(line, sizeof line, "%u %s %u", address, kOperators[instruction.code].name,
                    instruction.operand);
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
