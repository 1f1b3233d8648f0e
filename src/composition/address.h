#pragma once

// Cell addresses as a user types them on the command line:
//   TABLE:ROW:COL=VALUE   TABLE is a kind (TCONF, TCAL, TSAL, TGENC, TGENS,
//                         libre: the first table of it), a kind and its
//                         count (TGENC#2: the second TGENC table) or #N (the
//                         N-th table of the file); ROW and COL as the
//                         composer's messages count them (row 0 = header)
//   NAME:COL=VALUE        a generator's or variable's row
// Every refusal names what it refuses.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/status.h"
#include "composition/document.h"

namespace zelvo::composition {

struct CellAddress {
  int32_t table = -1;
  int32_t row = -1;
  int32_t column = -1;
};

// The table TABLE names; for a generator's or variable's name, `name_row`
// is its row (else -1). Fails when nothing matches.
base::Status resolve_table(const Document& document, std::string_view wanted, int32_t& table, int32_t& name_row);

// How addresses and the grid call table `table`: its kind ("TSAL"), with
// "#n" when the file has more than one of that kind, or "#n" alone for a
// table of no known kind.
std::string table_label(const Document& document, int32_t table);

// Checks that the row and column of an existing table exist (the header
// row included; a row longer than the header has its extra cells).
base::Status check_place(const Document& document, const CellAddress& at);

// Checks that the row and column exist (the header row included) and that
// `value` fits the cell: one line the composer can read, and a plain
// number where the composer wants one (TCONF row 1, a generator table's
// row 1).
base::Status check_cell(const Document& document, const CellAddress& at, std::string_view value);

// TABLE:ROW:COL=VALUE or NAME:COL=VALUE, checked.
base::Status parse_setting(const Document& document, std::string_view setting, CellAddress& at, std::string& value);

// A whole number of decimal digits only.
bool parse_count(std::string_view text, int32_t& number);

}  // namespace zelvo::composition
