#pragma once

// The tables of an HTML document as a browser shows them, read with
// libxml2's HTML parser (which mends what editors and hands leave broken
// the way browsers do).
#include <string>
#include <string_view>
#include <vector>

#include "intake/cell_source.h"

namespace zelvo::intake {

// One table: its rows of cells, each cell's text spelled as the table
// reader reads it (see spell_cell_text). Rows without cells are left out; a
// cell spanning n columns is followed by n - 1 empty cells so the columns
// after it keep their places. A table inside a cell is part of that cell's
// text.
struct HtmlTable {
  std::vector<std::vector<std::string>> rows;
  // Per cell (as rows), where its text stands in the bytes read: from its
  // first character that is not markup or white space to just after its
  // last, or an empty span at the place text would go in an empty cell.
  // kNoSource where the cell has no place of its own (the empty cells after
  // a spanning one) or it could not be told.
  std::vector<std::vector<TextSpan>> spans;
};

// Every table with at least one cell, in document order. `html` is UTF-8
// when it begins with a byte order mark or its head names UTF-8 as its
// charset, UTF-16 with a byte order mark, else Windows-1252.
std::vector<HtmlTable> read_html_tables(std::string_view html);

// Whether read_html_tables reads `html` as UTF-8 (else Windows-1252, or
// UTF-16 with its byte order mark).
bool reads_as_utf8(std::string_view html);

}  // namespace zelvo::intake
