#pragma once

// The calculated variables' programs with what their last run read and
// stored. Every generator evaluation recomputes every variable, but between
// two recomputations usually only one generator moved: a program whose
// inputs are bit for bit those of its last run, and whose result still sits
// where it stored it, would store the same value again, so it is skipped.
#include <cstdint>

#include "machine/program_inputs.h"

namespace zelvo::composer {

// A value a skipped run depends on, and its bits as the last run left them.
// The compiler fixes where each symbol's value lives, so the place is kept
// rather than looked up at each check.
struct WatchedValue {
  const double* place;
  uint64_t bits;
};

struct VariableProgram {
  uint32_t start;                 // code start, in table order
  machine::ProgramInputs inputs;  // from machine::inspect_program
  bool recorded;                  // the fields below hold a run since the compile
  // The inputs as the last run read them, then its result as it stored it:
  // the program is skipped while all of them hold those bits.
  // (inputs.symbol_count of them, then one).
  WatchedValue watched[machine::kMaxProgramInputs + 1];
  uint64_t lists_before[2];       // list selector and switch before the run
  uint64_t lists_after[2];        // and after it
};

}  // namespace zelvo::composer
