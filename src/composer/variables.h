#pragma once

// The calculated variables' programs with what their last run read and
// stored. Every generator evaluation recomputes every variable, but between
// two recomputations usually only one generator moved: a program whose
// inputs are bit for bit those of its last run, and whose result still sits
// where it stored it, would store the same value again, so it is skipped.
#include <cstdint>

#include "machine/program_inputs.h"

namespace zelvo::composer {

struct VariableProgram {
  uint32_t start;                 // code start, in table order
  machine::ProgramInputs inputs;  // from machine::inspect_program
  bool recorded;                  // the fields below hold a run since the compile
  uint64_t input_bits[machine::kMaxProgramInputs];
  uint64_t lists_before[2];       // list selector and switch before the run
  uint64_t lists_after[2];        // and after it
  uint64_t result_bits;
};

}  // namespace zelvo::composer
