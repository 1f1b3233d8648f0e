#pragma once

// The composition's tables for reading on a terminal or by a script.
#include <string>

#include "composition/document.h"

namespace zelvo::composition {

// Every table as an aligned grid, its label above it, the column numbers
// on top and the row numbers on the left, counted as the composer's
// messages count them. UTF-8.
std::string grid_text(const Document& document);

// {"tables":[{"label":"TSAL","kind":"TSAL","rows":[["TSAL","channel",...],...]},...]}
// UTF-8, one table per line.
std::string grid_json(const Document& document);

}  // namespace zelvo::composition
