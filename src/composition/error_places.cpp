#include "composition/error_places.h"

#include <initializer_list>

#include "composition/address.h"
#include "base/message_table.h"

namespace zelvo::composition {

namespace {

// The number after `label ` at `at`, if any; `at` moves past it.
bool number_after(std::string_view line, size_t& at, std::initializer_list<const char*> labels, int32_t& number) {
  for (const char* label : labels) {
    const std::string prefix = std::string(label) + " ";
    if (line.compare(at, prefix.size(), prefix) != 0) continue;
    size_t end = at + prefix.size();
    while (end < line.size() && line[end] >= '0' && line[end] <= '9') ++end;
    if (!parse_count(line.substr(at + prefix.size(), end - at - prefix.size()), number)) return false;
    at = end;
    return true;
  }
  return false;
}

std::string trimmed(std::string_view line) {
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  while (!line.empty() && (line.back() == ' ' || line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  return std::string(line);
}

// The refusal of a second TCAL table names no place: the table it means is
// the second one, marked at its first cell.
bool second_variable_table(const Document& document, std::string_view line, ErrorPlace& place) {
  const base::MessagePair texts = base::texts_of(base::MessageId::kSecondVariableTable);
  for (std::string_view text : {texts.english, texts.spanish}) {
    while (!text.empty() && text.front() == '\n') text.remove_prefix(1);
    const std::string wanted = trimmed(text);
    if (trimmed(line) != wanted) continue;
    int32_t table = -1;
    int32_t name_row = -1;
    if (!resolve_table(document, "TCAL#2", table, name_row).ok()) return false;
    place = ErrorPlace{table, 0, 0, wanted};
    return true;
  }
  return false;
}

}  // namespace

bool error_place_in_line(const Document& document, std::string_view line, ErrorPlace& place) {
  if (second_variable_table(document, line, place)) return true;
  for (const char* word : {"table ", "tabla "}) {
    for (size_t at = line.find(word); at != std::string_view::npos; at = line.find(word, at + 1)) {
      size_t end = at + 6;
      while (end < line.size() && line[end] != ',' && line[end] != ' ') ++end;
      if (end + 2 > line.size() || line[end] != ',') continue;
      const std::string_view name = line.substr(at + 6, end - at - 6);
      size_t cursor = end + 2;
      int32_t row = -1;
      if (!number_after(line, cursor, {"row", "fila", "linea"}, row)) continue;
      int32_t column = -1;
      if (line.compare(cursor, 2, ", ") == 0) {
        cursor += 2;
        if (!number_after(line, cursor, {"column", "columna"}, column)) column = -1;
      }
      int32_t table = -1;
      int32_t name_row = -1;
      if (!resolve_table(document, name, table, name_row).ok() || name_row >= 0) continue;
      place = ErrorPlace{table, row, column, trimmed(line)};
      return true;
    }
  }
  return false;
}

std::vector<ErrorPlace> error_places(const Document& document, std::string_view text) {
  std::vector<ErrorPlace> places;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    ErrorPlace place;
    if (error_place_in_line(document, text.substr(start, end - start), place)) places.push_back(place);
    start = end + 1;
  }
  return places;
}

}  // namespace zelvo::composition
