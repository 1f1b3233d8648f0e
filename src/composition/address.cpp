#include "composition/address.h"

#include <algorithm>

#include "composition/operations.h"
#include "tables/composition.h"
#include "tables/html_reader.h"
#include "tables/table_compiler.h"

namespace zelvo::composition {

namespace {

int32_t kind_of_name(std::string_view wanted) {
  for (int32_t kind = 1; kind < tables::kTableKinds - 1; ++kind) {
    const std::string name = tables::kTableNames[kind];
    if (wanted.size() == name.size() && tables::starts_with_nocase(name.c_str(), std::string(wanted).c_str())) return kind;
  }
  return -1;
}

// Both entries of the free table's name count as one kind.
int32_t kind_group(int32_t kind) { return kind == tables::kKindFreeToo ? tables::kKindFree : kind; }

}  // namespace

using enum base::MessageId;

bool parse_count(std::string_view text, int32_t& number) {
  if (text.empty() || text.size() > 6) return false;
  number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  return true;
}

std::string table_label(const Document& document, int32_t table) {
  const int32_t kind = kind_group(table_kind(document.tables[table]));
  const char* name = kind_name(kind);
  if (name[0] == '\0') return "#" + std::to_string(table + 1);
  int32_t count = 0;
  int32_t place = 0;
  for (int32_t t = 0; t < static_cast<int32_t>(document.tables.size()); ++t) {
    if (kind_group(table_kind(document.tables[t])) != kind) continue;
    ++count;
    if (t == table) place = count;
  }
  return count > 1 ? std::string(name) + "#" + std::to_string(place) : std::string(name);
}

base::Status resolve_table(const Document& document, std::string_view wanted, int32_t& table, int32_t& name_row) {
  const std::string typed(wanted);
  name_row = -1;
  const size_t hash = wanted.find('#');
  const std::string_view kind_text = wanted.substr(0, hash);
  int32_t place = 1;
  if (hash != std::string_view::npos && !parse_count(wanted.substr(hash + 1), place)) {
    return base::Message(kBadTableCount, typed);
  }
  if (kind_text.empty() && hash != std::string_view::npos) {
    table = place - 1;
    if (table >= 0 && table < static_cast<int32_t>(document.tables.size())) return base::Status();
    return base::Message(kNoTableNumbered, typed, document.tables.size());
  }
  const int32_t kind = kind_of_name(kind_text);
  if (kind < 0) {
    if (hash == std::string_view::npos && find_symbol(document, wanted, table, name_row)) return base::Status();
    return base::Message(kNoTableNamed, typed);
  }
  int32_t seen = 0;
  for (int32_t t = 0; t < static_cast<int32_t>(document.tables.size()); ++t) {
    if (kind_group(table_kind(document.tables[t])) == kind_group(kind) && ++seen == place) {
      table = t;
      return base::Status();
    }
  }
  if (seen == 1) return base::Message(kOnlyOneTableOfKind, typed, tables::kTableNames[kind]);
  return base::Message(kNoTableOfKind, typed, seen, tables::kTableNames[kind]);
}

base::Status check_place(const Document& document, const CellAddress& at) {
  const Table& table = document.tables[at.table];
  const auto rows = static_cast<int32_t>(table.rows.size());
  if (at.row < 0 || at.row >= rows) {
    return base::Message(kNoRowInTable, at.row, table_label(document, at.table), rows - 1);
  }
  const int32_t columns = std::max(column_count(table), static_cast<int32_t>(table.rows[at.row].cells.size()));
  if (at.column < 0 || at.column >= columns) {
    return base::Message(kNoColumnInTable, at.column, table_label(document, at.table), columns - 1);
  }
  return base::Status();
}

base::Status check_cell(const Document& document, const CellAddress& at, std::string_view value) {
  if (base::Status place = check_place(document, at); !place.ok()) return place;
  const Table& table = document.tables[at.table];
  const std::string label = table_label(document, at.table);
  const std::string where = label + ":" + std::to_string(at.row) + ":" + std::to_string(at.column);
  if (value.find_first_of("\r\n") != std::string_view::npos) return base::Message(kValueOfOneLine, where);
  if (cell_line(value).size() >= static_cast<size_t>(tables::kLineBufferSize) - 2) {
    return base::Message(kValueTooLong, where);
  }
  const int32_t kind = table_kind(table);
  const bool numbers_only = at.row == 1 && at.column >= 1 &&
                            (kind == tables::kKindConfig ||
                             ((kind >= tables::kKindCalculated) && at.column <= column_count(table) - 2));
  if (numbers_only && !value.empty() && !tables::is_number(compiled_text(value).c_str())) {
    return base::Message(kValueNotANumber, std::string(value), where);
  }
  return base::Status();
}

base::Status parse_setting(const Document& document, std::string_view setting, CellAddress& at, std::string& value) {
  const std::string typed(setting);
  const size_t equals = setting.find('=');
  if (equals == std::string_view::npos) return base::Message(kBadSetting, typed);
  value = std::string(setting.substr(equals + 1));
  const std::string_view address = setting.substr(0, equals);
  const size_t first = address.find(':');
  const size_t second = first == std::string_view::npos ? first : address.find(':', first + 1);
  if (first == std::string_view::npos) return base::Message(kBadSetting, typed);
  int32_t name_row = -1;
  if (base::Status found = resolve_table(document, address.substr(0, first), at.table, name_row); !found.ok()) {
    return found;
  }
  const std::string_view row_text = second == std::string_view::npos ? std::string_view() : address.substr(first + 1, second - first - 1);
  const std::string_view column_text = address.substr((second == std::string_view::npos ? first : second) + 1);
  if (second == std::string_view::npos) {
    if (name_row < 0) return base::Message(kSettingWithoutRow, typed);
    at.row = name_row;
  } else if (!parse_count(row_text, at.row)) {
    return base::Message(kBadRowInSetting, std::string(row_text), typed);
  }
  if (!parse_count(column_text, at.column)) return base::Message(kBadColumnInSetting, std::string(column_text), typed);
  return check_cell(document, at, value);
}

}  // namespace zelvo::composition
