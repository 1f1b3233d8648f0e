#include "machine/program_inputs.h"

#include <algorithm>

#include "machine/opcodes.h"
#include "machine/program_walk.h"

namespace zelvo::machine {

ProgramInputs inspect_program(const MachineState& state, uint32_t start) {
  ProgramInputs inputs;
  bool stored = false;
  for (const Instruction& instruction : ProgramWalk(state, start, kProgramSize)) {
    if (!instruction.is_instruction()) return ProgramInputs{};
    const Op op = instruction.op();
    const Effect effect = effect_of(op);
    if (effect == Effect::kEnds) {
      inputs.repeatable = stored;
      return inputs;
    }
    // Nothing may follow the store but the fcode.
    if (stored || effect == Effect::kDraws) return ProgramInputs{};
    if (effect == Effect::kLists) inputs.uses_lists = true;
    if (!has_operand(op)) continue;
    if (instruction.operand_missing()) return ProgramInputs{};
    const uint32_t operand = instruction.operand;
    if (op == Op::kPush) {
      uint32_t* const end = inputs.symbols + inputs.symbol_count;
      if (std::find(inputs.symbols, end, operand) != end) continue;
      if (inputs.symbol_count == kMaxProgramInputs) return ProgramInputs{};
      inputs.symbols[inputs.symbol_count++] = operand;
    } else if (op == Op::kPop) {
      inputs.destination = state.symbol_values[operand];
      stored = true;
    } else if (op == Op::kPopTarget) {
      inputs.destination = state.targets[operand];
      stored = true;
    }
  }
  return ProgramInputs{};
}

}  // namespace zelvo::machine
