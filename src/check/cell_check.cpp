#include "check/cell_check.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "check/check_messages.h"
#include "tables/html_reader.h"
#include "tables/table_compiler.h"

namespace zelvo::check {

namespace {

constexpr size_t kQuoted = 40;  // a long text is quoted cut short

// The elements HTML editors write inside and around table cells.
constexpr std::string_view kElements[] = {
    "a",     "abbr",   "address", "b",    "big",    "blockquote", "body",   "br",     "caption",
    "center", "cite",  "code",    "col",  "colgroup", "dd",       "del",    "div",    "dl",
    "dt",    "em",     "font",    "h1",   "h2",     "h3",         "h4",     "h5",     "h6",
    "head",  "hr",     "html",    "i",    "img",    "ins",        "kbd",    "label",  "li",
    "link",  "mark",   "meta",    "nobr", "o:p",    "ol",         "p",      "pre",    "q",
    "s",     "samp",   "script",  "small", "span",  "strike",     "strong", "style",  "sub",
    "sup",   "table",  "tbody",   "td",   "tfoot",  "th",         "thead",  "title",  "tr",
    "tt",    "u",      "ul",      "var",  "wbr"};

bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_name_char(char c) { return is_letter(c) || (c >= '0' && c <= '9') || c == ':'; }
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string quoted(std::string_view text) {
  std::string out(text.substr(0, kQuoted));
  std::replace(out.begin(), out.end(), '\n', ' ');
  return text.size() > kQuoted ? out + "..." : out;
}

bool is_checked_kind(int32_t kind) {
  return kind == tables::kKindConfig || kind == tables::kKindVariables || kind == tables::kKindOutputs ||
         kind == tables::kKindCalculated || kind == tables::kKindSequence;
}

struct Row {
  std::string table;
  int32_t row = 0;
  int32_t cells = 0;
};

struct Table {
  std::string name;
  std::vector<std::string> titles;  // the header's cells
  std::vector<Row> rows;
};

void report_rows(const Table& table, int language, const std::string& file, Findings& findings) {
  const auto header = static_cast<int32_t>(table.titles.size());
  for (const Row& row : table.rows) {
    if (row.cells == header) continue;
    const std::string place = say(language, kPlaceRow, table.name.c_str(), row.row);
    if (row.cells < header) {
      findings.push_back({file, place, say(language, kFewerCells, row.cells, header, row.cells,
                                           quoted(table.titles[static_cast<size_t>(row.cells)]).c_str())});
    } else {
      findings.push_back({file, place, say(language, kMoreCells, row.cells, header, header)});
    }
  }
}

}  // namespace

std::string dropped_as_tag(std::string_view raw) {
  for (size_t at = 0; at < raw.size(); ++at) {
    if (raw[at] != '<') continue;
    size_t name_at = at + 1;
    if (name_at < raw.size() && raw[name_at] == '/') ++name_at;
    // What cannot start a tag stays in the text; comments are editors' own.
    if (name_at >= raw.size() || !is_letter(raw[name_at])) continue;
    size_t end = name_at;
    std::string name;
    while (end < raw.size() && is_name_char(raw[end])) name += lower(raw[end++]);
    // The reader deletes back to the last `<` before the `>`, not to this one.
    const size_t close = raw.find('>', end);
    if (close == std::string_view::npos || raw.substr(end, close - end).find('<') != std::string_view::npos) continue;
    const bool name_ends = raw[end] == '>' || raw[end] == '/' || raw[end] == ' ' || raw[end] == '\t' ||
                           raw[end] == '\n' || raw[end] == '\r';
    if (name_ends && std::find(std::begin(kElements), std::end(kElements), name) != std::end(kElements)) {
      at = close;
      continue;
    }
    return std::string(raw.substr(at, close - at + 1));
  }
  return std::string();
}

void check_cells(const std::string& folder, console::JobConsole& scratch, int language, const std::string& file,
                 console::CompositionOpener* opener, Findings& findings) {
  tables::TableReader reader(scratch);
  if (base::Status opened = tables::open_table_input(reader, folder.c_str(), opener); !opened.ok()) {
    base::stop_with(opened.error());
  }
  tables::reset_position(reader);
  tables::ReaderPosition& at = reader.position;
  std::vector<Table> tables_read;
  for (;;) {
    const int32_t kind_before = at.kind;
    tables::read_table_line(reader);
    if (tables::starts_with_nocase("</html>", reader.buffer)) break;
    if (!is_checked_kind(at.kind) || at.row < 0) continue;
    if (at.row == 0) {
      // The line that named the table holds its first cell's text.
      if (kind_before != at.kind) {
        tables_read.push_back({tables::table_name(at), {reader.buffer}, {}});
      } else if (tables::starts_with_nocase("<td", reader.buffer) && !tables_read.empty()) {
        tables_read.back().titles.push_back(tables::take_cell(reader));
      }
      continue;
    }
    if (at.column < 0 || tables_read.empty()) continue;
    Table& table = tables_read.back();
    if (table.rows.empty() || table.rows.back().row != at.row) table.rows.push_back({table.name, at.row, 0});
    tables::take_cell(reader);
    const std::string dropped = dropped_as_tag(reader.raw_cell);
    if (!dropped.empty()) {
      findings.push_back({file, say(language, kPlaceCell, table.name.c_str(), at.row, at.column),
                          say(language, kDroppedAsTag, quoted(dropped).c_str())});
    }
    ++table.rows.back().cells;
    ++at.column;
  }
  for (const Table& table : tables_read) report_rows(table, language, file, findings);
}

}  // namespace zelvo::check
