#include "tables/table_compiler.h"

#include <cstdlib>
#include <cstring>

#include "tables/expression_compiler.h"
#include "tables/html_reader.h"
#include "base/message_id.h"

namespace zelvo::tables {

using enum base::MessageId;

using machine::Op;

namespace {

constexpr int32_t kLastConfigColumn = kConfigCount - 1;
constexpr int32_t kLastOutputColumn = kOutputSlots - 1;

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_letter_or_digit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || is_digit(c);
}
char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool name_taken(const Composition& composition, const char* name) {
  for (int32_t i = 0; i < composition.symbol_count && i < kMaxSymbols; ++i) {
    const char* a = composition.symbols[i].name;
    const char* b = name;
    while (*a != '\0' && fold(*a) == fold(*b)) {
      ++a;
      ++b;
    }
    if (*a == '\0' && *b == '\0') return true;
  }
  return false;
}

void clear_composition(Composition& composition) {
  std::memset(composition.config, 0, sizeof composition.config);
  std::memset(composition.symbols, 0, sizeof composition.symbols);
  composition.symbol_count = 0;
  std::memset(composition.generators, 0, sizeof composition.generators);
  composition.generator_counter = 1;
  std::memset(composition.outputs, 0, sizeof composition.outputs);
}

[[noreturn]] void fail_at_row(TableReader& reader, base::MessageId pair) {
  base::stop_with(base::Message(pair, table_name(reader.position), reader.position.row));
}

[[noreturn]] void fail_at_cell(TableReader& reader, base::MessageId pair) {
  const ReaderPosition& at = reader.position;
  base::stop_with(base::Message(pair, table_name(at), at.row, at.column));
}

void declare(Composition& composition, machine::MachineState& machine, const char* name,
             uint32_t kind, uint32_t row, double* value, uint32_t code_start) {
  const int32_t index = composition.symbol_count++;
  Symbol& symbol = composition.symbols[index];
  size_t length = std::strlen(name);
  if (length > static_cast<size_t>(kNameSize - 1)) length = kNameSize - 1;
  std::memcpy(symbol.name, name, length);
  symbol.name[length] = '\0';
  symbol.kind = kind;
  symbol.row = row;
  symbol.code_start = code_start;
  machine.symbol_values[index] = value != nullptr ? value : &symbol.value;
}

// A generator G declares G, Gu, Gi and Gk, pointing into its record. The
// three derived names must be free as well, or a reference to them would
// silently reach another symbol.
void declare_generator(TableReader& reader, Composition& composition, machine::MachineState& machine,
                       const char* name) {
  static constexpr char kSuffixes[3] = {'u', 'i', 'k'};
  char derived[3][kNameSize];
  for (int32_t i = 0; i < 3; ++i) {
    std::strcpy(derived[i], name);
    const size_t length = std::strlen(derived[i]);
    derived[i][length] = kSuffixes[i];
    derived[i][length + 1] = '\0';
    if (name_taken(composition, derived[i])) fail_at_row(reader, kWrongName);
  }
  if (composition.generator_counter > kMaxGenerators) fail_at_row(reader, kTooManyGenerators);
  GeneratorRecord& record = composition.generators[composition.generator_counter];
  const auto kind = static_cast<uint32_t>(reader.position.kind);
  const auto row = static_cast<uint32_t>(reader.position.row);
  declare(composition, machine, name, kind, row, &record.slot[kSlotValue], kNoCode);
  declare(composition, machine, derived[0], kind, row, &record.slot[kSlotLength], kNoCode);
  declare(composition, machine, derived[1], kind, row, &record.slot[kSlotOnset], kNoCode);
  declare(composition, machine, derived[2], kind, row, &record.slot[kSlotClicks], 0);
  ++composition.generator_counter;
}

// Stores the configuration values and declares every name.
void reading_pass(TableReader& reader, Composition& composition, machine::MachineState& machine) {
  reset_position(reader);
  composition.generator_counter = 1;
  ReaderPosition& at = reader.position;
  for (;;) {
    read_table_line(reader);
    if (tag_at_start(reader.buffer) == LineTag::kHtmlEnd) break;
    // Variables are found by table kind and row, so a second TCAL table
    // would attach its expressions to the first table's variables.
    if (reader.tables_identified[kKindVariables] > 1) base::stop_with(base::Message(kSecondVariableTable));
    if (at.kind == kKindConfig && at.row == 1 && at.column != -1) {
      const char* cell = take_cell(reader);
      if (at.column > kLastConfigColumn) {
        if (cell[0] != '\0') fail_at_cell(reader, kTooManyConfigValues);
      } else if (at.column >= 1) {
        composition.config[at.column] = std::strtod(cell, nullptr);
      }
      ++at.column;
    } else if (at.kind == kKindVariables && at.row >= 1 && at.column == 0) {
      const char* cell = take_cell(reader);
      if (cell[0] != '\0') {
        if (!is_valid_new_name(composition, cell)) fail_at_row(reader, kWrongName);
        declare(composition, machine, cell, kKindVariables, static_cast<uint32_t>(at.row), nullptr, 0);
      }
      ++at.column;
    } else if (at.kind >= kKindCalculated && at.row >= 2 && at.column == 0) {
      const char* cell = take_cell(reader);
      if (cell[0] != '\0') {
        if (!is_valid_new_name(composition, cell)) fail_at_row(reader, kWrongName);
        declare_generator(reader, composition, machine, cell);
      }
      ++at.column;
    }
    if (composition.symbol_count >= kSymbolLimit) base::stop_with(base::Message(kTooManySymbols));
  }
}

// A cell compiled into the record's program, storing into `slot`.
void compile_store_cell(CompileContext& context, double& code_slot, char* cell, double* slot) {
  if (slot_word(code_slot) == 0) set_slot_word(code_slot, begin_program(context));
  compile_cell(context, cell);
  emit_instruction(context, Op::kPopTarget, add_target(context, slot));
}

void compile_variable_cell(CompileContext& context, TableReader& reader, char* cell) {
  const ReaderPosition& at = reader.position;
  if (at.column != 1 || cell[0] == '\0') return;
  const uint32_t index = find_symbol_by_place(context.composition, kKindVariables, at.row);
  if (index == kNoSymbol) return;
  context.composition.symbols[index].code_start = begin_program(context);
  compile_cell(context, cell);
  emit_instruction(context, Op::kPop, index);
  end_program(context);
}

// The declared generator row being read: open until its last parameter
// column, then finished until the reader leaves the row.
struct GeneratorRow {
  enum class State { kNone, kOpen, kFinished };
  State state = State::kNone;
  int32_t kind = -1;
  int32_t row = -1;
};

// A generator row ends: its program and its record. A row cut short ends
// here too, so the next row's generator gets the record its names point at.
void finish_generator_row(CompileContext& context, GeneratorRow& pending) {
  if (context.program_open) end_program(context);
  ++context.composition.generator_counter;
  pending.state = GeneratorRow::State::kFinished;
}

void compile_generator_cell(CompileContext& context, TableReader& reader, char* cell, GeneratorRow& pending) {
  const ReaderPosition& at = reader.position;
  Composition& composition = context.composition;
  // A row declared a generator when its name cell is not empty (the reading
  // pass refused every bad name). Asking the name cell rather than looking
  // the symbol up by kind and row keeps a second table of the same kind
  // from compiling a row under an earlier table's generator.
  if (at.row >= 2) {
    if (at.column == 0 && cell[0] != '\0') pending = GeneratorRow{GeneratorRow::State::kOpen, at.kind, at.row};
    if (pending.state != GeneratorRow::State::kOpen) return;
  }
  const int32_t last_column = at.column_count - 2;
  if (at.column < 1 || at.column > last_column) return;
  if (last_column > kMaxParameterColumns) fail_at_cell(reader, kTooManyParameterColumns);
  const int32_t slot = kSlotCode + at.column;
  if (at.row == 1) {
    if (!is_number(cell)) fail_at_cell(reader, kCellError);
    composition.generators[0].slot[slot] = std::strtod(cell, nullptr);
    return;
  }
  // The passes agree on the generator count unless rows are malformed;
  // the record table is guarded either way.
  if (composition.generator_counter > kMaxGenerators) fail_at_row(reader, kTooManyGenerators);
  GeneratorRecord& record = composition.generators[composition.generator_counter];
  if (at.column == 1) {
    set_slot_word(record.slot[kSlotKind], static_cast<uint32_t>(at.kind));
    set_slot_word(record.slot[kSlotCode], 0);
  }
  if (is_number(cell)) {
    record.slot[slot] = std::strtod(cell, nullptr);
  } else if (cell[0] != '\0') {
    compile_store_cell(context, record.slot[kSlotCode], cell, &record.slot[slot]);
  } else {
    record.slot[slot] = composition.generators[0].slot[slot];
  }
  if (at.column == last_column) finish_generator_row(context, pending);
}

void compile_output_cell(CompileContext& context, TableReader& reader, char* cell) {
  const ReaderPosition& at = reader.position;
  if (at.column > kLastOutputColumn) return;
  if (at.row > kOutputRecords) fail_at_row(reader, kTooManyOutputRows);
  OutputRecord& record = context.composition.outputs[at.row - 1];
  if (at.column == 0) {
    record.slot[kOutChannel] = cell[0] != '\0' ? -1.0 : 0.0;
    set_slot_word(record.slot[kOutCode], 0);
    return;
  }
  if (record.slot[kOutChannel] != -1.0) {
    if (is_number(cell)) {
      record.slot[at.column] = std::strtod(cell, nullptr);
    } else if (cell[0] != '\0') {
      compile_store_cell(context, record.slot[kOutCode], cell, &record.slot[at.column]);
    } else if (at.column == kOutChannel) {
      record.slot[kOutChannel] = 1.0;
    } else if (at.column == kOutNote) {
      record.slot[kOutNote] = -1.0;
    } else if (at.column == kOutVelocity) {
      record.slot[kOutVelocity] = 100.0;
    }
  }
  if (at.column == kLastOutputColumn && slot_word(record.slot[kOutCode]) != 0) end_program(context);
}

// Stores the numbers and compiles every expression cell.
void compile_pass(TableReader& reader, CompileContext& context) {
  reset_position(reader);
  context.composition.generator_counter = 1;
  ReaderPosition& at = reader.position;
  GeneratorRow pending;
  for (;;) {
    read_table_line(reader);
    const bool left_row = at.kind != pending.kind || at.row != pending.row || at.column < 0;
    if (pending.state != GeneratorRow::State::kNone && left_row) {
      if (pending.state == GeneratorRow::State::kOpen) finish_generator_row(context, pending);
      pending.state = GeneratorRow::State::kNone;
    }
    if (tag_at_start(reader.buffer) == LineTag::kHtmlEnd) break;
    if (at.row == 0 && at.kind >= 1) {
      if (tag_at_start(reader.buffer) == LineTag::kCell) ++at.column_count;
    } else if (at.row >= 1 && at.kind >= 1 && at.column >= 0) {
      char* cell = take_cell(reader);
      if (at.kind == kKindVariables) {
        compile_variable_cell(context, reader, cell);
      } else if (at.kind == kKindOutputs) {
        compile_output_cell(context, reader, cell);
      } else if (at.kind >= kKindCalculated) {
        compile_generator_cell(context, reader, cell, pending);
      }
      ++at.column;
    }
  }
  if (pending.state == GeneratorRow::State::kOpen) finish_generator_row(context, pending);
  if (context.program_open) end_program(context);
}

}  // namespace

