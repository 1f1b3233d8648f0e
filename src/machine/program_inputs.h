#pragma once

// What a compiled program reads and where it stores, for a caller that skips
// a run whose inputs did not change (the composer's variables, recomputed
// before every generator evaluation, mostly see the same values again).
#include <cstdint>

#include "machine/machine_state.h"

namespace zelvo::machine {

constexpr int32_t kMaxProgramInputs = 16;

struct ProgramInputs {
  // Runs again to the same effect from the same inputs: no random draw, and
  // one store, as its last instruction, so every read comes before it.
  bool repeatable = false;
  // Runs li, lv or lr: the list registers are inputs and results too.
  bool uses_lists = false;
  int32_t symbol_count = 0;
  uint32_t symbols[kMaxProgramInputs] = {};  // each symbol read, once
  double* destination = nullptr;             // where the one store goes
};

// Reads the program at `start` up to its fcode. A program with more than
// kMaxProgramInputs different symbols is not repeatable.
ProgramInputs inspect_program(const MachineState& state, uint32_t start);

}  // namespace zelvo::machine
