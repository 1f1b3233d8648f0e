#pragma once

// Edits of a composition document. Rows and columns are counted as the
// composer's messages count them: row 0 is the header row, column 0 the
// first cell of a row. Tables are counted from 0 in file order.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/status.h"
#include "composition/document.h"

namespace zelvo::composition {

// An edit that cannot be made (a table, row, column or kind that does not
// exist; a rename's old name declared nowhere, its new name malformed or
// taken) changes nothing and says why.

// Sets the cell's text; a row shorter than the header grows with empty cells.
base::Status set_cell(Document& document, int32_t table, int32_t row, int32_t column, std::string_view text);

// A row of empty cells (as many as the header's) before `row` (1 to the row
// count: the end).
base::Status insert_row(Document& document, int32_t table, int32_t row);
base::Status delete_row(Document& document, int32_t table, int32_t row);
// Moves data row `from` so that it becomes row `to`.
base::Status move_row(Document& document, int32_t table, int32_t from, int32_t to);

// A new table of `kind` after the last table, with the header and row 1 a
// new table starts with (composition/kinds.h); `index` is set to its index.
base::Status add_table(Document& document, int32_t kind, int32_t& index);
base::Status delete_table(Document& document, int32_t table);

// Renames a generator or variable in every cell the composer reads: its
// name cell and every expression that uses it (for a generator also the
// derived names G+u, G+i, G+k). Case does not matter in the old name, as
// in the composer. `changed` counts the cells rewritten.
base::Status rename_symbol(Document& document, std::string_view old_name, std::string_view new_name,
                           int32_t& changed);

// Where a generator or variable is declared: its table and row; false when
// no table declares it.
bool find_symbol(const Document& document, std::string_view name, int32_t& table, int32_t& row);

// The number of header cells of a table (its columns).
int32_t column_count(const Table& table);

}  // namespace zelvo::composition
