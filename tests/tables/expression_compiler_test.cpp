#include "tables/expression_compiler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "machine/disassemble.h"
#include "machine/machine_state.h"
#include "tables/html_reader.h"

namespace zelvo::tables {
namespace {

// Compiles single cells as if they stood in TCAL row 3, column 1, storing
// the value into `result`.
class CellHarness {
 public:
  CellHarness() {
    position_.kind = kKindVariables;
    position_.row = 3;
    position_.column = 1;
    machine_->program[machine_->program_length++] = machine::code_of(machine::Op::kEnd);
  }

  void declare(const char* name, double value) {
    const int32_t index = composition_->symbol_count++;
    std::strcpy(composition_->symbols[index].name, name);
    composition_->symbols[index].value = value;
    machine_->symbol_values[index] = &composition_->symbols[index].value;
  }
  void set(int32_t index, double value) { composition_->symbols[index].value = value; }

  // Compiles `text` as one program; false when the compile aborted.
  bool compile(const std::string& text) {
    std::strncpy(cell_, text.c_str(), sizeof cell_ - 1);
    start_ = machine_->program_length;
    try {
      begin_program(context_);
      compile_cell(context_, cell_);
      code_end_ = machine_->program_length;
      emit_instruction(context_, machine::Op::kPopTarget, add_target(context_, &result_));
      end_program(context_);
    } catch (const console::JobEnded&) {
      return false;
    }
    return true;
  }

  double run() {
    result_ = -99999.0;
    machine::run_program(*machine_, start_);
    return result_;
  }

  double value(const std::string& text) {
    EXPECT_TRUE(compile(text)) << text << ": " << output();
    return run();
  }

  // The expression's own code, without the store and fcode.
  std::vector<std::string> listing() const { return machine::disassemble(*machine_, start_, code_end_); }

  std::string output() const { return console_->contents(); }
  int32_t constants() const { return machine_->constant_count; }
  machine::MachineState& machine() { return *machine_; }
  console::Console& console() { return *console_; }

