#pragma once

// What each kind of table holds: the header and row 1 a new table starts
// with (as the template writes them) and what each column means. The column
// texts are the rows of the tables in docs/zelvo_eng.md and, in Spanish,
// docs/zelvo_spa.md, word for word (a test holds them together), so a
// tooltip says what the manual says. Text is UTF-8: it goes to the window.
#include <cstdint>
#include <string>
#include <vector>

namespace zelvo::composition {

struct ColumnHelp {
  const char* meaning;  // the manual's second column
  const char* note;     // its third: the use, or what an empty cell means
};

// The header row and row 1 of a new table of `kind` (tables::kKind*);
// empty for a kind that cannot be added.
std::vector<std::string> new_table_header(int32_t kind);
std::vector<std::string> new_table_first_row(int32_t kind);

// Help for column `column` of a table of `kind` in `language`
// (base::kEnglish or kSpanish, from the manual of that language); null
// where the manual says nothing (the name column, a remark column).
const ColumnHelp* column_help(int32_t kind, int32_t column, int language = 0);

// The tooltip of a column in `language`: what it means and what an empty
// cell or row 1 gives it. Empty where there is no help.
std::string column_tooltip(int32_t kind, int32_t column, int language = 0);

// Whether the composer reads the cell as an expression or number (false
// for labels, header cells and remark columns, which renames leave alone).
bool is_read_cell(int32_t kind, int32_t row, int32_t column, int32_t header_cells);

}  // namespace zelvo::composition
