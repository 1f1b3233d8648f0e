// A single expression cell, compiled into a program of its own next to the
// programs of a small composition that declares variables and generators,
// then run.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "composer/composer_state.h"
#include "fuzz_support.h"
#include "machine/machine_state.h"
#include "machine/opcodes.h"
#include "tables/composition.h"
#include "tables/expression_compiler.h"
#include "tables/html_reader.h"
#include "tables/table_compiler.h"

namespace {

// Names the cells can refer to: variables, generators of both kinds and
// their parameters.
constexpr const char* kDocument =
    "<html>\n<body>\n<table>\n<tr>\n<td>TCONF</td>\n</tr>\n<tr>\n<td>valores</td>\n<td>8</td>\n<td>120</td>\n<td>4</td>\n<td>4</td>\n"
    "<td>0</td>\n<td>7</td>\n</tr>\n</table>\n"
    "<table>\n<tr>\n<td>TCAL</td>\n<td>valor</td>\n</tr>\n"
    "<tr>\n<td>a</td>\n<td>1+2</td>\n</tr>\n<tr>\n<td>b</td>\n<td>a*3</td>\n</tr>\n"
    "<tr>\n<td>tono</td>\n<td>C4n</td>\n</tr>\n</table>\n"
    "<table>\n<tr>\n<td>TGENC</td>\n<td>orden</td>\n<td>n</td>\n<td>m</td>\n</tr>\n"
    "<tr>\n<td></td>\n<td>1</td>\n<td>0</td>\n<td>1</td>\n</tr>\n"
    "<tr>\n<td>g1</td>\n<td>1</td>\n<td>a</td>\n<td>b</td>\n</tr>\n</table>\n"
    "<table>\n<tr>\n<td>TSAL</td>\n<td>i</td>\n<td>n</td>\n<td>d</td>\n<td>p</td>\n<td>v</td>\n</tr>\n"
    "<tr>\n<td>1</td>\n<td>1</td>\n<td>tono</td>\n<td>48</td>\n<td>1</td>\n<td>100</td>\n</tr>\n"
    "</table>\n</body>\n</html>\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo;
  // A cell is one line of the reader: at most 799 characters.
  if (size >= static_cast<size_t>(tables::kLineBufferSize)) return 0;
  console::JobConsole& console = fuzz::fuzz_console();
  static auto* state = new composer::ComposerState();
  static auto* compiled = new composer::ComposerState();
  static const bool ready = [&] {
    fuzz::write_file("incom.htm", kDocument);
    fuzz::run_job(console, [&] {
      fuzz::or_abort(console, tables::compile_tables(compiled->composition, compiled->machine, console,
                                                     fuzz::scratch_folder().c_str()));
    });
    // Without its names every cell would only meet "not declared".
    if (compiled->composition.symbol_count < 7) std::abort();
    return true;
  }();
  (void)ready;
  static auto* pristine = new tables::Composition(compiled->composition);
  // Fresh tables for every input; the value pointers of the copy point into
  // `compiled`, so the cell runs against that composition, reset too.
  std::memcpy(static_cast<void*>(&state->machine), &compiled->machine, sizeof state->machine);
  std::memcpy(static_cast<void*>(&compiled->composition), pristine, sizeof *pristine);

  char text[tables::kLineBufferSize];
  std::memcpy(text, data, size);
  text[size] = '\0';
  tables::ReaderPosition position;
  position.kind = tables::kKindVariables;
  position.row = 1;
  position.column = 1;
  fuzz::run_job(console, [&] {
    tables::CompileContext context{compiled->composition, state->machine, position};
    const uint32_t start = tables::begin_program(context);
    tables::compile_cell(context, text);
    tables::end_program(context);
    machine::run_program(state->machine, start);
  });
  return 0;
}
