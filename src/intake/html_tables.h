#pragma once

// The tables of an HTML document as a browser shows them, read with
// libxml2's HTML parser (which mends what editors and hands leave broken
// the way browsers do).
#include <string>
#include <string_view>
#include <vector>

namespace zelvo::intake {

// One table: its rows of cells, each cell's text spelled as the table
// reader reads it (see spell_cell_text). Rows without cells are left out; a
// cell spanning n columns is followed by n - 1 empty cells so the columns
// after it keep their places. A table inside a cell is part of that cell's
// text.
struct HtmlTable {
  std::vector<std::vector<std::string>> rows;
};

// Every table with at least one cell, in document order. `html` is UTF-8
// when it begins with a byte order mark or its head names UTF-8 as its
// charset, UTF-16 with a byte order mark, else Windows-1252.
std::vector<HtmlTable> read_html_tables(std::string_view html);

}  // namespace zelvo::intake
