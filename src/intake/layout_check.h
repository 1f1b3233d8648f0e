#pragma once

#include <cstdint>
#include <string_view>

namespace zelvo::intake {

// What one look at a score's bytes tells before any parsing.
struct LayoutCheck {
  // Every line holds at most one element (a start tag, an end tag, an empty
  // element, or a start tag, its text and its end tag), no tag runs over two
  // lines, and measure, part and tie tags name their number, id or type
  // first: the line readers read such a file as it is.
  bool laid_out = true;
  // Lines holding at least one element tag: a declaration, doctype or
  // comment alone does not count, so a score run together on the line after
  // its declaration is still mostly compound.
  int64_t tag_lines = 0;
  int64_t compound_lines = 0;  // of those, the lines not laid out as above
  bool pickup = false;         // a part's first measure is marked implicit="yes"
  bool meter_changes = false;  // <beats> or <beat-type> lines with different values
};

// A file in which at most half the tag lines are compound is laid out on
// the whole: what its line readers make of it is what they always made.
bool mostly_laid_out(const LayoutCheck& check);

// REQUIRES: `text` is the whole file, in a one-byte encoding (UTF-8 or
// Windows-1252); UTF-16 is never laid out.
LayoutCheck check_layout(std::string_view text);

}  // namespace zelvo::intake
