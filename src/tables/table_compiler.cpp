#include "tables/table_compiler.h"

namespace zelvo::tables {

void compile_tables(Composition& composition, machine::MachineState& machine,
                    console::Console& console) {
  (void)composition;
  (void)machine;
  (void)console;
}

uint32_t find_symbol_by_place(const Composition& composition, uint32_t kind, uint32_t row) {
  for (uint32_t i = 0; i < kMaxSymbols; ++i) {
    const Symbol& symbol = composition.symbols[i];
    if (symbol.kind == kind && symbol.row == row) return i;
  }
  return kNoSymbol;
}

bool is_number(const char*) { return false; }
bool is_valid_new_name(const Composition&, const char*) { return false; }

}  // namespace zelvo::tables
