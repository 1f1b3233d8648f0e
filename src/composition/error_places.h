#pragma once

// The cells the composer's messages and the check's findings point at.
// Messages name a place as "table TSAL, row 2, column 3" (or "tabla TSAL,
// fila 2, columna 3"; the column may be missing); the table is named as a
// cell address names it: by kind for the first of its kind, with its count
// after (TSAL#2) for a later one, "#3" for one whose first cell names no
// kind. The refusal of a second TCAL table points at that table's first cell.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "composition/document.h"

namespace zelvo::composition {

struct ErrorPlace {
  int32_t table = -1;
  int32_t row = -1;
  int32_t column = -1;  // -1: the whole row
  std::string message;  // the line that named it, trimmed
};

// The place one line names, if it names one in this document.
bool error_place_in_line(const Document& document, std::string_view line, ErrorPlace& place);

// Every place named in `text`, line by line, in order.
std::vector<ErrorPlace> error_places(const Document& document, std::string_view text);

}  // namespace zelvo::composition
