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

// What the composer's reader makes of a document: the shape it walks, row 0
// counted as its compile pass counts header cells and the other rows cell
// by cell, or no shape when it refuses the document (a cell that does not
// close, no `</html>`); `cell_too_long` tells a refusal for a cell longer
// than the reader holds, which no layout mends.
struct ReaderReading {
  std::optional<TableShape> shape;
  bool cell_too_long = false;
};

ReaderReading reader_shape(std::string_view document);

}  // namespace zelvo::intake
