#include "check/composition_check.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "check/cell_check.h"
#include "check/check_messages.h"
#include "check/no_notes_check.h"
#include "check/scratch_run.h"
#include "base/work_files.h"
#include "machine/machine_state.h"
#include "machine/opcodes.h"
#include "machine/program_walk.h"
#include "tables/composition.h"
#include "tables/html_reader.h"
#include "tables/table_compiler.h"

namespace zelvo::check {

namespace {

using tables::ReaderPosition;

constexpr int32_t kLastConfigColumn = tables::kConfigCount - 1;
constexpr size_t kQuotedCell = 40;  // a long first cell is quoted cut short

std::string quoted(const char* cell) {
  std::string text(cell);
  if (text.size() > kQuotedCell) text = text.substr(0, kQuotedCell) + "...";
  return text;
}

std::string existing_composition(const std::string& folder) {
  std::error_code error;
  for (const char* name : {base::kCompositionCopyFile, base::kCompositionFile}) {
    if (std::filesystem::exists(base::work_path(folder, name), error)) return name;
  }
  return std::string();
}

struct Context {
  const std::string& folder;
  int language;
  std::string file;
  Findings& findings;
  console::CompositionOpener* opener;
  console::ScoreOpener* score_opener;
  bool told_nothing_generated = false;  // a configuration finding says so already

  void add(std::string place, std::string text) {
    findings.push_back(Finding{file, std::move(place), std::move(text)});
  }
};

// The reading pass as the composer walks it, looking at what the composer
// takes silently: the tables' first cells, the configuration cells and the
// sequence generators' names.
void check_tables(Context& context, console::JobConsole& scratch) {
  tables::TableReader reader(scratch);
  if (base::Status opened = tables::open_table_input(reader, context.folder.c_str(), context.opener);
      !opened.ok()) {
    base::stop_with(opened.error());
  }
  tables::reset_position(reader);
  ReaderPosition& at = reader.position;
  const int language = context.language;
  int32_t table_number = 0;
  bool have_configuration = false;
  double config[tables::kConfigCount] = {};
  // Which TCONF table gave each value: a later one overwrites.
  std::string config_table[tables::kConfigCount];
  bool sequence_file = false;
  {
    std::error_code error;
    sequence_file = std::filesystem::exists(base::work_path(context.folder, base::kSequenceFile), error) ||
                    std::filesystem::exists(base::work_path(context.folder, base::kSequenceArchive), error);
  }
  for (;;) {
    const int32_t kind_before = at.kind;
    tables::read_table_line(reader);
    if (tables::starts_with_nocase("</html>", reader.buffer)) break;
    if (tables::starts_with_nocase("<table", reader.buffer)) ++table_number;
    if (kind_before == tables::kKindUnidentified && at.kind != tables::kKindUnidentified) {
      if (at.kind == tables::kKindUnnamed) {
        context.add(say(language, kPlaceTable, table_number), say(language, kUnknownTable, quoted(reader.buffer).c_str()));
      }
      if (at.kind == tables::kKindConfig && !have_configuration) have_configuration = true;
    }
    if (at.kind == tables::kKindConfig && at.row == 1 && at.column != -1) {
      const char* cell = tables::take_cell(reader);
      if (at.column >= 1 && at.column <= kLastConfigColumn) {
        config[at.column] = std::strtod(cell, nullptr);
        config_table[at.column] = tables::table_name(at);
        if (cell[0] != '\0' && !tables::is_number(cell)) {
          context.add(say(language, kPlaceCell, config_table[at.column].c_str(), at.row, at.column),
                      say(language, kNotANumber, quoted(cell).c_str(), config[at.column]));
        }
      }
      ++at.column;
    } else if (at.kind >= tables::kKindCalculated && at.row >= 2 && at.column == 0) {
      const char* cell = tables::take_cell(reader);
      if (at.kind == tables::kKindSequence && cell[0] != '\0' && !sequence_file) {
        context.add(say(language, kPlaceRow, tables::table_name(at).c_str(), at.row), say(language, kNoSequenceFile, quoted(cell).c_str()));
      }
      ++at.column;
    }
  }
  if (!have_configuration) {
    context.add(std::string(), say(language, kNoConfiguration));
    context.told_nothing_generated = true;
    return;
  }
  const struct {
    int32_t index;
    MessagePair name;
  } positive[] = {{tables::kConfigBars, {"bars", "compases"}},
                  {tables::kConfigTempo, {"tempo", "tempo"}},
                  {tables::kConfigBeats, {"beats", "pulsos"}}};
  for (const auto& value : positive) {
    if (config[value.index] > 0) continue;
    context.told_nothing_generated = true;
    const std::string& table = config_table[value.index];
    context.add(say(language, kPlaceCell, table.empty() ? "TCONF" : table.c_str(), 1, value.index),
                say(language, kNotPositive, say(language, value.name).c_str(), config[value.index]));
  }
}

// Variables whose value no program ever reads: no `push` of their symbol.
base::Status check_unused_variables(Context& context, console::JobConsole& scratch) {
  auto composition = std::make_unique<tables::Composition>();
  auto machine = std::make_unique<machine::MachineState>();
  if (base::Status compiled = tables::compile_tables(*composition, *machine, scratch, context.folder.c_str(),
                                                        context.opener);
      !compiled.ok()) {
    return compiled;
  }
  std::vector<bool> read(tables::kMaxSymbols, false);
  for (const machine::Instruction& instruction : machine::ProgramWalk(*machine, 0, machine->program_length)) {
    if (!instruction.is_instruction()) break;
    if (instruction.op() == machine::Op::kPush && instruction.words == 2 && instruction.operand < read.size()) {
      read[instruction.operand] = true;
    }
  }
  for (int32_t i = 0; i < composition->symbol_count && i < tables::kMaxSymbols; ++i) {
    const tables::Symbol& symbol = composition->symbols[i];
    if (symbol.kind != tables::kKindVariables || symbol.name[0] == '\0' || read[i]) continue;
    context.add(say(context.language, kPlaceRow, "TCAL", static_cast<int>(symbol.row)),
                say(context.language, kUnusedVariable, symbol.name));
  }
  return base::Status();
}

}  // namespace

void check_composition(const std::string& folder, console::JobConsole& scratch, int language,
                       Findings& findings, console::CompositionOpener* opener,
                       console::ScoreOpener* score_opener) {
  Context context{folder, language, existing_composition(folder), findings, opener, score_opener};
  if (context.file.empty()) return;
  // A document the composer refuses gets its error once; the other checks
  // need a document that reads to its end.
  std::string error;
  bool makes_notes = true;
  // The cells are looked at before the compiler runs, so that a `<` it
  // misread is named even when that makes the compiler stop.
  const auto tables = [&] { return base::attempt([&] { check_tables(context, scratch); }); };
  const auto cells = [&] {
    return base::attempt([&] { check_cells(folder, scratch, language, context.file, opener, findings); });
  };
  const auto unused = [&] { return check_unused_variables(context, scratch); };
  const auto notes = [&] { return composition_makes_notes(folder, scratch, opener, score_opener, makes_notes); };
  if (!run_step(scratch, tables, error) || !run_step(scratch, cells, error) || !run_step(scratch, unused, error) ||
      !run_step(scratch, notes, error)) {
    context.add(std::string(), say(language, kUnreadable, error.c_str()));
    return;
  }
  if (!makes_notes && !context.told_nothing_generated) context.add(std::string(), say(language, kNoNotes));
}

}  // namespace zelvo::check
