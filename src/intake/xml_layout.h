#pragma once

#include <string>

#include <pugixml.hpp>

namespace zelvo::intake {

// Writes a parsed score as the line readers expect it: UTF-8, one element
// per line, indented by depth; an element holding only text on one line
// with its text (trimmed, line breaks made spaces); a measure's number, a
// part's id and a tie's type as the first attribute; comments, processing
// instructions and the document type left out.
std::string lay_out(const pugi::xml_document& document);

}  // namespace zelvo::intake
