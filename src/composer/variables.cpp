#include <bit>

#include "composer/generation_loop.h"
#include "composer/composer_state.h"

namespace zelvo::composer {

namespace {

// Values are compared bit for bit: -0 and 0 may give different results, and
// a NaN equals itself.
uint64_t bits(double value) { return std::bit_cast<uint64_t>(value); }

// Every value is read, without an early way out: the loop stays short and
// free of branches, and most checks find nothing changed.
bool unchanged(const machine::MachineState& machine, const VariableProgram& program) {
  bool same = program.recorded;
  for (int32_t i = 0; i <= program.inputs.symbol_count; ++i) {
    same &= bits(*program.watched[i].place) == program.watched[i].bits;
  }
  if (program.inputs.uses_lists) {
    same = same && bits(machine.list_selector) == program.lists_before[0] &&
           bits(machine.list_switch) == program.lists_before[1];
  }
  return same;
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
    const int32_t inputs = program.inputs.symbol_count;
    for (int32_t k = 0; k < inputs; ++k) program.watched[k].place = state.machine.symbol_values[program.inputs.symbols[k]];
    program.watched[inputs].place = program.inputs.destination;
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
    if (unchanged(machine, program)) {
      if (program.inputs.uses_lists) {
        machine.list_selector = std::bit_cast<double>(program.lists_after[0]);
        machine.list_switch = std::bit_cast<double>(program.lists_after[1]);
      }
      continue;
    }
    // The inputs are taken before the run: its store may be one of them.
    const int32_t inputs = program.inputs.symbol_count;
    for (int32_t k = 0; k < inputs; ++k) program.watched[k].bits = bits(*program.watched[k].place);
    program.lists_before[0] = bits(machine.list_selector);
    program.lists_before[1] = bits(machine.list_switch);
    machine::run_program(machine, program.start);
    program.lists_after[0] = bits(machine.list_selector);
    program.lists_after[1] = bits(machine.list_switch);
    program.watched[inputs].bits = bits(*program.inputs.destination);
    program.recorded = true;
  }
}

}  // namespace zelvo::composer
