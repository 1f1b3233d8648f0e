#pragma once

// The composition's HTML reader. Line-oriented: it relies on HTML editors
// writing `<table`, `</table`, `<tr>` and `</tr>` at the start of their own
// lines, and every cell starting on a new line and closing with `</td>` or
// `</TD>` on that line or one of the next nine. It tracks which table, row
// and column the current line belongs to and turns a cell into plain text;
// what the cells mean is the table compiler's business.
//
// It is the one reader of that layout: the table compiler, the check, the
// composition model (composition/document.h) and the intake's count of
// what the composer reads (intake/reader_shape.h) tell its lines apart by
// line_tag and close its cells by closes_cell. A file in any other layout
// is first laid out in this one (intake/composition_layout.h) from what a
// browser's parser makes of it (intake/html_tables.h): the composer's
// results depend on the layout byte for byte (the text before a line's
// first `<` ignored, 799-character lines, a cell closing within ten
// lines), which no parser of HTML as a tree reproduces, and the engines
// use the standard library alone.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "console/composition_opener.h"
#include "base/progress_lines.h"

namespace zelvo::tables {

constexpr int32_t kLineBufferSize = 800;  // one line of at most 799 characters
constexpr int32_t kCellLines = 10;        // a cell closes within this many lines
constexpr int32_t kTableKinds = 9;

// Index = table kind. Kind 8 (the empty name) is the end of the list, which
// a table whose first cell matches no name ends up at.
inline constexpr const char* kTableNames[kTableKinds] = {
    "no identificada", "TCONF", "TCAL", "TSAL", "libre", "libre", "TGENC", "TGENS", ""};

struct ReaderPosition {
  int32_t kind = -1;         // -1 outside any table
  int32_t row = -1;          // 0 = the header row
  int32_t column = -1;       // -1 outside a row
  int32_t column_count = 1;  // raised by the compile pass over the header row
  int32_t count = 0;         // which table of its kind this is (1: the first)
  int32_t table = 0;         // which table of the file this is (1: the first)
};

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};

struct TableReader {
  explicit TableReader(base::ProgressLines& progress_to) : progress(progress_to) {}

  base::ProgressLines& progress;  // where "processing table" goes, and Stop
  std::unique_ptr<FILE, FileCloser> file;
  char buffer[kLineBufferSize] = {};
  // The last cell take_cell read, as the file writes it (its lines
  // joined, markup and all), for the checks that look at what it dropped.
  char raw_cell[kLineBufferSize] = {};
  ReaderPosition position;
  int32_t tables_identified[kTableKinds] = {};  // in the current pass
};

// The name of the table the position is in, as the messages quote it: its
// kind ("TSAL"), with its count when it is not the first of its kind
// ("TSAL#2"), or "#3" (the third table of the file) when its first cell
// names no kind. These are the names a cell address takes.
std::string table_name(const ReaderPosition& position);

// Opens incom.htc or else incom.htm in `folder` (empty: the current
// directory), through `opener` when there is one; says why when neither
// opens.
base::Status open_table_input(TableReader& reader, const char* folder = "",
                      console::CompositionOpener* opener = nullptr);

// Starts a pass: position back to outside any table.
void reset_position(TableReader& reader);

// Reads the next line into reader.buffer and moves the position; at the
// first cell of a table, identifies and announces the table (the buffer
// then holds that cell's text). A read failure unwinds with its message
// (base::stop_with): walk the tables inside base::attempt.
void read_table_line(TableReader& reader);

// Turns the cell that starts with the line in the buffer into plain text
// in the buffer, reading further lines as needed, and returns the buffer. A
// cell the file ends in, that its lines do not close or that does not fit
// the buffer unwinds with its message (base::stop_with).
char* take_cell(TableReader& reader);

// Reads one line of at most 799 characters (with its newline, when it fits)
// into `line`, which holds kLineBufferSize characters; a CR LF end is read
// as LF. False at the end of the file or on an error.
bool read_text_line(FILE* file, char* line);

bool starts_with_nocase(const char* prefix, const char* text);

// What a line of the layout begins with, case aside: `<table`, `</table`,
// `<tr>`, `</tr>`, `<td` or `</html>` (each tells a different line).
enum class LineTag : uint8_t { kOther, kTable, kTableEnd, kRow, kRowEnd, kCell, kHtmlEnd };

// The tag `text` begins with, up to its end or a NUL byte.
LineTag tag_at_start(std::string_view text);

// The rules of the layout, for whoever else walks it as this reader does:
// a line counts from its first `<` (what comes before is ignored), and a
// cell closes on the line that holds `</td>` or `</TD>`, no other spelling.
std::string_view from_first_tag(std::string_view line);
bool closes_cell(std::string_view text);
// The tag a line of the layout begins with, read from its first `<`.
inline LineTag line_tag(std::string_view line) { return tag_at_start(from_first_tag(line)); }

// Decodes &amp; &gt; &lt; and removes tags and other entities, in place.
void strip_markup(char* text);

// Tabs become spaces, the text ends at a newline, and only single spaces
// between two letters or digits survive.
void normalise_spaces(char* text);

}  // namespace zelvo::tables
