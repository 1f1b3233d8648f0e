// Preparing and running prepared steps. The run loop is threaded: each step
// ends with its own jump to the next step's code (labels as values, which
// g++ and clang both have), which keeps the dispatch to two loads and a
// jump. The translation is a plain switch, so a new instruction that is not
// handled here is reported by the compiler.
#include "machine/prepared.h"

#include <cmath>
#include <cstring>

#include "machine/builtins.h"
#include "machine/convert.h"
#include "machine/machine_state.h"
#include "machine/opcodes.h"
#include "machine/program_walk.h"

namespace zelvo::machine {

namespace {

// The joined kind for "first step; code": `arithmetic` + 0 to 3 for + - * /,
// `comparison` + 0 to 5 for >= <= > < == != (none when it is kCount);
// 0 when the code does not join.
uint32_t joined_kind(uint32_t code, StepKind arithmetic, StepKind comparison) {
  if (code <= code_of(Op::kDiv)) return static_cast<uint32_t>(arithmetic) + code;
  if (comparison != StepKind::kCount && code >= code_of(Op::kGreaterEqual) && code <= code_of(Op::kNotEqual)) {
    return static_cast<uint32_t>(comparison) + code - code_of(Op::kGreaterEqual);
  }
  return 0;
}

// Whether row i of a label table runs step kind i, for every row; the first
// kOperatorCount kinds are the operator table's instructions in its order.
template <size_t kRows>
constexpr bool rows_are_kinds(const uint32_t (&kinds)[kRows]) {
  for (uint32_t i = 0; i < kRows; ++i) {
    if (kinds[i] != i) return false;
    if (i < kOperatorCount && code_of(kOperators[i].op) != kinds[i]) return false;
  }
  return true;
}

constexpr PreparedStep kNeverRun{code_of(Op::kEnd), 1, 0.0, nullptr, nullptr};

// The step of the instruction at `address`, joined with what follows when
// it can be.
PreparedStep join_step(const MachineState& state, uint32_t address, uint32_t end) {
  const uint32_t* const program = state.program;
  PreparedStep step{program[address], 1, 0.0, nullptr, nullptr};
  // An operand word, or an instruction whose operand lies past the end:
  // never run as a step of its own.
  if (step.kind >= kOperatorCount) return kNeverRun;
  const Op op = static_cast<Op>(step.kind);
  if (!has_operand(op)) return step;
  if (address + 1 >= end) return kNeverRun;
  const uint32_t operand = program[address + 1];
  step.words = 2;
  switch (op) {
    case Op::kPushConstant: step.constant = state.constants[operand]; break;
    case Op::kPush: step.value = state.symbol_values[operand]; break;
    case Op::kPopTarget: step.value = state.targets[operand]; break;
    case Op::kPop: step.value = state.symbol_values[operand]; break;
    case Op::kAdd: case Op::kSub: case Op::kMul: case Op::kDiv: case Op::kAnd: case Op::kOr:
    case Op::kGreaterEqual: case Op::kLessEqual: case Op::kGreater: case Op::kLess: case Op::kEqual:
    case Op::kNotEqual: case Op::kColon: case Op::kCond: case Op::kEnd: case Op::kInt: case Op::kFrac:
    case Op::kAbs: case Op::kExp: case Op::kLog: case Op::kPow: case Op::kSqrt: case Op::kSin: case Op::kCos:
    case Op::kNrand: case Op::kItp: case Op::kLi: case Op::kLv: case Op::kLr:
      break;
  }
  if (op == Op::kPop || op == Op::kPopTarget) {
    if (address + 2 < end && program[address + 2] == code_of(Op::kEnd)) step.kind = static_cast<uint32_t>(StepKind::kStoreEnd);
    return step;
  }
  if (op != Op::kPushConstant && op != Op::kPush) return step;
  if (address + 2 < end) {
    const uint32_t kind = op == Op::kPush
                              ? joined_kind(program[address + 2], StepKind::kAddVar, StepKind::kCount)
                              : joined_kind(program[address + 2], StepKind::kAddConst, StepKind::kGreaterEqualConst);
    if (kind != 0) {
      step.kind = kind;
      step.words = 3;
      return step;
    }
  }
  if (op != Op::kPush || address + 4 >= end) return step;
  const uint32_t second = program[address + 2];
  uint32_t kind = 0;
  if (second == code_of(Op::kPushConstant)) {
    kind = joined_kind(program[address + 4], StepKind::kVarAddConst, StepKind::kVarGreaterEqualConst);
    step.constant = state.constants[program[address + 3]];
  } else if (second == code_of(Op::kPush)) {
    kind = joined_kind(program[address + 4], StepKind::kVarAddVar, StepKind::kCount);
    step.second = state.symbol_values[program[address + 3]];
  }
  if (kind == 0) return PreparedStep{step.kind, 2, 0.0, step.value, nullptr};
  step.kind = kind;
  step.words = 5;
  return step;
}

PreparedStep prepare_step(const MachineState& state, uint32_t address, uint32_t end) {
  PreparedStep step = join_step(state, address, end);
  // ":" does nothing: the step before it passes over it.
  while (step.kind != code_of(Op::kEnd) && address + step.words < end &&
         state.program[address + step.words] == code_of(Op::kColon)) {
    ++step.words;
  }
  return step;
}

}  // namespace

void prepare_programs(MachineState& state) {
  const uint32_t end = state.program_length < kProgramSize ? state.program_length : kProgramSize;
  for (const Instruction& instruction : ProgramWalk(state, 0, end)) {
    state.steps[instruction.address] = prepare_step(state, instruction.address, end);
    if (instruction.words == 2) state.steps[instruction.address + 1] = kNeverRun;
  }
  state.prepared = true;
}

void run_prepared(MachineState& state, uint32_t start) {
  // One row per step kind: its code's label and the kind it runs, in kind
  // order; the rows are checked against the operator table and StepKind.
#define ZELVO_STEP_ROWS(ROW)                                                                                    \
  ROW(add, Op::kAdd) ROW(sub, Op::kSub) ROW(mul, Op::kMul) ROW(div, Op::kDiv) ROW(logical_and, Op::kAnd)         \
  ROW(logical_or, Op::kOr) ROW(greater_equal, Op::kGreaterEqual) ROW(less_equal, Op::kLessEqual)               \
  ROW(greater, Op::kGreater) ROW(less, Op::kLess) ROW(equal, Op::kEqual) ROW(not_equal, Op::kNotEqual)          \
  ROW(colon, Op::kColon) ROW(push_constant, Op::kPushConstant) ROW(push, Op::kPush)                            \
  ROW(pop_target, Op::kPopTarget) ROW(pop, Op::kPop) ROW(cond, Op::kCond) ROW(end, Op::kEnd)                   \
  ROW(integer, Op::kInt) ROW(fraction, Op::kFrac) ROW(absolute, Op::kAbs) ROW(exponential, Op::kExp)           \
  ROW(logarithm, Op::kLog) ROW(power, Op::kPow) ROW(square_root, Op::kSqrt) ROW(sine, Op::kSin)                \
  ROW(cosine, Op::kCos) ROW(random, Op::kNrand) ROW(interpolate, Op::kItp) ROW(list_select, Op::kLi)          \
  ROW(list_value, Op::kLv) ROW(list_range, Op::kLr)                                                            \
  ROW(add_const, StepKind::kAddConst) ROW(sub_const, StepKind::kSubConst) ROW(mul_const, StepKind::kMulConst)  \
  ROW(div_const, StepKind::kDivConst) ROW(add_var, StepKind::kAddVar) ROW(sub_var, StepKind::kSubVar)          \
  ROW(mul_var, StepKind::kMulVar) ROW(div_var, StepKind::kDivVar) ROW(var_add_const, StepKind::kVarAddConst)   \
  ROW(var_sub_const, StepKind::kVarSubConst) ROW(var_mul_const, StepKind::kVarMulConst)                        \
  ROW(var_div_const, StepKind::kVarDivConst) ROW(var_add_var, StepKind::kVarAddVar)                            \
  ROW(var_sub_var, StepKind::kVarSubVar) ROW(var_mul_var, StepKind::kVarMulVar)                                \
  ROW(var_div_var, StepKind::kVarDivVar) ROW(greater_equal_const, StepKind::kGreaterEqualConst)                \
  ROW(less_equal_const, StepKind::kLessEqualConst) ROW(greater_const, StepKind::kGreaterConst)                 \
  ROW(less_const, StepKind::kLessConst) ROW(equal_const, StepKind::kEqualConst)                                \
  ROW(not_equal_const, StepKind::kNotEqualConst) ROW(var_greater_equal_const, StepKind::kVarGreaterEqualConst) \
  ROW(var_less_equal_const, StepKind::kVarLessEqualConst) ROW(var_greater_const, StepKind::kVarGreaterConst)   \
  ROW(var_less_const, StepKind::kVarLessConst) ROW(var_equal_const, StepKind::kVarEqualConst)                  \
  ROW(var_not_equal_const, StepKind::kVarNotEqualConst) ROW(store_end, StepKind::kStoreEnd)
#define ZELVO_STEP_LABEL(label, kind) &&label,
#define ZELVO_STEP_KIND(label, kind) static_cast<uint32_t>(kind),
  static const void* const kCode[] = {ZELVO_STEP_ROWS(ZELVO_STEP_LABEL)};
  static constexpr uint32_t kCodeKinds[] = {ZELVO_STEP_ROWS(ZELVO_STEP_KIND)};
#undef ZELVO_STEP_KIND
#undef ZELVO_STEP_LABEL
#undef ZELVO_STEP_ROWS
  static_assert(sizeof kCode / sizeof kCode[0] == static_cast<size_t>(StepKind::kCount));
  static_assert(rows_are_kinds(kCodeKinds), "row i of the label table must run step kind i");
  static_assert(static_cast<uint32_t>(StepKind::kAddConst) == kOperatorCount);

  const PreparedStep* step = state.steps + start;
  // As in the plain loop: the top in a register, the values under it in a
  // private array whose first slot only takes the empty stack's top.
  double below[kStackSize + 1];
  double* sp = below;
  double top = 0.0;

#define ZELVO_NEXT        \
  step += step->words;    \
  goto* kCode[step->kind]

  goto* kCode[step->kind];
add: top = *--sp + top; ZELVO_NEXT;
sub: top = *--sp - top; ZELVO_NEXT;
mul: top = *--sp * top; ZELVO_NEXT;
div: top = *--sp / top; ZELVO_NEXT;
logical_and: top = (*--sp != 0.0 && top != 0.0) ? 1.0 : 0.0; ZELVO_NEXT;
logical_or: top = (*--sp != 0.0 || top != 0.0) ? 1.0 : 0.0; ZELVO_NEXT;
greater_equal: top = *--sp >= top ? 1.0 : 0.0; ZELVO_NEXT;
less_equal: top = *--sp <= top ? 1.0 : 0.0; ZELVO_NEXT;
greater: top = *--sp > top ? 1.0 : 0.0; ZELVO_NEXT;
less: top = *--sp < top ? 1.0 : 0.0; ZELVO_NEXT;
equal: top = *--sp == top ? 1.0 : 0.0; ZELVO_NEXT;
not_equal: top = *--sp != top ? 1.0 : 0.0; ZELVO_NEXT;
colon: ZELVO_NEXT;
push_constant: *sp++ = top; top = step->constant; ZELVO_NEXT;
push: *sp++ = top; top = *step->value; ZELVO_NEXT;
pop_target:
pop: *step->value = top; top = *--sp; ZELVO_NEXT;
store_end:
  *step->value = top;
  top = *--sp;
  step += step->words;
  goto end;
cond: {
  // a b x: the then-value a stays unless the condition x is 0.
  const double otherwise = *--sp;
  const double then = *--sp;
  top = top == 0.0 ? otherwise : then;
  ZELVO_NEXT;
}
end: {
  const auto depth = static_cast<int32_t>(sp - below);
  if (depth > 0) {
    std::memcpy(state.stack, below + 1, (depth - 1) * sizeof(double));
    state.stack[depth - 1] = top;
  }
  state.stack_pointer = depth;
  state.program_counter = static_cast<uint32_t>(step - state.steps) + 1;
  return;
}
integer: top = whole_part(top); ZELVO_NEXT;
fraction: top = fraction_part(top); ZELVO_NEXT;
absolute: top = std::fabs(top); ZELVO_NEXT;
exponential: top = std::exp(top); ZELVO_NEXT;
logarithm: top = std::log10(top); ZELVO_NEXT;
power: top = std::pow(*--sp, top); ZELVO_NEXT;
square_root: top = std::sqrt(top); ZELVO_NEXT;
sine: top = std::sin(top); ZELVO_NEXT;
cosine: top = std::cos(top); ZELVO_NEXT;
random: top = nrand(state, top); ZELVO_NEXT;
interpolate:
  sp -= 4;
  top = itp(sp[0], sp[1], sp[2], sp[3], top);
  ZELVO_NEXT;
list_select: top = li(state, *--sp, top); ZELVO_NEXT;
list_value: top = lv(state, *--sp, top); ZELVO_NEXT;
list_range:
  sp -= 2;
  top = lr(state, sp[0], sp[1], top);
  ZELVO_NEXT;
add_const: top = top + step->constant; ZELVO_NEXT;
sub_const: top = top - step->constant; ZELVO_NEXT;
mul_const: top = top * step->constant; ZELVO_NEXT;
div_const: top = top / step->constant; ZELVO_NEXT;
add_var: top = top + *step->value; ZELVO_NEXT;
sub_var: top = top - *step->value; ZELVO_NEXT;
mul_var: top = top * *step->value; ZELVO_NEXT;
div_var: top = top / *step->value; ZELVO_NEXT;
var_add_const: *sp++ = top; top = *step->value + step->constant; ZELVO_NEXT;
var_sub_const: *sp++ = top; top = *step->value - step->constant; ZELVO_NEXT;
var_mul_const: *sp++ = top; top = *step->value * step->constant; ZELVO_NEXT;
var_div_const: *sp++ = top; top = *step->value / step->constant; ZELVO_NEXT;
var_add_var: *sp++ = top; top = *step->value + *step->second; ZELVO_NEXT;
var_sub_var: *sp++ = top; top = *step->value - *step->second; ZELVO_NEXT;
var_mul_var: *sp++ = top; top = *step->value * *step->second; ZELVO_NEXT;
var_div_var: *sp++ = top; top = *step->value / *step->second; ZELVO_NEXT;
greater_equal_const: top = top >= step->constant ? 1.0 : 0.0; ZELVO_NEXT;
less_equal_const: top = top <= step->constant ? 1.0 : 0.0; ZELVO_NEXT;
greater_const: top = top > step->constant ? 1.0 : 0.0; ZELVO_NEXT;
less_const: top = top < step->constant ? 1.0 : 0.0; ZELVO_NEXT;
equal_const: top = top == step->constant ? 1.0 : 0.0; ZELVO_NEXT;
not_equal_const: top = top != step->constant ? 1.0 : 0.0; ZELVO_NEXT;
var_greater_equal_const: *sp++ = top; top = *step->value >= step->constant ? 1.0 : 0.0; ZELVO_NEXT;
var_less_equal_const: *sp++ = top; top = *step->value <= step->constant ? 1.0 : 0.0; ZELVO_NEXT;
var_greater_const: *sp++ = top; top = *step->value > step->constant ? 1.0 : 0.0; ZELVO_NEXT;
var_less_const: *sp++ = top; top = *step->value < step->constant ? 1.0 : 0.0; ZELVO_NEXT;
var_equal_const: *sp++ = top; top = *step->value == step->constant ? 1.0 : 0.0; ZELVO_NEXT;
var_not_equal_const: *sp++ = top; top = *step->value != step->constant ? 1.0 : 0.0; ZELVO_NEXT;
#undef ZELVO_NEXT
}

}  // namespace zelvo::machine
