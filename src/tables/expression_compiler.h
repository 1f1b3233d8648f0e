#pragma once

// The expression compiler: one left-to-right recursive scan of a cell's
// text that appends stack code leaving the expression's value on top.
// Operators have no precedence and group to the right; a `-` before a
// right operand flips the `+`/`-` that follows it so chains still read left
// to right.
//
// It also keeps the simulated stack depth of the program being compiled, so
// that no program can take values its cells did not push or reach beyond
// the machine's stack.
#include <cstdint>
#include <optional>

#include "machine/machine_state.h"
#include "machine/opcodes.h"
#include "tables/composition.h"
#include "tables/html_reader.h"

namespace zelvo::tables {

constexpr uint32_t kEmitLimit = 7998;   // an emission finding the length above this fails
constexpr uint32_t kPushLimit = 7998;   // push/pushc need the length below this
constexpr uint32_t kCellLimit = 7997;   // a compiled cell leaves the length at most this
constexpr int32_t kMaxNumberLength = 12;

struct CompileContext {
  Composition& composition;
  machine::MachineState& machine;
  const ReaderPosition& position;  // quoted by the messages
  int32_t depth = 0;               // values the program has on the stack so far
  int32_t floor = 0;               // depth when the current cell began
  bool program_open = false;       // a program was started and has no fcode yet
  // While a cell compiles, the first construct that would make unsound code
  // (a conditional with one branch, an infix operator or an internal
  // instruction written as a call, a stack too deep or too shallow). The
  // scan goes on as if it were sound, so that every error of the language
  // itself is still reported first; the cell is refused at its end.
  bool in_cell = false;
  std::optional<base::MessageId> refusal = std::nullopt;
};

// A new program starts at the current program length, which it returns:
// empty stack. A program still open (its row ended before the column that
// closes it) is first ended, so no program runs on into the next one.
uint32_t begin_program(CompileContext& context);
// Ends the current program with fcode.
void end_program(CompileContext& context);

// Appends one word; the program-memory message when the store is full.
void emit(CompileContext& context, uint32_t word);
// Appends an instruction (and its operand word), following its stack effect.
void emit_instruction(CompileContext& context, machine::Op op);
void emit_instruction(CompileContext& context, machine::Op op, uint32_t operand);

// Registers `slot` as the next popt target; returns its index.
uint32_t add_target(CompileContext& context, double* slot);

// Checks the characters and compiles the whole expression; the text is cut
// in places while compiling.
void compile_cell(CompileContext& context, char* text);

// The MIDI note named by the first three characters (letter A-G, octave
// digit, #/b/B/n/N), at most 127; -1 when they are no note name.
int32_t note_value(const char* text);

}  // namespace zelvo::tables
