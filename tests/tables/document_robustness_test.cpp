// Malformed documents end in a message and an abort, never in a crash or a
// write beyond a table: random line soups from a pool of table lines are
// compiled, and every compiled program is run once.
#include <gtest/gtest.h>

#include <string>

#include "tables/table_test_support.h"

namespace zelvo::tables {
namespace {

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
    for (int32_t i = 0; i < c.symbol_count; ++i) {
      if (c.symbols[i].code_start != kNoCode) machine::run_program(*run.machine, c.symbols[i].code_start);
    }
    for (int32_t g = 1; g < kGeneratorRecords; ++g) {
      machine::run_program(*run.machine, slot_word(c.generators[g].slot[kSlotCode]));
    }
    for (const OutputRecord& out : c.outputs) machine::run_program(*run.machine, slot_word(out.slot[kOutCode]));
  }
  EXPECT_GT(finished, 0);
}

}  // namespace
}  // namespace zelvo::tables
