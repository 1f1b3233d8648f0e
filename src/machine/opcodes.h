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

struct OperatorInfo {
  char name[16];
  int32_t arity;  // arguments when written as a function; -k would mean at least k
  Op op;
};

constexpr uint32_t kOperatorCount = 33;
constexpr uint32_t kBinaryOperatorCount = 12;  // rows 0 to 11 are infix
constexpr uint32_t kNoOperator = 65535;

inline constexpr std::array<OperatorInfo, kOperatorCount> kOperators = {{
    {"+", 2, Op::kAdd},               // x y -> x+y
    {"-", 2, Op::kSub},               // x y -> x-y
    {"*", 2, Op::kMul},               // x y -> x*y
    {"/", 2, Op::kDiv},               // x y -> x/y (IEEE: infinity or NaN)
    {"&&", 2, Op::kAnd},              // x y -> x!=0 and y!=0
    {"||", 2, Op::kOr},               // x y -> x!=0 or y!=0
    {">=", 2, Op::kGreaterEqual},     // x y -> x>=y
    {"<=", 2, Op::kLessEqual},        // x y -> x<=y
    {">", 2, Op::kGreater},           // x y -> x>y
    {"<", 2, Op::kLess},              // x y -> x<y
    {"==", 2, Op::kEqual},            // x y -> x==y
    {"!=", 2, Op::kNotEqual},         // x y -> x!=y
    {":", 0, Op::kColon},             // -> (no operation)
    {"pushc", 0, Op::kPushConstant},  // [k] -> constant[k]
    {"push", 0, Op::kPush},           // [s] -> *symbol_values[s]
    {"popt", 0, Op::kPopTarget},    // [t] x -> (*targets[t] = x)
    {"pop", 0, Op::kPop},           // [s] x -> (*symbol_values[s] = x)
    {"cond", 3, Op::kCond},           // a b x -> x!=0 ? a : b
    {"fcode", 0, Op::kEnd},           // -> (the program ends)
    {"int", 1, Op::kInt},             // x -> integer part, toward zero
    {"frac", 1, Op::kFrac},           // x -> x minus its integer part
    {"abs", 1, Op::kAbs},             // x -> |x|
    {"exp", 1, Op::kExp},             // x -> e^x
    {"log", 1, Op::kLog},             // x -> log10(x)
    {"pow", 2, Op::kPow},             // x y -> x^y
    {"sqrt", 1, Op::kSqrt},           // x -> square root
    {"sin", 1, Op::kSin},             // x -> sine (radians)
    {"cos", 1, Op::kCos},             // x -> cosine (radians)
    {"nrand", 1, Op::kNrand},         // x -> random whole number 0..x
    {"itp", 5, Op::kItp},             // x0 y0 x1 y1 x -> line through both points at x
    {"li", 2, Op::kLi},               // x y -> 0 (selector = x, switch = y)
    {"lv", 2, Op::kLv},               // k v -> v when selector == k, else 0
    {"lr", 3, Op::kLr},               // lo hi v -> v when lo <= selector <= hi, else 0
}};

constexpr bool rows_match_codes() {
  for (uint32_t i = 0; i < kOperatorCount; ++i) {
    if (static_cast<uint32_t>(kOperators[i].op) != i) return false;
  }
  return true;
}
static_assert(rows_match_codes(), "row i of the operator table must be instruction i");

constexpr uint32_t code_of(Op op) { return static_cast<uint32_t>(op); }

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

// The first row whose name is a prefix of `text` (case counts);
// kNoOperator when none is.
uint32_t find_operator(const char* text);

}  // namespace zelvo::machine
