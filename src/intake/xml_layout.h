#pragma once

#include <string>

#include <pugixml.hpp>

namespace zelvo::intake {

// Why the harmonizer's score readers read lines rather than the parsed
// document: a score already written one element per line reaches them
// untouched, and what they make of it depends on its lines as written (the
// line an error names; what a line holding more or less than one element
// gives). Reading the parsed document would change those results.
// So every other score is parsed once, laid out here, and read by the same
// line readers: one layout, one reader.
//
// Writes a parsed score as the line readers expect it: UTF-8, one element
// per line, indented by depth; an element holding only text on one line
// with its text (trimmed, line breaks made spaces); a measure's number, a
// part's id and a tie's type as the first attribute; comments, processing
// instructions and the document type left out.
std::string lay_out(const pugi::xml_document& document);

}  // namespace zelvo::intake
