#pragma once

// Text of a browser's document in the spelling the table reader reads:
// one byte per character, Windows-1252.
#include <string>
#include <string_view>

namespace zelvo::intake {

// A cell's text as the reader's layout writes it: each run of white space
// (tabs, line ends, no-break spaces) becomes one space, none at the ends; `&`, `<` and `>` are written
// `&amp;`, `&lt;` and `&gt;` (the only entities the reader turns back into
// characters), a character Windows-1252 has becomes its byte and any other
// character a numeric entity, which the reader drops as it drops every
// other entity. Control characters go.
// REQUIRES: `utf8` is UTF-8 (bytes that are not pass through unchanged).
std::string spell_cell_text(std::string_view utf8);

// A whole UTF-8 document recoded to Windows-1252 byte for byte where it can
// be, characters without a byte written as numeric entities; markup stays.
std::string recode_utf8_document(std::string_view utf8);

}  // namespace zelvo::intake
