// The run loop: one flat switch over the operator table's instructions, for
// programs that are not prepared (machine/prepared.h runs the others).
// Nothing is checked here; the compilers guarantee operand indexes and the
// stack depth a program reaches.
#include <cmath>
#include <cstring>

#include "machine/builtins.h"
#include "machine/convert.h"
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
  state.prepared = false;
}

void run_program(MachineState& state, uint32_t start) {
  if (state.prepared) {
    run_prepared(state, start);
    return;
  }
  const uint32_t* ip = state.program + start;
  const double* const constants = state.constants;
  double* const* const targets = state.targets;
  double* const* const symbols = state.symbol_values;
  // The top of the stack lives in `top`, the values under it in `below`
  // (below[0] is a spill slot that holds nothing). A private array cannot be
  // reached through the store pointers, so values stay in registers across
  // the stores; the arithmetic and its operand order are the same as on the
  // machine's own stack.
  double below[kStackSize + 1];
  double* sp = below;
  double top = 0.0;
  for (;;) {
    const uint32_t code = *ip;
    if (code >= kOperatorCount) __builtin_unreachable();  // the compiler writes only table rows
    switch (static_cast<Op>(code)) {
      case Op::kAdd: top = *--sp + top; break;
      case Op::kSub: top = *--sp - top; break;
      case Op::kMul: top = *--sp * top; break;
      case Op::kDiv: top = *--sp / top; break;
      case Op::kAnd: top = (*--sp != 0.0 && top != 0.0) ? 1.0 : 0.0; break;
      case Op::kOr: top = (*--sp != 0.0 || top != 0.0) ? 1.0 : 0.0; break;
      case Op::kGreaterEqual: top = *--sp >= top ? 1.0 : 0.0; break;
      case Op::kLessEqual: top = *--sp <= top ? 1.0 : 0.0; break;
      case Op::kGreater: top = *--sp > top ? 1.0 : 0.0; break;
      case Op::kLess: top = *--sp < top ? 1.0 : 0.0; break;
      case Op::kEqual: top = *--sp == top ? 1.0 : 0.0; break;
      case Op::kNotEqual: top = *--sp != top ? 1.0 : 0.0; break;
      case Op::kColon: break;
      case Op::kPushConstant: *sp++ = top; top = constants[*++ip]; break;
      case Op::kPush: *sp++ = top; top = *symbols[*++ip]; break;
      case Op::kPopTarget: *targets[*++ip] = top; top = *--sp; break;
      case Op::kPop: *symbols[*++ip] = top; top = *--sp; break;
      case Op::kCond: {
        // a b x: the then-value a stays unless the condition x is 0.
        const double otherwise = *--sp;
        const double then = *--sp;
        top = top == 0.0 ? otherwise : then;
        break;
      }
      case Op::kEnd: {
        const auto depth = static_cast<int32_t>(sp - below);
        if (depth > 0) {
          std::memcpy(state.stack, below + 1, (depth - 1) * sizeof(double));
          state.stack[depth - 1] = top;
        }
        state.stack_pointer = depth;
        state.program_counter = static_cast<uint32_t>(ip - state.program) + 1;
        return;
      }
      case Op::kInt: top = whole_part(top); break;
      case Op::kFrac: top = fraction_part(top); break;
      case Op::kAbs: top = std::fabs(top); break;
      case Op::kExp: top = std::exp(top); break;
      case Op::kLog: top = std::log10(top); break;
      case Op::kPow: top = std::pow(*--sp, top); break;
      case Op::kSqrt: top = std::sqrt(top); break;
      case Op::kSin: top = std::sin(top); break;
      case Op::kCos: top = std::cos(top); break;
      case Op::kNrand: top = nrand(state, top); break;
      case Op::kItp: {
        sp -= 4;
        top = itp(sp[0], sp[1], sp[2], sp[3], top);
        break;
      }
      case Op::kLi: top = li(state, *--sp, top); break;
      case Op::kLv: top = lv(state, *--sp, top); break;
      case Op::kLr: {
        sp -= 2;
        top = lr(state, sp[0], sp[1], top);
        break;
      }
    }
    ++ip;
  }
}

}  // namespace zelvo::machine
