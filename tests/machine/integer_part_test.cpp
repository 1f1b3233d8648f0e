// int and frac give what std::modf gives, bit for bit: signed zeros,
// infinities, NaN, values past 2^52 and the smallest ones included.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <cstdlib>
#include <memory>

#include "machine/machine_state.h"
#include "machine/opcodes.h"
#include "support/files.h"

namespace zelvo::machine {
namespace {

// Runs "pushc 0, op, popt 0, fcode" on `value`.
double run_one(MachineState& m, Op op, double value) {
  const uint32_t code[] = {code_of(Op::kEnd), code_of(Op::kPushConstant), 0, code_of(op),
                           code_of(Op::kPopTarget), 0, code_of(Op::kEnd)};
  std::memcpy(m.program, code, sizeof code);
  double result = 0;
  m.constants[0] = value;
  m.targets[0] = &result;
  run_program(m, 1);
  return result;
}

TEST(IntegerPartTest, IntAndFracAreModfBitForBit) {
  auto m = std::make_unique<MachineState>();
  for (const std::string& row : test::table_rows("machine/modf_values.txt", 20)) {
    const double value = std::strtod(row.c_str(), nullptr);
    double whole;
    const double fraction = std::modf(value, &whole);
    const double got_whole = run_one(*m, Op::kInt, value);
    const double got_fraction = run_one(*m, Op::kFrac, value);
    EXPECT_EQ(std::memcmp(&got_whole, &whole, sizeof whole), 0) << "int(" << value << ") = " << got_whole;
    EXPECT_EQ(std::memcmp(&got_fraction, &fraction, sizeof fraction), 0) << "frac(" << value << ") = " << got_fraction;
  }
}

}  // namespace
}  // namespace zelvo::machine
