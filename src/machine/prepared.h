#pragma once

// Programs prepared for running: every instruction of the program store
// decoded once into a step with its operand resolved (the constant's value,
// the variable's or target's address), and the commonest pairs and triples
// joined into one step: "pushc c; op", "push v; op", "push v; pushc c; op"
// and "push v; push w; op" for + - * /. A joined step does the same
// operations on the same values in the same order; it only saves the
// dispatches and the stack traffic between them.
//
// Contract:
// - prepared[a] is the step of the instruction at address a, so a program
//   runs from the step at its start address; operand words get steps that
//   are never run.
// - The steps copy constants and the symbol and target pointers: they hold
//   while neither the program store nor those tables change. The table
//   compiler prepares its programs at the end of a compile; emitting an
//   instruction or resetting the tables marks the steps stale, and
//   run_program then reads the program words themselves.
#include <cstdint>

namespace zelvo::machine {

struct MachineState;

// Step kinds: the instruction codes first (kind i is instruction i), then the
// joined forms.
enum class StepKind : uint32_t {
  kAddConst = 33, kSubConst, kMulConst, kDivConst,            // top = top op c
  kAddVar, kSubVar, kMulVar, kDivVar,                         // top = top op *v
  kVarAddConst, kVarSubConst, kVarMulConst, kVarDivConst,     // push *v op c
  kVarAddVar, kVarSubVar, kVarMulVar, kVarDivVar,             // push *v op *w
  kGreaterEqualConst, kLessEqualConst, kGreaterConst, kLessConst, kEqualConst, kNotEqualConst,  // top = top cmp c
  kVarGreaterEqualConst, kVarLessEqualConst, kVarGreaterConst, kVarLessConst, kVarEqualConst,
  kVarNotEqualConst,                                          // push *v cmp c
  kStoreEnd,                                                  // pop or popt, then fcode
  kCount,
};

struct PreparedStep {
  uint32_t kind;
  uint32_t words;          // program words the step stands for
  double constant;         // pushc and the joined forms with a constant
  double* value;           // push, pop, popt and the joined forms: the first variable
  const double* second;    // the second variable of kVar*Var
};

// Prepares every program of the store, from address 0 to the program length.
// REQUIRES: the symbol value pointers and targets the programs use are set.
void prepare_programs(MachineState& state);

// Runs prepared steps from `start`; run_program's work when they are fresh.
void run_prepared(MachineState& state, uint32_t start);

}  // namespace zelvo::machine
