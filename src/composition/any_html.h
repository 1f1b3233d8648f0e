#pragma once

// A composition written by any HTML editor (an office program, a converter,
// a browser), read as the composer reads it and written back with only the
// edited cells' text changed.
#include <string>
#include <string_view>

#include "composition/document.h"

namespace zelvo::composition {

// The tables as the composer reads `html`: the file itself when the
// composer reads it as it is, else the layout the composer reads it in,
// remembering the file (Document::source) and where each cell's text
// stands in it.
Document read_any_html(std::string_view html);

// The bytes to save. A document read as it is: write_document. One laid out
// from its source: the source with each edited cell's text replaced and
// every tag kept, provided that file reads back as the document's tables
// (the same tables, rows and cells, with the new texts); false when it
// would not (a row or table added or removed, a cell with no place of its
// own), leaving `bytes` alone.
bool write_in_place(const Document& document, std::string& bytes);

// write_in_place, or else the document in the composer's layout (the
// source's text outside the tables is then lost).
std::string write_any_html(const Document& document);

}  // namespace zelvo::composition
