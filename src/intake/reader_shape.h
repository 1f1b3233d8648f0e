#pragma once

// What the table reader makes of a document's structure: how many cells it
// finds in each row of each table.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace zelvo::intake {

// Per table (in document order), per row, the number of cells. Rows and
// tables without cells are left out, as read_html_tables leaves them out.
using TableShape = std::vector<std::vector<int32_t>>;

// The shape the composer's reader walks, row 0 counted as its compile pass
// counts header cells and the other rows cell by cell; nullopt when the
// reader refuses the document (a cell that does not close, no `</html>`).
std::optional<TableShape> reader_shape(std::string_view document);

}  // namespace zelvo::intake
