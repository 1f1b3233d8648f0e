// Malformed documents end in a message and an abort, never in a crash or a
// write beyond a table: random line soups from a pool of table lines are
// compiled, and every compiled program is run once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "machine/opcodes.h"

#include "tables/table_test_support.h"

namespace zelvo::tables {
namespace {

// Walks the program from `start` to its fcode: it must end inside the
// compiled code and keep the stack between empty and full.
void expect_well_formed(const machine::MachineState& m, uint32_t start, const std::string& document) {
  int32_t depth = 0;
  for (uint32_t pc = start;; ++pc) {
    ASSERT_LT(pc, m.program_length) << "program at " << start << " never ends\n" << document;
    const uint32_t word = m.program[pc];
    ASSERT_LT(word, machine::kOperatorCount);
    const machine::Op op = machine::kOperators[word].op;
    if (op == machine::Op::kEnd) return;
    const machine::StackEffect effect = machine::stack_effect(op);
    depth -= effect.takes;
    ASSERT_GE(depth, 0) << "underflow at " << pc << "\n" << document;
    depth += effect.leaves;
    ASSERT_LE(depth, machine::kStackSize);
    if (machine::has_operand(op)) ++pc;
  }
}

TEST(DocumentRobustnessTest, RandomLineSoupsCompileOrAbort) {
  static const char* const kLines[] = {
      "<table border=1>", "</table>", "<tr>", "</tr>", "<tr valign=top>", "<td>TCAL</td>", "<td>TGENC</td>",
      "<td>TGENS</td>", "<td>TSAL</td>", "<td>TCONF</td>", "<td>Notes</td>", "<td>x</td>", "<td>y</td>",
      "<td>1</td>", "<td>2.5</td>", "<td>x*3+y</td>", "<td>(x&gt;1?2:3)</td>", "<td></td>", "<td>",
      "</td>", "<td>a;b</td>", "<td>pow(x,2)</td>", "", "<p>5</p>", "<td>Mel</td>", "<td>Melk+1</td>",
      "<td>1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1</td>",
      "<td>v1</td>", "<td>&nbsp;</td>", "<TD>C4n</TD>", "<td>itp(0,0,1,1,Melk)</td>"};
  constexpr uint32_t kLineCount = sizeof kLines / sizeof kLines[0];
  uint32_t random = 777;
  auto next = [&random]() {
    random = random * 1103515245u + 12345u;
    return (random >> 16) & 0x7fff;
  };
  testing::ScratchFolder folder;
  int finished = 0;
  for (int trial = 0; trial < 400; ++trial) {
    std::string document = "<html>\n";
    const uint32_t lines = 5 + next() % 300;
    for (uint32_t i = 0; i < lines; ++i) document += std::string(kLines[next() % kLineCount]) + "\n";
    if (next() % 8 != 0) document += "</html>\n";
    folder.write("incom.htm", document);
    testing::CompileRun run;
    testing::compile_in_folder(run, folder.path());
    if (run.aborted) continue;
    ++finished;
    const Composition& c = *run.composition;
    std::vector<uint32_t> starts;
    for (int32_t i = 0; i < c.symbol_count; ++i) {
      if (c.symbols[i].code_start != kNoCode) starts.push_back(c.symbols[i].code_start);
    }
    for (int32_t g = 1; g < kGeneratorRecords; ++g) starts.push_back(slot_word(c.generators[g].slot[kSlotCode]));
    for (const OutputRecord& out : c.outputs) starts.push_back(slot_word(out.slot[kOutCode]));
    for (uint32_t start : starts) {
      expect_well_formed(*run.machine, start, document);
      if (::testing::Test::HasFatalFailure()) return;
      machine::run_program(*run.machine, start);
    }
  }
  EXPECT_GT(finished, 0);
}

}  // namespace
}  // namespace zelvo::tables
