#pragma once

// A composition file as tables the user can edit: every table of incom.htm
// with its kind, rows and cells, and every line outside the tables kept as
// it was. Text is Windows-1252, one byte per character, as in the file.
//
// The layout it reads and writes is the table reader's own: `<table ...>`,
// `<tr>`, `</tr>` and `</table>` each on a line of their own and one cell
// per line (`<td>text</td>`). Each element keeps the bytes it was read from,
// so a file in that layout that nobody edits is written back byte for byte;
// an edited cell is written as `<td>text</td>` with `&`, `<` and `>` escaped.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelvo::composition {

struct Cell {
  std::string text;  // as the user sees and edits it: entities decoded
  std::string raw;   // the lines it was read from; empty once edited
  std::string lead;  // stray lines before the cell, kept verbatim
  // The lines it was read from, kept through edits: an edited cell is
  // written as these with the new text in place of the old (see
  // edited_markup). Empty for a cell made anew.
  std::string markup;
  // In a document laid out from another (Document::source): where the
  // cell's text stands in the source; npos for a cell that has no place
  // there.
  size_t source_begin = std::string::npos;
  size_t source_end = std::string::npos;
};

struct Row {
  std::string open;   // "<tr>" line, after any stray lines before it
  std::vector<Cell> cells;
  std::string close;  // "</tr>" line, after any stray lines before it
};

struct Table {
  std::string before;  // the file's text between the previous table and this one
  std::string open;    // the "<table ...>" line
  std::vector<Row> rows;  // rows[0] is the header row
  std::string close;   // the "</table>" line, after any stray lines before it
};

struct Document {
  std::vector<Table> tables;
  std::string tail;           // everything after the last table
  std::string line_end = "\n";  // for lines written anew: the file's first line end
  // When the tables were read from a file in another layout (composition/
  // any_html.h): that file's bytes, whether it is UTF-8, and its cells per
  // row per table, so that edits of cell text can go back into it.
  std::string source;
  bool source_utf8 = false;
  std::vector<std::vector<size_t>> source_shape;
};

// The table kind as the composer identifies it (tables::kTableNames index):
// the first name the header's first cell begins with, case aside.
int32_t table_kind(const Table& table);
// "TCONF", "TCAL", ... or "" for a table of no known kind.
const char* kind_name(int32_t kind);

// The cell's text as the composer reads it: markup removed, spaces
// normalised, a `//` comment cut off.
std::string compiled_text(std::string_view text);

// Reads a file in the table reader's layout. Never fails: what is not a
// table line is kept verbatim where it stood.
Document read_document(std::string_view html);

// The file's bytes (see the layout above).
std::string write_document(const Document& document);

// The line an edited or new cell is written as, without its line end.
std::string cell_line(std::string_view text);

// `text` with `&`, `<` and `>` escaped and line ends dropped, as a cell holds it.
std::string escaped_text(std::string_view text);

// The cell read from `markup` (its lines, from the one with `<td`) with
// `text` in place of its text: every tag around the text stays (a styled
// paragraph stays styled), and so do the lines and white space around it.
// A cell of plain text in a bare `<td>` is written as a new cell is
// (cell_line and `line_end`).
std::string edited_markup(std::string_view markup, std::string_view text, std::string_view line_end);

}  // namespace zelvo::composition
