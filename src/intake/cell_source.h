#pragma once

// Where a table cell's text stands in an HTML document's bytes, so that an
// edit can change the text and keep the markup around it (a styled
// paragraph stays styled). Plain byte scanning over ASCII markup, which
// reads Windows-1252 and UTF-8 alike.
#include <cstddef>
#include <string_view>

namespace zelvo::intake {

struct TextSpan {
  size_t begin = 0;
  size_t end = 0;
};
inline constexpr TextSpan kNoSource{std::string_view::npos, std::string_view::npos};

// The position of the next `<td` or `<th` tag at or after `from`, comments
// skipped; npos when there is none.
size_t find_cell_tag(std::string_view html, size_t from);

// Just after the `>` that ends the tag starting at `tag`; npos when it
// never ends.
size_t tag_end(std::string_view html, size_t tag);

// The text of the cell whose content starts at `content` (just after its
// opening tag) and ends at its closing tag, at the next cell, row or table
// part, or at the end of `html` (a table inside the cell belongs to it):
// from its first character that is neither markup nor white space (a
// no-break space entity counts as white space) to just after its last. A cell without text gives the empty span where text goes:
// before the first end tag or `<br` inside it, else at its end.
TextSpan cell_text_span(std::string_view html, size_t content);

}  // namespace zelvo::intake