 private:
  std::unique_ptr<Composition> composition_ = std::make_unique<Composition>();
  std::unique_ptr<machine::MachineState> machine_ = std::make_unique<machine::MachineState>();
  std::unique_ptr<console::Console> console_ = std::make_unique<console::Console>();
  ReaderPosition position_;
  CompileContext context_{*composition_, *machine_, *console_, position_};
  char cell_[kLineBufferSize] = {};
  uint32_t start_ = 0;
  uint32_t code_end_ = 0;
  double result_ = 0.0;
};

std::string aborted(const std::string& message) { return message + "\n\nERROR: ABORTING COMPILATION\n\n\n\n\n"; }

TEST(ExpressionValueTest, RightGroupingWithLeftToRightPlusMinusChains) {
  CellHarness cell;
  EXPECT_EQ(cell.value("2*3+4"), 14.0);
  EXPECT_EQ(cell.value("(2*3)+4"), 10.0);
  EXPECT_EQ(cell.value("10-4-3"), 3.0);
  EXPECT_EQ(cell.value("10-4+3"), 9.0);
  EXPECT_EQ(cell.value("10+4-3"), 11.0);
  EXPECT_EQ(cell.value("20-1-2-3-4"), 10.0);
  EXPECT_EQ(cell.value("8/4/2"), 4.0);
  EXPECT_EQ(cell.value("2-3*4"), -10.0);
  EXPECT_EQ(cell.value("1.2.3+1"), 2.2);
  EXPECT_EQ(cell.value("1.+1"), 2.0);
  EXPECT_EQ(cell.value("+5"), 5.0);
}

TEST(ExpressionValueTest, UnaryMinusTakesANewConstantEachTime) {
  CellHarness cell;
  EXPECT_EQ(cell.value("-3+5"), 2.0);
  EXPECT_EQ(cell.constants(), 3);
  const std::vector<std::string> code = {"1 pushc 0 (3)", "3 pushc 1 (-1)", "5 *", "6 pushc 2 (5)", "8 +"};
  EXPECT_EQ(cell.listing(), code);
  EXPECT_EQ(cell.value("2*-3"), -6.0);
  EXPECT_EQ(cell.value("-(2+3)"), -5.0);
  EXPECT_EQ(cell.value("4--3"), 7.0);
}

TEST(ExpressionValueTest, MinusChainListingFlipsTheInnerOperator) {
  CellHarness cell;
  cell.declare("a", 10);
  cell.declare("b", 4);
  cell.declare("c", 3);
  EXPECT_EQ(cell.value("a-b-c"), 3.0);
  const std::vector<std::string> code = {"1 push 0", "3 push 1", "5 push 2", "7 +", "8 -"};
  EXPECT_EQ(cell.listing(), code);
}

TEST(ExpressionValueTest, NoteNames) {
  CellHarness cell;
  EXPECT_EQ(cell.value("C4n+12"), 72.0);
  EXPECT_EQ(cell.value("c4N"), 60.0);
  EXPECT_EQ(cell.value("A4n"), 69.0);
  EXPECT_EQ(cell.value("C4#"), 61.0);
  EXPECT_EQ(cell.value("D4b"), 61.0);
  EXPECT_EQ(cell.value("C0b"), 11.0);
  EXPECT_EQ(cell.value("G9#"), 127.0);
  EXPECT_EQ(note_value("H4n"), -1);
  EXPECT_EQ(note_value("C4"), -1);
  EXPECT_EQ(note_value("C4x"), -1);
}

TEST(ExpressionValueTest, ConditionalsSelectByTheCondition) {
  CellHarness cell;
  cell.declare("x", 6);
  ASSERT_TRUE(cell.compile("(x>5?1:0)"));
  EXPECT_EQ(cell.run(), 1.0);
  cell.set(0, 5);
  EXPECT_EQ(cell.run(), 0.0);
  const std::vector<std::string> code = {"1 pushc 0 (1)", "3 pushc 1 (0)", "5 push 0", "7 pushc 2 (5)",
                                         "9 >", "10 cond"};
  EXPECT_EQ(cell.listing(), code);
  EXPECT_EQ(cell.value("(0?1:2)"), 2.0);
  EXPECT_EQ(cell.value("(0.5?1:2)"), 1.0);
  EXPECT_EQ(cell.value("cond(7,8,0)"), 8.0);
  EXPECT_EQ(cell.value("cond(7,8,1)"), 7.0);
  EXPECT_EQ(cell.value("2*(1?3:4)+1"), 8.0);
}

TEST(ExpressionValueTest, FunctionsAndVariables) {
  CellHarness cell;
  cell.declare("Speed", 4);
  EXPECT_EQ(cell.value("int(3.7)"), 3.0);
  EXPECT_EQ(cell.value("pow(2,10)"), 1024.0);
  EXPECT_EQ(cell.value("speed*2"), 8.0);
  EXPECT_EQ(cell.value("SPEED+pow(Speed,2)"), 20.0);
  EXPECT_EQ(cell.value("itp(0,0,10,100,5)"), 50.0);
  EXPECT_EQ(cell.value("li(2,1)+lv(1,60)+lv(2,64)"), 64.0);
  EXPECT_EQ(cell.value("li(2,0)+lv(2,64)"), 0.0);
  EXPECT_EQ(cell.value("li(7,1)+lr(5,9,2)"), 2.0);
  EXPECT_EQ(cell.value("li(9.5,1)+lr(5,9,2)"), 0.0);
  EXPECT_EQ(cell.value("abs(-2)+sqrt(9)"), 5.0);
  EXPECT_EQ(cell.value("(5>3)&&(2>1)"), 1.0);
}

TEST(ExpressionValueTest, TwentyNineCharacterNameIsFound) {
  CellHarness cell;
  const std::string name(29, 'v');
  cell.declare(name.c_str(), 9);
  EXPECT_EQ(cell.value(name + "+1"), 10.0);
}

TEST(ExpressionValueTest, ListRegistersOutliveOneRun) {
  CellHarness set_list;
  ASSERT_TRUE(set_list.compile("li(3,1)"));
  set_list.run();
  ASSERT_TRUE(set_list.compile("lv(3,70)"));
  EXPECT_EQ(set_list.run(), 70.0);
}

struct ErrorCase {
  const char* text;
  const char* message;
};

TEST(ExpressionErrorTest, EveryMessageNamesTheTableRowAndColumn) {
  const ErrorCase cases[] = {
      {"a;b", "\nError: wrong incorrect characters in table TCAL, row 3, column 1"},
      {"my_var", "\nError: wrong incorrect characters in table TCAL, row 3, column 1"},
      {"(1+2", "\nError: wrong parentheses number in table TCAL, row 3, column 1"},
      {"a b", "\nSyntax Error in table TCAL, row 3, column 1"},
      {"1234567890123", "\nSyntax Error in table TCAL, row 3, column 1"},
      {"2 3", "\nSyntax Error in table TCAL, row 3, column 1"},
      {"H4n", "\nError: variable H4n not declared, referenced in table TCAL, row 3"},
      {"speed", "\nError: variable speed not declared, referenced in table TCAL, row 3"},
      {"int 3", "\nError: variable int not declared, referenced in table TCAL, row 3"},
      {".5", "\nError: variable .5 not declared, referenced in table TCAL, row 3"},
      {"2**3", "\nError: variable *3 not declared, referenced in table TCAL, row 3"},
      {"pow(,2)", "\nError: variable  not declared, referenced in table TCAL, row 3"},
      {"()", "\nError: variable ) not declared, referenced in table TCAL, row 3"},
      {"2+", "\nError: variable  not declared, referenced in table TCAL, row 3"},
      {"pow(2)", "\nError: wrong argument number in table TCAL, row 3, column 1"},
      {"pow(2,)", "\nError: wrong argument number in table TCAL, row 3, column 1"},
      {"sin()", "\nError: wrong argument number in table TCAL, row 3, column 1"},
      {"pow(itp(1,2,3,4,5),2)", "\nError: wrong argument number in table TCAL, row 3, column 1"},
      {"foo(1)", "\nError: Not recognized element in table TCAL, row 3, column 1"},
      {"intx(1)", "\nSyntax Error in table TCAL, row 3, column 1"},
  };
  for (const ErrorCase& c : cases) {
    CellHarness cell;
    cell.declare("a", 1);
    cell.declare("b", 2);
    EXPECT_FALSE(cell.compile(c.text)) << c.text;
    EXPECT_EQ(cell.output(), aborted(c.message)) << c.text;
  }
}

TEST(ExpressionErrorTest, SpanishMessages) {
  CellHarness cell;
  cell.console().set_language(console::kSpanish);
  EXPECT_FALSE(cell.compile("(1+2"));
  EXPECT_EQ(cell.output(),
            "\nError: n\xFAmero de par\xE9ntesis incorrectos en tabla TCAL, fila 3, columna 1"
            "\n\nERROR: ABORTANDO COMPILACION\n\n\n\n\n");
}

// Code that would take values nobody pushed is refused before it is run.
TEST(ExpressionErrorTest, UnbalancedStackCodeIsASyntaxError) {
  for (const char* text : {"+(2)", "*(2)+1", "(1?2)", "pushc()", "push()", "popt()", "pop()", "fcode()", ":()",
                           "1+pushc()"}) {
    CellHarness cell;
    EXPECT_FALSE(cell.compile(text)) << text;
    EXPECT_EQ(cell.output(), aborted("\nSyntax Error in table TCAL, row 3, column 1")) << text;
  }
}

std::string sum_of_ones(int terms) {
  std::string text = "1";
  for (int i = 1; i < terms; ++i) text += "+1";
  return text;
}

// Those refusals wait for the end of the cell: an error the language itself
// reports further on in the same scan comes first, as it would for a sound
// cell (the condition is compiled after the branches, arguments are counted
// after they are compiled).
TEST(ExpressionErrorTest, TheLanguagesOwnErrorsComeBeforeARefusal) {
  const ErrorCase cases[] = {
      {"(speed?1)", "\nError: variable speed not declared, referenced in table TCAL, row 3"},
      {"+(2)+speed", "\nError: variable speed not declared, referenced in table TCAL, row 3"},
      {"pushc(2)", "\nError: wrong argument number in table TCAL, row 3, column 1"},
      {"sin((1?2),3)", "\nError: wrong argument number in table TCAL, row 3, column 1"},
      {"fcode()+foo(1)", "\nError: Not recognized element in table TCAL, row 3, column 1"},
      {"(1?2)+2 3", "\nSyntax Error in table TCAL, row 3, column 1"},
  };
  for (const ErrorCase& c : cases) {
    CellHarness cell;
    EXPECT_FALSE(cell.compile(c.text)) << c.text;
    EXPECT_EQ(cell.output(), aborted(c.message)) << c.text;
  }
  CellHarness deep;
  EXPECT_FALSE(deep.compile(sum_of_ones(301) + "+speed"));
  EXPECT_EQ(deep.output(), aborted("\nError: variable speed not declared, referenced in table TCAL, row 3"));
}

TEST(ExpressionLimitTest, StackDepthIsBoundedAtCompileTime) {
  CellHarness fits;
  EXPECT_EQ(fits.value(sum_of_ones(300)), 300.0);
  CellHarness deep;
  EXPECT_FALSE(deep.compile(sum_of_ones(301)));
  EXPECT_EQ(deep.output(), aborted("\nError: stack memory exceeded in table TCAL, row 3, column 1"));
}

TEST(ExpressionLimitTest, ConstantTableFull) {
  CellHarness cell;
  for (int i = 0; i < 8; ++i) ASSERT_TRUE(cell.compile(sum_of_ones(250))) << i;
  EXPECT_EQ(cell.constants(), 2000);
  EXPECT_FALSE(cell.compile("1"));
  EXPECT_EQ(cell.output(), aborted("\nError: memory exceeded for constant number values"));
}

TEST(ExpressionLimitTest, ProgramMemoryFullNeverWritesBeyondTheStore) {
  CellHarness cell;
  cell.declare("a", 1);
  std::string sum = "a";
  for (int i = 1; i < 250; ++i) sum += "+a";
  int compiled = 0;
  while (cell.compile(sum)) ++compiled;
  EXPECT_EQ(compiled, 10);  // 10 x (749 + 3) words fit below 7997, the 11th does not
  EXPECT_EQ(cell.output(), aborted("\nError: program memory exceeded"));
  EXPECT_LE(cell.machine().program_length, machine::kProgramSize);
}

}  // namespace
}  // namespace zelvo::tables
