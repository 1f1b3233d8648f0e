#include "tables/expression_compiler.h"

#include <cstdlib>
#include <cstring>

#include "base/message_id.h"

namespace zelvo::tables {

using enum base::MessageId;

using machine::Op;

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_letter_or_digit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || is_digit(c);
}
char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

[[noreturn]] void fail_here(CompileContext& context, base::MessageId pair) {
  const ReaderPosition& at = context.position;
  base::stop_with(base::Message(pair, table_name(at), at.row, at.column));
}

// Inside a cell the refusal waits for the end of the cell's scan; outside
// one (the stores and fcode the table compiler adds) it is immediate.
void refuse(CompileContext& context, base::MessageId pair) {
  if (!context.in_cell) fail_here(context, pair);
  if (!context.refusal) context.refusal = pair;
}

// The instructions that only the compilers write with their operand word,
// or that would end a program in the middle: refused in a cell.
bool is_internal(uint32_t index) {
  const auto op = static_cast<Op>(index);
  return op == Op::kColon || machine::has_operand(op) || op == Op::kEnd;
}

class ExpressionCompiler {
 public:
  ExpressionCompiler(CompileContext& context, char* text) : context_(context), start_(text) {}

  // s: the expression's start. negated: the first operand is multiplied by -1.
  void compile_expr(char* s, bool negated) {
    if (*s == '-') {
      compile_expr(s + 1, true);
      return;
    }
    char* after = nullptr;
    size_t used = 0;
    if (*s == '(') {
      after = compile_group(s);
    } else if ((used = parse_number(s)) > 0 || (used = parse_note(s)) > 0 ||
               (used = parse_variable(s)) > 0) {
      after = s + used;
    } else {
      after = compile_call(s);
    }
    if (negated) {
      push_constant(-1.0);
      emit_instruction(context_, Op::kMul);
    }
    const char c = *after;
    if (c == '\0' || c == ')' || c == '?') return;
    if (c == ':') {
      compile_expr(after + 1, false);
      return;
    }
    const uint32_t op = machine::find_operator(after);
    if (op >= machine::kBinaryOperatorCount) fail_here(context_, kSyntaxError);
    compile_expr(after + std::strlen(machine::kOperators[op].name), false);
    auto emitted = static_cast<Op>(op);
    if (s > start_ && s[-1] == '-' && !negated) {
      if (emitted == Op::kAdd) emitted = Op::kSub;
      else if (emitted == Op::kSub) emitted = Op::kAdd;
    }
    emit_instruction(context_, emitted);
  }

 private:
  // Just after the `)` that closes the group opened at `open`, or the end
  // of the text when it never closes.
  static char* group_end(char* open, bool* closed = nullptr) {
    int32_t count = 0;
    char* p = open;
    for (; *p != '\0'; ++p) {
      if (*p == '(') ++count;
      if (*p == ')' && --count == 0) {
        if (closed != nullptr) *closed = true;
        return p + 1;
      }
    }
    if (closed != nullptr) *closed = false;
    return p;
  }

  char* compile_group(char* s) {
    char* end = group_end(s);
    char* question = nullptr;
    for (char* p = s; p < end; ++p) {
      if (*p == '?') {
        question = p;
        break;
      }
    }
    if (question == nullptr) {
      compile_expr(s + 1, false);
      return end;
    }
    const int32_t before = context_.depth;
    compile_expr(question + 1, false);
    const int32_t branches = context_.depth - before;
    compile_expr(s + 1, false);
    // (c?a) leaves one branch: cond would take a value nobody pushed.
    if (branches < 2) refuse(context_, kSyntaxError);
    emit_instruction(context_, Op::kCond);
    return end;
  }

  void push_constant(double value) {
    machine::MachineState& m = context_.machine;
    if (m.constant_count >= machine::kMaxConstants) base::stop_with(base::Message(kTooManyConstants));
    if (m.program_length >= kPushLimit) base::stop_with(base::Message(kProgramMemory));
    const auto index = static_cast<uint32_t>(m.constant_count);
    m.constants[m.constant_count++] = value;
    emit_instruction(context_, Op::kPushConstant, index);
  }

  size_t parse_number(char* s) {
    size_t length = 0;
    if (is_digit(s[0])) {
      length = 1;
    } else if ((s[0] == '+' || s[0] == '-') && is_digit(s[1])) {
      length = 2;
    } else {
      return 0;
    }
    while (length < kMaxNumberLength && (is_digit(s[length]) || s[length] == '.')) ++length;
    char digits[kMaxNumberLength + 1];
    std::memcpy(digits, s, length);
    digits[length] = '\0';
    push_constant(std::strtod(digits, nullptr));
    return length;
  }

  size_t parse_note(char* s) {
    const int32_t note = note_value(s);
    if (note < 0) return 0;
    push_constant(note);
    return 3;
  }

  // Any other operand not followed by `(` is a variable's name; 0 when it
  // is a call.
  size_t parse_variable(char* s) {
    size_t length = s[0] == '\0' ? 0 : 1;
    while (length < kMaxNameLength && is_letter_or_digit(s[length])) ++length;
    if (s[length] == '(') return 0;
    char name[kNameSize];
    std::memcpy(name, s, length);
    name[length] = '\0';
    const Composition& c = context_.composition;
    for (int32_t i = 0; i < c.symbol_count && i < kMaxSymbols; ++i) {
      const char* declared = c.symbols[i].name;
      if (length > 0 && std::strlen(declared) == length && same_nocase(declared, name)) {
        if (context_.machine.program_length >= kPushLimit) base::stop_with(base::Message(kProgramMemory));
        emit_instruction(context_, Op::kPush, static_cast<uint32_t>(i));
        return length;
      }
    }
    const ReaderPosition& at = context_.position;
    base::stop_with(base::Message(kUndeclaredVariable, name, table_name(at), at.row));
  }

