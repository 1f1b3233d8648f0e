#pragma once

// The stack machine's tables: program store, constant table, store-target
// table, the value-pointer column of the symbol table, the value stack, the
// random state and the list registers.
//
// Contract:
// - One MachineState is allocated per application (it is large) and lives as
//   long as the program. The table compiler refills the program store,
//   constants, targets and symbol value pointers at every composer run
//   (reset_program_tables). The random state and the list registers are
//   never cleared by a run: seed_random sets the former, `li` the latter.
// - symbol_values[i] is the "value pointer" of symbol record i
//   (tables::Composition::symbols[i]): it points at that record's own
//   `value` for a TCAL variable, or at slot 3/2/1/4 (G/Gu/Gi/Gk) of a
//   generator record. targets[t] points at a parameter slot of a generator
//   record or a slot of an output-channel record. Both therefore point into
//   the tables::Composition that was compiled, which must not move while
//   programs run.
// - run_program(state, start) runs the program at `start` up to its fcode;
//   start 0 runs nothing. Results land where the program's pop/popt store
//   them. Nothing is checked or allocated while running: the compiler
//   guarantees valid operands and a bounded stack depth.
#include <cstdint>

#include "machine/prepared.h"

namespace zelvo::machine {

constexpr uint32_t kProgramSize = 8000;   // words in the program store
constexpr int32_t kMaxConstants = 2000;   // entries of the constant table
constexpr int32_t kMaxTargets = 2000;     // entries of the store-target table
constexpr int32_t kMaxSymbols = 1000;     // value pointers, one per symbol record
constexpr int32_t kStackSize = 300;       // doubles on the value stack
constexpr uint32_t kInitialRandomState = 1;

// The arrays have no initializer, for the reason tables::Composition gives:
// a machine is made value-initialized or from zeroed memory.
struct MachineState {
  uint32_t program[kProgramSize];
  // Next free address of the program store while compiling.
  uint32_t program_length = 0;

  double constants[kMaxConstants];
  int32_t constant_count = 0;

  double* targets[kMaxTargets];
  int32_t target_count = 0;

  double* symbol_values[kMaxSymbols];

  double stack[kStackSize];
  int32_t stack_pointer = 0;        // values on the stack after the last run
  uint32_t program_counter = 0;     // address after the last fcode run

  // The program store decoded for running (machine/prepared.h); used while
  // `prepared` holds.
  PreparedStep steps[kProgramSize];
  bool prepared = false;

  uint32_t random_state = kInitialRandomState;
  double list_selector = 0.0;
  double list_switch = 0.0;
};

// Empties the program store, constants, targets and symbol value pointers
// (the start of a compile). Leaves the random state and list registers.
void reset_program_tables(MachineState& state);

// Runs the program that starts at `start` until its fcode.
void run_program(MachineState& state, uint32_t start);

}  // namespace zelvo::machine
