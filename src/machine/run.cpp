// The run loop: one flat switch over the operator table's instructions.
// Nothing is checked here; the compilers guarantee operand indexes and the
// stack depth a program reaches.
#include <cmath>
#include <cstring>

#include "machine/builtins.h"
#include "machine/machine_state.h"
#include "machine/opcodes.h"

namespace zelvo::machine {

uint32_t find_operator(const char* text) {
  for (uint32_t i = 0; i < kOperatorCount; ++i) {
    const char* name = kOperators[i].name;
    if (std::strncmp(name, text, std::strlen(name)) == 0) return i;
  }
  return kNoOperator;
}

void reset_program_tables(MachineState& state) {
  std::memset(state.program, 0, sizeof state.program);
  state.program_length = 0;
  std::memset(state.constants, 0, sizeof state.constants);
  state.constant_count = 0;
  for (double*& target : state.targets) target = nullptr;
  state.target_count = 0;
  for (double*& value : state.symbol_values) value = nullptr;
  state.stack_pointer = 0;
  state.program_counter = 0;
}

void run_program(MachineState& state, uint32_t start) {
  const uint32_t* const program = state.program;
  const double* const constants = state.constants;
  double* const stack = state.stack;
  int32_t sp = 0;
  uint32_t pc = start;
  for (;;) {
    switch (static_cast<Op>(program[pc])) {
      case Op::kAdd: --sp; stack[sp - 1] = stack[sp - 1] + stack[sp]; break;
      case Op::kSub: --sp; stack[sp - 1] = stack[sp - 1] - stack[sp]; break;
      case Op::kMul: --sp; stack[sp - 1] = stack[sp - 1] * stack[sp]; break;
      case Op::kDiv: --sp; stack[sp - 1] = stack[sp - 1] / stack[sp]; break;
      case Op::kAnd: --sp; stack[sp - 1] = (stack[sp - 1] != 0.0 && stack[sp] != 0.0) ? 1.0 : 0.0; break;
      case Op::kOr: --sp; stack[sp - 1] = (stack[sp - 1] != 0.0 || stack[sp] != 0.0) ? 1.0 : 0.0; break;
      case Op::kGreaterEqual: --sp; stack[sp - 1] = stack[sp - 1] >= stack[sp] ? 1.0 : 0.0; break;
      case Op::kLessEqual: --sp; stack[sp - 1] = stack[sp - 1] <= stack[sp] ? 1.0 : 0.0; break;
      case Op::kGreater: --sp; stack[sp - 1] = stack[sp - 1] > stack[sp] ? 1.0 : 0.0; break;
      case Op::kLess: --sp; stack[sp - 1] = stack[sp - 1] < stack[sp] ? 1.0 : 0.0; break;
      case Op::kEqual: --sp; stack[sp - 1] = stack[sp - 1] == stack[sp] ? 1.0 : 0.0; break;
      case Op::kNotEqual: --sp; stack[sp - 1] = stack[sp - 1] != stack[sp] ? 1.0 : 0.0; break;
      case Op::kColon: break;
      case Op::kPushConstant: stack[sp++] = constants[program[++pc]]; break;
      case Op::kPush: stack[sp++] = *state.symbol_values[program[++pc]]; break;
      case Op::kPopTarget: *state.targets[program[++pc]] = stack[--sp]; break;
      case Op::kPop: *state.symbol_values[program[++pc]] = stack[--sp]; break;
      case Op::kCond:
        // a b x: the then-value a stays unless the condition x is 0.
        sp -= 2;
        if (stack[sp + 1] == 0.0) stack[sp - 1] = stack[sp];
        break;
      case Op::kEnd:
        state.stack_pointer = sp;
        state.program_counter = pc + 1;
        return;
      case Op::kInt: { double whole; std::modf(stack[sp - 1], &whole); stack[sp - 1] = whole; break; }
      case Op::kFrac: { double whole; stack[sp - 1] = std::modf(stack[sp - 1], &whole); break; }
      case Op::kAbs: stack[sp - 1] = std::fabs(stack[sp - 1]); break;
      case Op::kExp: stack[sp - 1] = std::exp(stack[sp - 1]); break;
      case Op::kLog: stack[sp - 1] = std::log10(stack[sp - 1]); break;
      case Op::kPow: --sp; stack[sp - 1] = std::pow(stack[sp - 1], stack[sp]); break;
      case Op::kSqrt: stack[sp - 1] = std::sqrt(stack[sp - 1]); break;
      case Op::kSin: stack[sp - 1] = std::sin(stack[sp - 1]); break;
      case Op::kCos: stack[sp - 1] = std::cos(stack[sp - 1]); break;
      case Op::kNrand: stack[sp - 1] = nrand(state, stack[sp - 1]); break;
      case Op::kItp:
        sp -= 4;
        stack[sp - 1] = itp(stack[sp - 1], stack[sp], stack[sp + 1], stack[sp + 2], stack[sp + 3]);
        break;
      case Op::kLi: --sp; stack[sp - 1] = li(state, stack[sp - 1], stack[sp]); break;
      case Op::kLv: --sp; stack[sp - 1] = lv(state, stack[sp - 1], stack[sp]); break;
      case Op::kLr:
        sp -= 2;
        stack[sp - 1] = lr(state, stack[sp - 1], stack[sp], stack[sp + 1]);
        break;
    }
    ++pc;
  }
}

}  // namespace zelvo::machine