  static bool same_nocase(const char* a, const char* b) {
    for (; *a != '\0'; ++a, ++b) {
      if (fold(*a) != fold(*b)) return false;
    }
    return *b == '\0';
  }

  // A function call: name, `(`, arguments, `)`. Returns the text after it.
  char* compile_call(char* s) {
    const uint32_t index = machine::find_operator(s);
    if (index == machine::kNoOperator) fail_here(context_, kNotRecognized);
    // An infix operator here (+(a)) has no left operand to work on: the
    // operand is empty and the scan goes on at the operator.
    if (index < machine::kBinaryOperatorCount) {
      refuse(context_, kSyntaxError);
      return s;
    }
    const machine::OperatorInfo& entry = machine::kOperators[index];
    char* open = s + std::strlen(entry.name);
    if (*open != '(') fail_here(context_, kSyntaxError);
    if (is_internal(index)) refuse(context_, kSyntaxError);
    bool closed = false;
    char* end = group_end(open, &closed);
    if (closed) end[-1] = '\0';
    compile_args(open + 1, entry.arity);
    emit_instruction(context_, entry.op);
    return end;
  }

  // Arguments split at every comma, compiled in order.
  void compile_args(char* text, int32_t arity) {
    int32_t count = 0;
    char* piece = text;
    while (*piece != '\0') {
      char* comma = std::strchr(piece, ',');
      if (comma != nullptr) *comma = '\0';
      compile_expr(piece, false);
      ++count;
      if (comma == nullptr) break;
      piece = comma + 1;
    }
    if (arity >= 0) {
      if (count != arity) fail_here(context_, kWrongArgumentCount);
      return;
    }
    if (count < -arity) fail_here(context_, kNotEnoughArguments);
    push_constant(count);
  }

  CompileContext& context_;
  char* const start_;
};

bool is_allowed(char c) {
  return is_letter_or_digit(c) || (c != '\0' && std::strchr("#!&/()=?|+*:-><,. \t\n", c) != nullptr);
}

}  // namespace

uint32_t begin_program(CompileContext& context) {
  if (context.program_open) end_program(context);
  context.depth = 0;
  context.floor = 0;
  context.program_open = true;
  return context.machine.program_length;
}

void end_program(CompileContext& context) {
  emit_instruction(context, Op::kEnd);
  context.program_open = false;
}

void emit(CompileContext& context, uint32_t word) {
  machine::MachineState& m = context.machine;
  if (m.program_length > kEmitLimit) base::stop_with(base::Message(kProgramMemory));
  m.program[m.program_length++] = word;
  m.prepared = false;
}

void emit_instruction(CompileContext& context, Op op) {
  const machine::StackEffect effect = machine::stack_effect(op);
  // Values below the floor belong to earlier cells.
  if (context.depth - effect.takes < context.floor) refuse(context, kSyntaxError);
  context.depth += effect.leaves - effect.takes;
  if (context.depth > machine::kStackSize) refuse(context, kStackMemory);
  emit(context, machine::code_of(op));
}

void emit_instruction(CompileContext& context, Op op, uint32_t operand) {
  emit_instruction(context, op);
  emit(context, operand);
}

uint32_t add_target(CompileContext& context, double* slot) {
  machine::MachineState& m = context.machine;
  // Each target's cell takes at least four words, so the program store
  // fills first; this guards the table all the same.
  if (m.target_count >= machine::kMaxTargets) base::stop_with(base::Message(kProgramMemory));
  m.targets[m.target_count] = slot;
  return static_cast<uint32_t>(m.target_count++);
}

int32_t note_value(const char* text) {
  static constexpr int32_t kLetterSteps[7] = {9, 11, 0, 2, 4, 5, 7};  // A to G
  const char letter = fold(text[0]);
  if (letter < 'a' || letter > 'g' || !is_digit(text[1])) return -1;
  int32_t accidental = 0;
  switch (text[2]) {
    case 'n': case 'N': accidental = 12; break;
    case '#': accidental = 13; break;
    case 'b': case 'B': accidental = 11; break;
    default: return -1;
  }
  const int32_t value = accidental + kLetterSteps[letter - 'a'] + 12 * (text[1] - '0');
  return value > 127 ? 127 : value;
}

void compile_cell(CompileContext& context, char* text) {
  int32_t count = 0;
  for (const char* p = text; *p != '\0'; ++p) {
    if (!is_allowed(*p)) fail_here(context, kWrongCharacters);
    if (*p == '(') ++count;
    if (*p == ')') --count;
  }
  if (count != 0) fail_here(context, kWrongParentheses);
  context.floor = context.depth;
  context.refusal.reset();
  context.in_cell = true;
  ExpressionCompiler(context, text).compile_expr(text, false);
  context.in_cell = false;
  if (context.machine.program_length > kCellLimit) base::stop_with(base::Message(kProgramMemory));
  if (context.refusal) fail_here(context, *context.refusal);
}

}  // namespace zelvo::tables
