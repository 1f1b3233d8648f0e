#include <bit>
#include <cstring>

#include "composer/generation_loop.h"
#include "composer/composer_state.h"

namespace zelvo::composer {

namespace {

// Values are compared bit for bit: -0 and 0 may give different results, and
// a NaN equals itself.
uint64_t bits(double value) { return std::bit_cast<uint64_t>(value); }

bool same_inputs(const machine::MachineState& machine, const VariableProgram& program, uint64_t* now) {
  bool same = program.recorded;
  for (int32_t i = 0; i < program.inputs.symbol_count; ++i) {
    now[i] = bits(*machine.symbol_values[program.inputs.symbols[i]]);
    same = same && now[i] == program.input_bits[i];
  }
  if (program.inputs.uses_lists) {
    same = same && bits(machine.list_selector) == program.lists_before[0] &&
           bits(machine.list_switch) == program.lists_before[1];
  }
  return same && bits(*program.inputs.destination) == program.result_bits;
}

}  // namespace

void collect_variable_programs(ComposerState& state) {
  const tables::Composition& composition = state.composition;
  int32_t count = 0;
  for (int32_t i = 0; i < composition.symbol_count && i < tables::kMaxSymbols; ++i) {
    const tables::Symbol& symbol = composition.symbols[i];
    // A start of 0 is the lone fcode at address 0: running it changes nothing.
    if (symbol.name[0] == '\0' || symbol.code_start == tables::kNoCode || symbol.code_start == 0) continue;
    VariableProgram& program = state.variable_programs[count++];
    program.start = symbol.code_start;
    program.inputs = machine::inspect_program(state.machine, symbol.code_start);
    program.recorded = false;
  }
  state.variable_program_count = count;
}

void recompute_variables(ComposerState& state) {
  machine::MachineState& machine = state.machine;
  for (int32_t i = 0; i < state.variable_program_count; ++i) {
    VariableProgram& program = state.variable_programs[i];
    if (!program.inputs.repeatable) {
      machine::run_program(machine, program.start);
      continue;
    }
    uint64_t now[machine::kMaxProgramInputs];
    if (same_inputs(machine, program, now)) {
      if (program.inputs.uses_lists) {
        machine.list_selector = std::bit_cast<double>(program.lists_after[0]);
        machine.list_switch = std::bit_cast<double>(program.lists_after[1]);
      }
      continue;
    }
    program.lists_before[0] = bits(machine.list_selector);
    program.lists_before[1] = bits(machine.list_switch);
    machine::run_program(machine, program.start);
    std::memcpy(program.input_bits, now, sizeof(uint64_t) * program.inputs.symbol_count);
    program.lists_after[0] = bits(machine.list_selector);
    program.lists_after[1] = bits(machine.list_switch);
    program.result_bits = bits(*program.inputs.destination);
    program.recorded = true;
  }
}

}  // namespace zelvo::composer
