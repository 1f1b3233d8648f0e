#include "tables/table_compiler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "machine/disassemble.h"
#include "tables/table_test_support.h"

namespace zelvo::tables {
namespace {

using testing::aborted_with;
using testing::compile_document;
using testing::CompileRun;
using testing::html_document;
using testing::html_table;
using testing::Rows;

std::string variables(const Rows& rows) {
  Rows all = {{"TCAL", "expression"}};
  all.insert(all.end(), rows.begin(), rows.end());
  return html_table(all);
}

TEST(TableCompilerTest, WorkedExampleProgramStore) {
  const CompileRun run = compile_document(html_document(variables({{"x", "2"}, {"y", "x*3"}})));
  ASSERT_FALSE(run.aborted) << run.output();
  EXPECT_EQ(machine::disassemble_all(*run.machine),
            "0 fcode\n"
            "1 pushc 0 (2)\n"
            "3 pop 0\n"
            "5 fcode\n"
            "6 push 0\n"
            "8 pushc 1 (3)\n"
            "10 *\n"
            "11 pop 1\n"
            "13 fcode\n");
  EXPECT_EQ(run.machine->program_length, 14u);
  EXPECT_EQ(run.composition->symbol_count, 2);
  EXPECT_STREQ(run.symbol(0).name, "x");
  EXPECT_EQ(run.symbol(0).code_start, 1u);
  EXPECT_EQ(run.symbol(1).code_start, 6u);
  EXPECT_EQ(run.symbol(1).kind, 2u);
  EXPECT_EQ(run.symbol(1).row, 2u);
  machine::run_program(*run.machine, run.symbol(0).code_start);
  machine::run_program(*run.machine, run.symbol(1).code_start);
  EXPECT_EQ(run.symbol(1).value, 6.0);
  EXPECT_EQ(run.output(),
            "\nReading variables in tables...\n\n\tProcessing table TCAL\n"
            "\nCompiling tables...\n\n\tProcessing table TCAL\n");
}

TEST(TableCompilerTest, SpanishProgress) {
  const CompileRun run = compile_document(html_document(variables({{"x", "2"}})), console::kSpanish);
  EXPECT_EQ(run.output(),
            "\nLeyendo variables de las tablas...\n\n\tProcesando la tabla TCAL\n"
            "\nCompilando las tablas...\n\n\tProcesando la tabla TCAL\n");
}

TEST(TableCompilerTest, NamesAreFoundInAnyCaseAndDeclaredOnce) {
  const CompileRun found = compile_document(html_document(variables({{"Speed", "3"}, {"twice", "speed*2"}})));
  ASSERT_FALSE(found.aborted) << found.output();
  const CompileRun twice = compile_document(html_document(variables({{"Speed", "3"}, {"SPEED", "1"}})));
  EXPECT_TRUE(twice.aborted);
  EXPECT_NE(twice.output().find(aborted_with("\nError: generator or variable name in table TCAL, row 2, is wrong")),
            std::string::npos);
}

TEST(TableCompilerTest, NameRules) {
  Composition composition;
  EXPECT_TRUE(is_valid_new_name(composition, std::string(29, 'a').c_str()));
  EXPECT_FALSE(is_valid_new_name(composition, std::string(30, 'a').c_str()));
  for (const char* refused : {"C4n", "a2b", "G7#x", "c4Nice", "2voices", "my_var", "my var", ""}) {
    EXPECT_FALSE(is_valid_new_name(composition, refused)) << refused;
  }
  for (const char* accepted : {"C4", "H4n", "a2x", "voice2", "Mel"}) {
    EXPECT_TRUE(is_valid_new_name(composition, accepted)) << accepted;
  }
}

TEST(TableCompilerTest, PlainNumbers) {
  for (const char* number : {"5", "12", "-3", "+4", "1.5", "1.2.3", "0.25"}) EXPECT_TRUE(is_number(number)) << number;
  for (const char* other : {"", "-", "+", ".", "1.", ".5", "1e5", "-.5", "a", "5a", "x*3"}) {
    EXPECT_FALSE(is_number(other)) << other;
  }
}

std::string generators(const char* kind, const Rows& rows) {
  Rows all = {{kind, "p1", "p2", "p3", "p4", "end"}};
  all.insert(all.end(), rows.begin(), rows.end());
  return html_table(all);
}

TEST(TableCompilerTest, GeneratorDeclaresFourSymbolsIntoItsRecord) {
  const CompileRun run = compile_document(html_document(generators(
      "TGENC", {{"defaults", "1", "2", "3", "4", "x"}, {"Mel", "10", "Melk+1", "", "7", "garbage;"}})));
  ASSERT_FALSE(run.aborted) << run.output();
  const Composition& c = *run.composition;
  ASSERT_EQ(c.symbol_count, 4);
  const char* names[] = {"Mel", "Melu", "Meli", "Melk"};
  const int32_t slots[] = {kSlotValue, kSlotLength, kSlotOnset, kSlotClicks};
  for (int32_t i = 0; i < 4; ++i) {
    EXPECT_STREQ(c.symbols[i].name, names[i]);
    EXPECT_EQ(c.symbols[i].kind, 6u);
    EXPECT_EQ(c.symbols[i].row, 2u);
    EXPECT_EQ(run.machine->symbol_values[i], &c.generators[1].slot[slots[i]]);
    EXPECT_EQ(c.symbols[i].code_start, i == 3 ? 0u : kNoCode);
  }
  const GeneratorRecord& record = c.generators[1];
  EXPECT_EQ(slot_word(record.slot[kSlotKind]), 6u);
  EXPECT_EQ(slot_word(record.slot[kSlotCode]), 1u);
  EXPECT_EQ(record.slot[9], 10.0);
  EXPECT_EQ(record.slot[11], 3.0);  // empty: the default of its column
  EXPECT_EQ(record.slot[12], 7.0);
  EXPECT_EQ(c.generators[0].slot[10], 2.0);
  EXPECT_EQ(c.generator_counter, 2);
  EXPECT_EQ(machine::disassemble_all(*run.machine),
            "0 fcode\n1 push 3\n3 pushc 0 (1)\n5 +\n6 popt 0\n8 fcode\n");
  EXPECT_EQ(run.machine->targets[0], &record.slot[10]);
  run.composition->generators[1].slot[kSlotClicks] = 41.0;
  machine::run_program(*run.machine, 1);
  EXPECT_EQ(record.slot[10], 42.0);
}

TEST(TableCompilerTest, DerivedGeneratorNamesCannotBeRedeclared) {
  const CompileRun later = compile_document(html_document(
      generators("TGENC", {{"d", "1", "1", "1", "1", ""}, {"Mel", "1", "1", "1", "1", ""}}) +
      variables({{"Melu", "1"}})));
  EXPECT_TRUE(later.aborted);
  EXPECT_NE(later.output().find("\nError: generator or variable name in table TCAL, row 1, is wrong"),
            std::string::npos);
  const CompileRun earlier = compile_document(html_document(
      variables({{"Meli", "1"}}) +
      generators("TGENS", {{"d", "1", "1", "1", "1", ""}, {"Mel", "1", "1", "1", "1", ""}})));
  EXPECT_TRUE(earlier.aborted);
  EXPECT_NE(earlier.output().find("\nError: generator or variable name in table TGENS, row 2, is wrong"),
            std::string::npos);
}

TEST(TableCompilerTest, EmptyNameRowTakesNoGeneratorNumber) {
  const CompileRun run = compile_document(html_document(generators(
      "TGENS", {{"d", "1", "2", "3", "4", ""}, {"", "5+1", "5", "5", "5", ""}, {"B", "9", "9", "9", "9", ""}})));
  ASSERT_FALSE(run.aborted) << run.output();
  EXPECT_EQ(run.composition->symbol_count, 4);
  EXPECT_EQ(run.symbol(0).row, 3u);
  EXPECT_EQ(slot_word(run.composition->generators[1].slot[kSlotKind]), 7u);
  EXPECT_EQ(run.composition->generators[1].slot[9], 9.0);
  EXPECT_EQ(run.machine->program_length, 1u);  // the skipped row compiled nothing
}

TEST(TableCompilerTest, EmptyDefaultIsAnError) {
  const CompileRun run =
      compile_document(html_document(generators("TGENC", {{"d", "1", "", "3", "4", ""}, {"A", "1", "1", "1", "1", ""}})));
  EXPECT_TRUE(run.aborted);
  EXPECT_EQ(run.output(),
            "\nReading variables in tables...\n\n\tProcessing table TGENC\n"
            "\nCompiling tables...\n\n\tProcessing table TGENC\n" +
                aborted_with("\nError  in table TGENC, row 1, column 2"));
}

TEST(TableCompilerTest, OutputChannelsDefaultsAndSwitch) {
  const Rows rows = {{"TSAL", "inst", "note", "dur", "gate", "vel"},
                     {"", "", "", "", "", ""},
                     {"x", "2", "60", "12", "1", "90"},
                     {"", "3", "C4n+2", "24", "1", ""}};
  const CompileRun run = compile_document(html_document(html_table(rows)));
  ASSERT_FALSE(run.aborted) << run.output();
  const OutputRecord* out = run.composition->outputs;
  EXPECT_EQ(out[0].slot[kOutChannel], 1.0);
  EXPECT_EQ(out[0].slot[kOutNote], -1.0);
  EXPECT_EQ(out[0].slot[kOutDuration], 0.0);
  EXPECT_EQ(out[0].slot[kOutGate], 0.0);
  EXPECT_EQ(out[0].slot[kOutVelocity], 100.0);
  EXPECT_EQ(out[1].slot[kOutChannel], -1.0);
  EXPECT_EQ(out[1].slot[kOutNote], 0.0);  // not read
  EXPECT_EQ(slot_word(out[2].slot[kOutCode]), 1u);
  EXPECT_EQ(machine::disassemble_all(*run.machine),
            "0 fcode\n1 pushc 0 (60)\n3 pushc 1 (2)\n5 +\n6 popt 0\n8 fcode\n");
  machine::run_program(*run.machine, 1);
  EXPECT_EQ(out[2].slot[kOutNote], 62.0);
  EXPECT_EQ(out[2].slot[kOutVelocity], 100.0);
}

TEST(TableCompilerTest, ConfigurationRowOne) {
  const Rows config = {{"TCONF", "bars", "tempo"}, {"values", "8", "120", "3", "4", "0", "1234", "x"}, {"r2", "99"}};
  const CompileRun run = compile_document(html_document(html_table(config)));
  ASSERT_FALSE(run.aborted) << run.output();
  const double expected[kConfigCount] = {0, 8, 120, 3, 4, 0, 1234, 0, 0, 0, 0};
  for (int32_t i = 0; i < kConfigCount; ++i) EXPECT_EQ(run.composition->config[i], expected[i]) << i;
  const CompileRun none = compile_document(html_document(variables({{"x", "1"}})));
  for (double value : none.composition->config) EXPECT_EQ(value, 0.0);
}

struct LimitCase {
  std::string document;
  std::string message;
};

std::string many_generators(int count) {
  Rows rows = {{"TGENC", "p", "end"}, {"d", "1", ""}};
  for (int i = 0; i < count; ++i) rows.push_back({"g" + std::to_string(i), "1", ""});
  return html_table(rows);
}

TEST(TableCompilerTest, CapacitiesAreRefusedWithAMessage) {
  Rows many_variables = {{"TCAL", "e"}};
  for (int i = 0; i < 997; ++i) many_variables.push_back({"v" + std::to_string(i), "1"});
  Rows wide_generators = {{"TGENC", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15",
                           "16", "end"},
                          {"d", "1"}};
  Rows long_outputs = {{"TSAL", "i"}};
  for (int i = 0; i < 51; ++i) long_outputs.push_back({"", "1"});
  const LimitCase cases[] = {
      {html_table(many_variables), "\nError: too many generators or calculated variables"},
      {many_generators(100), "\nError: too many generators in table TGENC, row 101"},
      {html_table(wide_generators), "\nError: too many parameter columns in table TGENC, row 1, column 1"},
      {html_table(long_outputs), "\nError: too many output channels in table TSAL, row 51"},
      {html_table({{"TCONF"}, {"v", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}}),
       "\nError: too many configuration values in table TCONF, row 1, column 11"},
      {variables({{"a", "1"}}) + variables({{"b", "2"}}), "\nError: only one TCAL table is allowed"},
  };
  for (const LimitCase& c : cases) {
    const CompileRun run = compile_document(html_document(c.document));
    EXPECT_TRUE(run.aborted);
    const std::string output = run.output();
    EXPECT_EQ(output.substr(output.size() - std::min(output.size(), aborted_with(c.message).size())),
              aborted_with(c.message));
  }
  EXPECT_FALSE(compile_document(html_document(many_generators(99))).aborted);
  const CompileRun empty_extra =
      compile_document(html_document(html_table({{"TCONF"}, {"v", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", ""}})));
  EXPECT_FALSE(empty_extra.aborted);
}

TEST(TableCompilerTest, UndeclaredVariableNamesTableAndRow) {
  const CompileRun run = compile_document(html_document(variables({{"a", "1"}, {"b", "2"}, {"c", "speed+1"}})));
  EXPECT_TRUE(run.aborted);
  EXPECT_NE(run.output().find(aborted_with("\nError: variable speed not declared, referenced in table TCAL, row 3")),
            std::string::npos);
}

TEST(TableCompilerTest, ExpressionsMayNameLaterDeclarations) {
  const CompileRun run = compile_document(html_document(variables({{"a", "Gk*2"}}) +
                                                        generators("TGENC", {{"d", "1", "1", "1", "1", ""},
                                                                             {"G", "1", "1", "1", "1", ""}})));
  ASSERT_FALSE(run.aborted) << run.output();
  EXPECT_EQ(machine::disassemble(*run.machine, 1, 4)[0], "1 push 4");
}

TEST(TableCompilerTest, HtcIsPreferredAndMissingInputIsAnError) {
  testing::ScratchFolder folder;
  folder.write("incom.htm", html_document(variables({{"fromhtm", "1"}})));
  folder.write("incom.htc", html_document(variables({{"fromhtc", "1"}})));
  CompileRun both;
  testing::compile_in_folder(both, folder.path());
  EXPECT_STREQ(both.symbol(0).name, "fromhtc");
  testing::ScratchFolder empty;
  CompileRun none;
  testing::compile_in_folder(none, empty.path());
  EXPECT_TRUE(none.aborted);
  EXPECT_EQ(none.output(), aborted_with("\nImpossible to open HTML entry file"));
}

TEST(TableCompilerTest, RecompilingClearsTheEarlierRun) {
  testing::ScratchFolder folder;
  folder.write("incom.htm", html_document(variables({{"a", "1+2"}, {"b", "a"}})));
  CompileRun run;
  testing::compile_in_folder(run, folder.path());
  const std::string first = machine::disassemble_all(*run.machine);
  testing::compile_in_folder(run, folder.path());
  EXPECT_EQ(machine::disassemble_all(*run.machine), first);
  EXPECT_EQ(run.composition->symbol_count, 2);
  EXPECT_EQ(run.machine->constant_count, 2);
}

}  // namespace
}  // namespace zelvo::tables

namespace zelvo::tables {
namespace {

// A row that ends before the column that closes its program must still
// leave a terminated program: running it may never run on into the next
// program or past the end of the store.
TEST(TableCompilerTest, ShortRowsStillEndTheirPrograms) {
  const Rows outputs = {{"TSAL", "i", "n", "d", "g", "v"}, {"", "1", "C4n+1"}, {"", "1", "D4n+1"}};
  const CompileRun run = compile_document(html_document(
      generators("TGENC", {{"d", "1", "1", "1", "1", ""}, {"G", "1", "Gk+1"}}) + html_table(outputs)));
  ASSERT_FALSE(run.aborted) << run.output();
  EXPECT_EQ(machine::disassemble_all(*run.machine),
            "0 fcode\n"
            "1 push 3\n3 pushc 0 (1)\n5 +\n6 popt 0\n8 fcode\n"
            "9 pushc 1 (60)\n11 pushc 2 (1)\n13 +\n14 popt 1\n16 fcode\n"
            "17 pushc 3 (62)\n19 pushc 4 (1)\n21 +\n22 popt 2\n24 fcode\n");
  const OutputRecord* out = run.composition->outputs;
  machine::run_program(*run.machine, slot_word(out[0].slot[kOutCode]));
  EXPECT_EQ(out[0].slot[kOutNote], 61.0);
  EXPECT_EQ(out[1].slot[kOutNote], 0.0);  // the first row's program stopped at its own end
  machine::run_program(*run.machine, slot_word(out[1].slot[kOutCode]));
  EXPECT_EQ(out[1].slot[kOutNote], 63.0);
}

}  // namespace
}  // namespace zelvo::tables

namespace zelvo::tables {
namespace {

// A generator row with fewer cells than the header still takes its own
// record, so the next generator's values land where its names point.
TEST(TableCompilerTest, ShortGeneratorRowKeepsTheRecordsInStep) {
  const CompileRun run = compile_document(html_document(generators(
      "TGENC", {{"d", "1", "2", "3", "4", ""}, {"A", "5+1"}, {"B", "7", "8", "9", "10", ""}, {"C"}, {"D", "11"}})));
  ASSERT_FALSE(run.aborted) << run.output();
  const Composition& c = *run.composition;
  EXPECT_EQ(c.generator_counter, 5);
  EXPECT_EQ(slot_word(c.generators[1].slot[kSlotKind]), 6u);
  EXPECT_EQ(slot_word(c.generators[1].slot[kSlotCode]), 1u);
  EXPECT_EQ(c.generators[2].slot[9], 7.0);
  EXPECT_EQ(c.generators[2].slot[12], 10.0);
  EXPECT_EQ(run.machine->symbol_values[4], &c.generators[2].slot[kSlotValue]);  // B
  EXPECT_EQ(slot_word(c.generators[3].slot[kSlotKind]), 0u);                    // C: a name only
  EXPECT_EQ(c.generators[4].slot[9], 11.0);                                     // D
  EXPECT_EQ(machine::disassemble_all(*run.machine),
            "0 fcode\n1 pushc 0 (5)\n3 pushc 1 (1)\n5 +\n6 popt 0\n8 fcode\n");
  machine::run_program(*run.machine, 1);
  EXPECT_EQ(c.generators[1].slot[9], 6.0);
}

}  // namespace
}  // namespace zelvo::tables

namespace zelvo::tables {
namespace {

TEST(TableCompilerTest, SecondGeneratorTableOfTheSameKindKeepsItsOwnRows) {
  const CompileRun run = compile_document(html_document(
      generators("TGENC", {{"d", "1", "1", "1", "1", ""}, {"A", "2", "2", "2", "2", ""}}) +
      generators("TGENC", {{"d", "3", "3", "3", "3", ""}, {"", "4", "4", "4", "4", ""}, {"B", "5", "Bk+1", "", "5", ""}})));
  ASSERT_FALSE(run.aborted) << run.output();
  const Composition& c = *run.composition;
  EXPECT_EQ(c.generator_counter, 3);
  EXPECT_EQ(c.generators[1].slot[9], 2.0);
  EXPECT_EQ(c.generators[2].slot[9], 5.0);
  EXPECT_EQ(c.generators[2].slot[11], 3.0);  // the later table's defaults
  EXPECT_EQ(run.machine->symbol_values[4], &c.generators[2].slot[kSlotValue]);
}

}  // namespace
}  // namespace zelvo::tables

namespace zelvo::tables {
namespace {

TEST(TableCompilerTest, SpacesAroundOperatorsGoButASpaceBetweenNamesStays) {
  const CompileRun spaced = compile_document(html_document(variables({{"a", "5"}, {"b", "2"}, {"c", " a  -  b "}})));
  ASSERT_FALSE(spaced.aborted) << spaced.output();
  EXPECT_EQ(machine::disassemble(*spaced.machine, 11, 16),
            (std::vector<std::string>{"11 push 0", "13 push 1", "15 -"}));
  const CompileRun joined = compile_document(html_document(variables({{"a", "5"}, {"b", "2"}, {"c", "a b"}})));
  EXPECT_TRUE(joined.aborted);
  EXPECT_NE(joined.output().find(aborted_with("\nSyntax Error in table TCAL, row 3, column 1")), std::string::npos);
  const CompileRun call = compile_document(html_document(variables({{"a", "int 3"}})));
  EXPECT_NE(call.output().find(aborted_with("\nError: variable int not declared, referenced in table TCAL, row 1")),
            std::string::npos);
}

}  // namespace
}  // namespace zelvo::tables

namespace zelvo::tables {
namespace {

TEST(TableCompilerTest, StopRequestEndsTheCompileAtTheFirstProgressMessage) {
  testing::ScratchFolder folder;
  folder.write("incom.htm", html_document(variables({{"x", "1"}})));
  CompileRun run;
  run.console->set_job_running(true);
  run.console->request_stop();
  try {
    compile_tables(*run.composition, *run.machine, *run.console, folder.path().c_str());
    FAIL() << "the compile went on after a stop request";
  } catch (const console::JobEnded& ended) {
    EXPECT_EQ(ended.outcome, console::JobOutcome::kStopped);
  }
  EXPECT_EQ(run.output(), "\nReading variables in tables...\n\n\n\nCOMPILATION STOPPED BY USER\n\n");
}

}  // namespace
}  // namespace zelvo::tables
