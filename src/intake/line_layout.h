#pragma once

#include <string_view>

namespace zelvo::intake {

// Whether `document` is written in the table reader's own line layout: a
// cell (`<td`) or a row (`<tr>`, without attributes) only ever starts a line,
// no header cell (`<th`), no row ended on a cell's line (text before a
// line's first `<` is not counted, as the reader drops it). Such a document is read exactly as
// it always was, even where a browser would show it otherwise (a `</Td>`
// that does not close its cell, a document without `</html>`): works
// written in that layout keep their results.
bool in_line_layout(std::string_view document);

}  // namespace zelvo::intake
