#include "composition/operations.h"

#include <algorithm>
#include <vector>

#include "base/message_id.h"
#include "composition/address.h"
#include "composition/kinds.h"
#include "tables/composition.h"

namespace zelvo::composition {

using enum base::MessageId;

namespace {

bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_name_char(char c) { return is_letter(c) || (c >= '0' && c <= '9'); }
char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_name(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return fold(x) == fold(y); });
}

bool has_table(const Document& document, int32_t table) {
  return table >= 0 && table < static_cast<int32_t>(document.tables.size());
}

// The refusal of a table index the document does not have, as an address
// names it (#N counts from 1).
base::Message no_table(const Document& document, int32_t table) {
  return base::Message(kNoTableNumbered, "#" + std::to_string(int64_t{table} + 1), document.tables.size());
}

// The refusal of a data row outside first..last.
base::Message no_row(const Document& document, int32_t table, int32_t row, int32_t first, int32_t last) {
  return base::Message(kNoRowForEdit, row, table_label(document, table), first, last);
}

bool is_generator_table(int32_t kind) { return kind >= tables::kKindCalculated; }

// The rows of a table that declare names: a variable from row 1, a
// generator from row 2 (row 1 holds the defaults).
int32_t first_name_row(int32_t kind) {
  if (kind == tables::kKindVariables) return 1;
  if (is_generator_table(kind)) return 2;
  return -1;
}

Row new_row(const Document& document, const std::vector<std::string>& texts) {
  Row row{"<tr>" + document.line_end, {}, "</tr>" + document.line_end};
  for (const std::string& text : texts) row.cells.push_back(Cell{text, "", "", "", std::string::npos, std::string::npos});
  return row;
}

// Replaces every name token of `text` before a `//` comment that matches
// one of `from` (case aside) by the same-index entry of `to`.
bool rename_in(std::string& text, const std::vector<std::string>& from, const std::vector<std::string>& to) {
  const size_t comment = text.find("//");
  const size_t end = comment == std::string::npos ? text.size() : comment;
  std::string out;
  bool changed = false;
  size_t i = 0;
  while (i < end) {
    if (!is_name_char(text[i])) {
      out += text[i++];
      continue;
    }
    size_t j = i;
    while (j < end && is_name_char(text[j])) ++j;
    const std::string_view token(text.data() + i, j - i);
    size_t match = 0;
    while (match < from.size() && !same_name(token, from[match])) ++match;
    if (is_letter(text[i]) && match < from.size()) {
      out += to[match];
      changed = true;
    } else {
      out += token;
    }
    i = j;
  }
  out += text.substr(end);
  if (changed) text = std::move(out);
  return changed;
}

bool declared_anywhere(const Document& document, std::string_view name) {
  int32_t table = 0;
  int32_t row = 0;
  if (find_symbol(document, name, table, row)) return true;
  // A generator also declares three derived names.
  for (const Table& each : document.tables) {
    const int32_t kind = table_kind(each);
    if (!is_generator_table(kind)) continue;
    for (size_t r = 2; r < each.rows.size(); ++r) {
      if (each.rows[r].cells.empty()) continue;
      const std::string declared = compiled_text(each.rows[r].cells[0].text);
      for (const char* suffix : {"u", "i", "k"}) {
        if (!declared.empty() && same_name(name, declared + suffix)) return true;
      }
    }
  }
  return false;
}

}  // namespace

int32_t column_count(const Table& table) {
  return table.rows.empty() ? 0 : static_cast<int32_t>(table.rows[0].cells.size());
}

base::Status set_cell(Document& document, int32_t table, int32_t row, int32_t column, std::string_view text) {
  if (!has_table(document, table)) return no_table(document, table);
  if (base::Status place = check_place(document, {table, row, column}); !place.ok()) return place;
  std::vector<Cell>& cells = document.tables[table].rows[row].cells;
  while (static_cast<int32_t>(cells.size()) <= column) cells.push_back(Cell{});
  Cell& cell = cells[column];
  if (!cell.raw.empty() && cell.text == text) return base::Status();  // keeps the bytes
  cell.text = std::string(text);
  cell.raw.clear();
  return base::Status();
}

base::Status insert_row(Document& document, int32_t table, int32_t row) {
  if (!has_table(document, table)) return no_table(document, table);
  Table& target = document.tables[table];
  const auto rows = static_cast<int32_t>(target.rows.size());
  if (row < 1 || row > rows) return no_row(document, table, row, 1, rows);
  target.rows.insert(target.rows.begin() + row,
                     new_row(document, std::vector<std::string>(static_cast<size_t>(column_count(target)))));
  return base::Status();
}

base::Status delete_row(Document& document, int32_t table, int32_t row) {
  if (!has_table(document, table)) return no_table(document, table);
  Table& target = document.tables[table];
  const auto rows = static_cast<int32_t>(target.rows.size());
  if (row < 1 || row >= rows) return no_row(document, table, row, 1, rows - 1);
  target.rows.erase(target.rows.begin() + row);
  return base::Status();
}

