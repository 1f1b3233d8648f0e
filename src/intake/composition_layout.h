#pragma once

// The layout step in front of the composer's table reader. The reader reads
// the layout the examples are written in: `<table`, `<tr>`, `</tr>` and
// `</table>` each at the start of a line, every cell starting on a line of
// its own, the document ending at a `</html>` line. HTML editors, office
// programs and converters write tables that browsers show just as well in
// other ways: compact lines, attributes on row tags, `<th>` cells, cells
// split across lines, wrappers, no-break spaces, UTF-8.
#include <string>
#include <string_view>
#include <vector>

#include "intake/html_tables.h"

namespace zelvo::intake {

// `html` in the reader's layout. A document the reader already reads as a
// browser shows it (the same tables, rows and cells) comes back unchanged,
// byte for byte, and so do one that has no table at all, one with a cell
// too long for the reader and one it would refuse even laid out. Any other is
// written anew: one `<table>`, `<tr>` or cell per line, each cell's text
// spelled as the reader reads it (see spell_cell_text), ending at
// `</html>`; nothing but the tables is kept. A document starting with a
// UTF-8 byte order mark is recoded to Windows-1252 first.
std::string lay_out_composition(std::string_view html);

// lay_out_composition's result, and when the document was written anew,
// the tables it was written from (with their cells' places in `html`).
struct CompositionLayout {
  std::string html;
  bool written_anew = false;
  std::vector<HtmlTable> tables;  // only when written_anew
};
CompositionLayout read_composition_layout(std::string_view html);

}  // namespace zelvo::intake
