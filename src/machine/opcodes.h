#pragma once

// The operator table: one row per instruction, the row's index being the
// instruction code. The expression compiler finds names by prefix in table
// order, so a longer name must come before its own prefix (">=" before ">",
// "pushc" before "push", "popt" before "pop"). Values named in the stack
// effects are taken from the stack, the last one named being the old top.
#include <array>
#include <cstdint>

namespace zelvo::machine {

enum class Op : uint32_t {
  kAdd, kSub, kMul, kDiv, kAnd, kOr, kGreaterEqual, kLessEqual, kGreater, kLess,
  kEqual, kNotEqual, kColon, kPushConstant, kPush, kPopTarget, kPop, kCond, kEnd,
  kInt, kFrac, kAbs, kExp, kLog, kPow, kSqrt, kSin, kCos, kNrand, kItp, kLi, kLv, kLr,
};

// What an instruction does besides taking from the stack and leaving its
// result there. A program of pure reads and one store runs again to the same
// effect from the same inputs, so a caller may skip it (program_inputs.h).
enum class Effect : uint8_t {
  kPure,    // a function of the values it takes (push reads a symbol, an input)
  kDraws,   // draws from the random sequence
  kLists,   // reads or sets the list registers (selector, switch)
  kStores,  // stores the value it takes
  kEnds,    // ends the program
};

struct OperatorInfo {
  char name[16];
  int32_t arity;  // arguments when written as a function; -k would mean at least k
  Op op;
  Effect effect;
};

constexpr uint32_t kOperatorCount = 33;
constexpr uint32_t kBinaryOperatorCount = 12;  // rows 0 to 11 are infix
constexpr uint32_t kNoOperator = 65535;

inline constexpr std::array<OperatorInfo, kOperatorCount> kOperators = {{
    {"+", 2, Op::kAdd, Effect::kPure},                 // x y -> x+y
    {"-", 2, Op::kSub, Effect::kPure},                 // x y -> x-y
    {"*", 2, Op::kMul, Effect::kPure},                 // x y -> x*y
    {"/", 2, Op::kDiv, Effect::kPure},                 // x y -> x/y (IEEE: infinity or NaN)
    {"&&", 2, Op::kAnd, Effect::kPure},                // x y -> x!=0 and y!=0
    {"||", 2, Op::kOr, Effect::kPure},                 // x y -> x!=0 or y!=0
    {">=", 2, Op::kGreaterEqual, Effect::kPure},       // x y -> x>=y
    {"<=", 2, Op::kLessEqual, Effect::kPure},          // x y -> x<=y
    {">", 2, Op::kGreater, Effect::kPure},             // x y -> x>y
    {"<", 2, Op::kLess, Effect::kPure},                // x y -> x<y
    {"==", 2, Op::kEqual, Effect::kPure},              // x y -> x==y
    {"!=", 2, Op::kNotEqual, Effect::kPure},           // x y -> x!=y
    {":", 0, Op::kColon, Effect::kPure},               // -> (no operation)
    {"pushc", 0, Op::kPushConstant, Effect::kPure},    // [k] -> constant[k]
    {"push", 0, Op::kPush, Effect::kPure},             // [s] -> *symbol_values[s]
    {"popt", 0, Op::kPopTarget, Effect::kStores},      // [t] x -> (*targets[t] = x)
    {"pop", 0, Op::kPop, Effect::kStores},             // [s] x -> (*symbol_values[s] = x)
    {"cond", 3, Op::kCond, Effect::kPure},             // a b x -> x!=0 ? a : b
    {"fcode", 0, Op::kEnd, Effect::kEnds},             // -> (the program ends)
    {"int", 1, Op::kInt, Effect::kPure},               // x -> integer part, toward zero
    {"frac", 1, Op::kFrac, Effect::kPure},             // x -> x minus its integer part
    {"abs", 1, Op::kAbs, Effect::kPure},               // x -> |x|
    {"exp", 1, Op::kExp, Effect::kPure},               // x -> e^x
    {"log", 1, Op::kLog, Effect::kPure},               // x -> log10(x)
    {"pow", 2, Op::kPow, Effect::kPure},               // x y -> x^y
    {"sqrt", 1, Op::kSqrt, Effect::kPure},             // x -> square root
    {"sin", 1, Op::kSin, Effect::kPure},               // x -> sine (radians)
    {"cos", 1, Op::kCos, Effect::kPure},               // x -> cosine (radians)
    {"nrand", 1, Op::kNrand, Effect::kDraws},          // x -> random whole number 0..x
    {"itp", 5, Op::kItp, Effect::kPure},               // x0 y0 x1 y1 x -> line through both points at x
    {"li", 2, Op::kLi, Effect::kLists},                // x y -> 0 (selector = x, switch = y)
    {"lv", 2, Op::kLv, Effect::kLists},                // k v -> v when selector == k, else 0
    {"lr", 3, Op::kLr, Effect::kLists},                // lo hi v -> v when lo <= selector <= hi, else 0
}};

constexpr bool rows_match_codes() {
  for (uint32_t i = 0; i < kOperatorCount; ++i) {
    if (static_cast<uint32_t>(kOperators[i].op) != i) return false;
  }
  return true;
}
static_assert(rows_match_codes(), "row i of the operator table must be instruction i");

constexpr uint32_t code_of(Op op) { return static_cast<uint32_t>(op); }
constexpr Effect effect_of(Op op) { return kOperators[code_of(op)].effect; }

// True for the instructions followed by an operand word.
constexpr bool has_operand(Op op) {
  return op == Op::kPushConstant || op == Op::kPush || op == Op::kPopTarget || op == Op::kPop;
}

// Values an instruction takes from the stack and leaves on it.
struct StackEffect {
  int32_t takes;
  int32_t leaves;
};
constexpr StackEffect stack_effect(Op op) {
  switch (op) {
    case Op::kPushConstant:
    case Op::kPush:
      return {0, 1};
    case Op::kPopTarget:
    case Op::kPop:
      return {1, 0};
    case Op::kColon:
    case Op::kEnd:
      return {0, 0};
    default:
      return {kOperators[code_of(op)].arity, 1};
  }
}

// A store takes its value and an operand naming where it goes; only fcode
// ends a program (the run loop and inspect_program rely on both).
constexpr bool effects_match_shapes() {
  for (const OperatorInfo& row : kOperators) {
    const StackEffect shape = stack_effect(row.op);
    if ((row.effect == Effect::kStores) != (has_operand(row.op) && shape.takes == 1 && shape.leaves == 0)) return false;
    if ((row.effect == Effect::kEnds) != (row.op == Op::kEnd)) return false;
  }
  return true;
}
static_assert(effects_match_shapes(), "the effect column must agree with the instructions' shapes");

// The first row whose name is a prefix of `text` (case counts);
// kNoOperator when none is.
uint32_t find_operator(const char* text);

}  // namespace zelvo::machine
