#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>

#include "machine/disassemble.h"
#include "machine/machine_state.h"
#include "machine/opcodes.h"

namespace zelvo::machine {
namespace {

// Writes programs by hand into a fresh machine, address 0 holding fcode.
class Assembler {
 public:
  Assembler() : state_(std::make_unique<MachineState>()) { op(Op::kEnd); }

  MachineState& state() { return *state_; }
  uint32_t here() const { return state_->program_length; }

  Assembler& op(Op code) {
    state_->program[state_->program_length++] = code_of(code);
    return *this;
  }
  Assembler& constant(double value) {
    state_->constants[state_->constant_count] = value;
    op(Op::kPushConstant);
    state_->program[state_->program_length++] = static_cast<uint32_t>(state_->constant_count++);
    return *this;
  }
  Assembler& store_to(double* slot) {
    state_->targets[state_->target_count] = slot;
    op(Op::kPopTarget);
    state_->program[state_->program_length++] = static_cast<uint32_t>(state_->target_count++);
    return *this;
  }

  // Runs `values` pushed in order, then `code`, and returns the one result.
  double evaluate(std::initializer_list<double> values, Op code) {
    const uint32_t start = here();
    for (double value : values) constant(value);
    op(code);
    double result = -12345.0;
    store_to(&result).op(Op::kEnd);
    run_program(*state_, start);
    return result;
  }