namespace {
void compile_both_passes(TableReader& reader, Composition& composition, machine::MachineState& machine);
}  // namespace

base::Status compile_tables(Composition& composition, machine::MachineState& machine,
                            base::ProgressLines& progress) {
  return compile_tables(composition, machine, progress, "");
}

base::Status compile_tables(Composition& composition, machine::MachineState& machine,
                            base::ProgressLines& progress, const char* folder,
                            console::CompositionOpener* opener) {
  clear_composition(composition);
  machine::reset_program_tables(machine);
  TableReader reader(progress);
  if (base::Status opened = open_table_input(reader, folder, opener); !opened.ok()) return opened;
  return base::attempt([&] { compile_both_passes(reader, composition, machine); });
}

namespace {

void compile_both_passes(TableReader& reader, Composition& composition, machine::MachineState& machine) {
  reader.progress.show(base::Message(kReadingVariables));
  reader.progress.check_stop();
  reading_pass(reader, composition, machine);
  std::rewind(reader.file.get());
  CompileContext context{composition, machine, reader.position};
  emit_instruction(context, Op::kEnd);
  reader.progress.show(base::Message(kCompilingTables));
  reader.progress.check_stop();
  compile_pass(reader, context);
  reader.file.reset();
  machine::prepare_programs(machine);
}

}  // namespace

uint32_t find_symbol_by_place(const Composition& composition, uint32_t kind, uint32_t row) {
  for (uint32_t i = 0; i < kMaxSymbols; ++i) {
    const Symbol& symbol = composition.symbols[i];
    if (symbol.kind == kind && symbol.row == row) return i;
  }
  return kNoSymbol;
}

bool is_number(const char* text) {
  const size_t length = std::strlen(text);
  if (length == 0) return false;
  if (length == 1) return is_digit(text[0]);
  const bool first = is_digit(text[0]) || ((text[0] == '+' || text[0] == '-') && is_digit(text[1]));
  if (!first || !is_digit(text[length - 1])) return false;
  for (size_t i = 1; i + 1 < length; ++i) {
    if (!is_digit(text[i]) && text[i] != '.') return false;
  }
  return true;
}

bool is_valid_new_name(const Composition& composition, const char* text) {
  const size_t length = std::strlen(text);
  if (length == 0 || length > static_cast<size_t>(kMaxNameLength)) return false;
  for (size_t i = 0; i < length; ++i) {
    if (!is_letter_or_digit(text[i])) return false;
  }
  if (note_value(text) >= 0 || is_digit(text[0])) return false;
  return !name_taken(composition, text);
}

}  // namespace zelvo::tables