base::Status move_row(Document& document, int32_t table, int32_t from, int32_t to) {
  if (!has_table(document, table)) return no_table(document, table);
  std::vector<Row>& rows = document.tables[table].rows;
  const auto count = static_cast<int32_t>(rows.size());
  if (from < 1 || from >= count) return no_row(document, table, from, 1, count - 1);
  if (to < 1 || to >= count) return no_row(document, table, to, 1, count - 1);
  Row moving = std::move(rows[from]);
  rows.erase(rows.begin() + from);
  rows.insert(rows.begin() + to, std::move(moving));
  return base::Status();
}

base::Status add_table(Document& document, int32_t kind, int32_t& index) {
  const std::vector<std::string> header = new_table_header(kind);
  if (header.empty()) return base::Message(kNoTableKindToAdd, kind);
  Table table;
  table.open = "<table border=1 cellpadding=4>" + document.line_end;
  table.rows.push_back(new_row(document, header));
  table.rows.push_back(new_row(document, new_table_first_row(kind)));
  table.close = "</table>" + document.line_end;
  if (document.tables.empty()) {
    // Before the end of the body, or at the very end.
    size_t at = document.tail.find("</body>");
    if (at == std::string::npos) at = document.tail.find("</html>");
    if (at == std::string::npos) at = document.tail.size();
    while (at > 0 && document.tail[at - 1] != '\n') --at;
    table.before = document.tail.substr(0, at);
    document.tail.erase(0, at);
  }
  document.tables.push_back(std::move(table));
  index = static_cast<int32_t>(document.tables.size()) - 1;
  return base::Status();
}

base::Status delete_table(Document& document, int32_t table) {
  if (!has_table(document, table)) return no_table(document, table);
  // The text before it stays, before whatever follows.
  std::string before = std::move(document.tables[table].before);
  document.tables.erase(document.tables.begin() + table);
  if (table < static_cast<int32_t>(document.tables.size())) {
    document.tables[table].before = before + document.tables[table].before;
  } else {
    document.tail = before + document.tail;
  }
  return base::Status();
}

bool find_symbol(const Document& document, std::string_view name, int32_t& table, int32_t& row) {
  for (size_t t = 0; t < document.tables.size(); ++t) {
    const Table& each = document.tables[t];
    const int32_t first = first_name_row(table_kind(each));
    if (first < 0) continue;
    for (size_t r = first; r < each.rows.size(); ++r) {
      if (each.rows[r].cells.empty()) continue;
      const std::string declared = compiled_text(each.rows[r].cells[0].text);
      if (!declared.empty() && same_name(declared, name)) {
        table = static_cast<int32_t>(t);
        row = static_cast<int32_t>(r);
        return true;
      }
    }
  }
  return false;
}

base::Status rename_symbol(Document& document, std::string_view old_name, std::string_view new_name,
                           int32_t& changed) {
  changed = 0;
  int32_t table = 0;
  int32_t row = 0;
  if (!find_symbol(document, old_name, table, row)) return base::Message(kRenameNotDeclared, std::string(old_name));
  const bool generator = is_generator_table(table_kind(document.tables[table]));
  // A generator's derived names take one letter more.
  const int32_t longest = generator ? tables::kMaxNameLength - 1 : tables::kMaxNameLength;
  if (new_name.empty() || !is_letter(new_name[0]) || new_name.size() > static_cast<size_t>(longest) ||
      !std::all_of(new_name.begin(), new_name.end(), is_name_char)) {
    return base::Message(kRenameBadName, std::string(new_name), longest);
  }
  std::vector<std::string> from{std::string(old_name)};
  std::vector<std::string> to{std::string(new_name)};
  if (generator) {
    for (const char* suffix : {"u", "i", "k"}) {
      from.push_back(std::string(old_name) + suffix);
      to.push_back(std::string(new_name) + suffix);
    }
  }
  if (!same_name(old_name, new_name)) {
    for (const std::string& name : to) {
      if (declared_anywhere(document, name)) return base::Message(kRenameNameTaken, name);
    }
  }
  for (Table& each : document.tables) {
    const int32_t kind = table_kind(each);
    const int32_t columns = column_count(each);
    for (size_t r = 0; r < each.rows.size(); ++r) {
      std::vector<Cell>& cells = each.rows[r].cells;
      for (size_t c = 0; c < cells.size(); ++c) {
        if (!is_read_cell(kind, static_cast<int32_t>(r), static_cast<int32_t>(c), columns)) continue;
        if (rename_in(cells[c].text, from, to)) {
          cells[c].raw.clear();
          ++changed;
        }
      }
    }
  }
  return base::Status();
}

}  // namespace zelvo::composition