 private:
  std::unique_ptr<MachineState> state_;
};

TEST(OperatorTableTest, NamesAndAritiesInInstructionOrder) {
  const char* names[] = {"+",    "-",    "*",     "/",    "&&",  "||",  ">=",   "<=",  ">",
                         "<",    "==",   "!=",    ":",    "pushc", "push", "popt", "pop", "cond",
                         "fcode", "int", "frac",  "abs",  "exp", "log", "pow",  "sqrt", "sin",
                         "cos",  "nrand", "itp",  "li",   "lv",  "lr"};
  const int32_t arities[] = {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 0, 0, 0, 0, 0,
                             3, 0, 1, 1, 1, 1, 1, 2, 1, 1, 1, 1, 5, 2, 2, 3};
  ASSERT_EQ(kOperatorCount, 33u);
  for (uint32_t i = 0; i < kOperatorCount; ++i) {
    EXPECT_STREQ(kOperators[i].name, names[i]) << i;
    EXPECT_EQ(kOperators[i].arity, arities[i]) << i;
  }
}

TEST(OperatorTableTest, LookupTakesTheFirstPrefixInTableOrder) {
  EXPECT_EQ(find_operator(">=3"), code_of(Op::kGreaterEqual));
  EXPECT_EQ(find_operator(">3"), code_of(Op::kGreater));
  EXPECT_EQ(find_operator("<=b"), code_of(Op::kLessEqual));
  EXPECT_EQ(find_operator("pushc(1)"), code_of(Op::kPushConstant));
  EXPECT_EQ(find_operator("push(1)"), code_of(Op::kPush));
  EXPECT_EQ(find_operator("popt"), code_of(Op::kPopTarget));
  EXPECT_EQ(find_operator("pop"), code_of(Op::kPop));
  EXPECT_EQ(find_operator("-x"), code_of(Op::kSub));
  EXPECT_EQ(find_operator("lr(1,2,3)"), code_of(Op::kLr));
  EXPECT_EQ(find_operator("foo(1)"), kNoOperator);
  EXPECT_EQ(find_operator("Int(1)"), kNoOperator);  // names are compared with case
  EXPECT_EQ(find_operator("="), kNoOperator);
  EXPECT_EQ(find_operator(""), kNoOperator);
}

TEST(RunProgramTest, AddressZeroStopsAtOnceAndChangesNothing) {
  Assembler code;
  double slot = 7.0;
  code.constant(1.0).store_to(&slot).op(Op::kEnd);
  run_program(code.state(), 0);
  EXPECT_EQ(slot, 7.0);
  EXPECT_EQ(code.state().program_counter, 1u);
}

TEST(RunProgramTest, ArithmeticTakesTheLowerValueAsLeftOperand) {
  Assembler code;
  EXPECT_EQ(code.evaluate({10, 4}, Op::kSub), 6.0);
  EXPECT_EQ(code.evaluate({8, 2}, Op::kDiv), 4.0);
  EXPECT_EQ(code.evaluate({2, 10}, Op::kPow), 1024.0);
  EXPECT_EQ(code.evaluate({3, 4}, Op::kMul), 12.0);
  EXPECT_EQ(code.evaluate({3, 4}, Op::kAdd), 7.0);
}

TEST(RunProgramTest, DivisionByZeroFollowsIeee) {
  Assembler code;
  EXPECT_EQ(code.evaluate({7, 0}, Op::kDiv), INFINITY);
  EXPECT_TRUE(std::isnan(code.evaluate({0, 0}, Op::kDiv)));
}

TEST(RunProgramTest, LogicAndComparisonsGiveOneOrZero) {
  Assembler code;
  EXPECT_EQ(code.evaluate({1, 0}, Op::kAnd), 0.0);
  EXPECT_EQ(code.evaluate({2, -3}, Op::kAnd), 1.0);
  EXPECT_EQ(code.evaluate({2, 0}, Op::kOr), 1.0);
  EXPECT_EQ(code.evaluate({0, 0}, Op::kOr), 0.0);
  EXPECT_EQ(code.evaluate({3, 3}, Op::kEqual), 1.0);
  EXPECT_EQ(code.evaluate({3, 3}, Op::kNotEqual), 0.0);
  EXPECT_EQ(code.evaluate({3, 3}, Op::kGreaterEqual), 1.0);
  EXPECT_EQ(code.evaluate({3, 3}, Op::kGreater), 0.0);
  EXPECT_EQ(code.evaluate({2, 3}, Op::kLess), 1.0);
  EXPECT_EQ(code.evaluate({4, 3}, Op::kLessEqual), 0.0);
}

TEST(RunProgramTest, NanComparesLikeIeeeAndCountsAsTrue) {
  Assembler code;
  const double nan = std::nan("");
  EXPECT_EQ(code.evaluate({nan, nan}, Op::kEqual), 0.0);
  EXPECT_EQ(code.evaluate({nan, 1}, Op::kNotEqual), 1.0);
  EXPECT_EQ(code.evaluate({nan, 1}, Op::kGreaterEqual), 0.0);
  EXPECT_EQ(code.evaluate({1, nan}, Op::kLessEqual), 0.0);
  EXPECT_EQ(code.evaluate({nan, 1}, Op::kAnd), 1.0);
  EXPECT_EQ(code.evaluate({1, 2, nan}, Op::kCond), 1.0);
}

TEST(RunProgramTest, CondKeepsTheThenValueUnlessTheConditionIsZero) {
  Assembler code;
  EXPECT_EQ(code.evaluate({1, 2, 0}, Op::kCond), 2.0);
  EXPECT_EQ(code.evaluate({1, 2, 0.5}, Op::kCond), 1.0);
  EXPECT_EQ(code.evaluate({1, 2, -1}, Op::kCond), 1.0);
}

TEST(RunProgramTest, UnaryFunctions) {
  Assembler code;
  EXPECT_EQ(code.evaluate({-3.7}, Op::kInt), -3.0);
  EXPECT_EQ(code.evaluate({3.7}, Op::kInt), 3.0);
  EXPECT_NEAR(code.evaluate({-3.7}, Op::kFrac), -0.7, 1e-12);
  EXPECT_EQ(code.evaluate({1000}, Op::kLog), 3.0);
  EXPECT_EQ(code.evaluate({-2.5}, Op::kAbs), 2.5);
  EXPECT_EQ(code.evaluate({0}, Op::kExp), 1.0);
  EXPECT_EQ(code.evaluate({16}, Op::kSqrt), 4.0);
  EXPECT_TRUE(std::isnan(code.evaluate({-1}, Op::kSqrt)));
  EXPECT_EQ(code.evaluate({0}, Op::kSin), 0.0);
  EXPECT_EQ(code.evaluate({0}, Op::kCos), 1.0);
}

TEST(RunProgramTest, PushAndPopGoThroughTheSymbolValuePointers) {
  Assembler code;
  MachineState& m = code.state();
  double x = 5.0;
  double slot = 0.0;
  m.symbol_values[0] = &x;
  m.symbol_values[1] = &slot;
  const uint32_t start = code.here();
  code.op(Op::kPush);
  m.program[m.program_length++] = 0;
  code.constant(2).op(Op::kMul).op(Op::kPop);
  m.program[m.program_length++] = 1;
  code.op(Op::kColon).op(Op::kEnd);
  run_program(m, start);
  EXPECT_EQ(slot, 10.0);
  x = 6.0;
  run_program(m, start);
  EXPECT_EQ(slot, 12.0);
  EXPECT_EQ(m.stack_pointer, 0);
  EXPECT_EQ(m.program_counter, code.here());
}

TEST(RunProgramTest, EachRunStartsWithAnEmptyStack) {
  Assembler code;
  MachineState& m = code.state();
  double result = 0.0;
  // Leaves an extra value behind: the next run must not see it.
  const uint32_t start = code.here();
  code.constant(1).constant(2).store_to(&result).op(Op::kEnd);
  run_program(m, start);
  EXPECT_EQ(m.stack_pointer, 1);
  run_program(m, start);
  EXPECT_EQ(m.stack_pointer, 1);
  EXPECT_EQ(result, 2.0);
}

TEST(DisassembleTest, ListsOperandsAndConstants) {
  Assembler code;
  double slot = 0;
  code.constant(2.5).constant(3).op(Op::kMul).store_to(&slot).op(Op::kEnd);
  const auto lines = disassemble(code.state(), 0, code.here());
  const std::vector<std::string> expected = {"0 fcode", "1 pushc 0 (2.5)", "3 pushc 1 (3)", "5 *",
                                             "6 popt 0", "8 fcode"};
  EXPECT_EQ(lines, expected);
}

}  // namespace
}  // namespace zelvo::machine
