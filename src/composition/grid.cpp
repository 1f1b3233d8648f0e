#include "composition/grid.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "composition/address.h"
#include "base/windows1252.h"

namespace zelvo::composition {

namespace {

// Cells are Windows-1252, one byte per character, so widths are sizes.
std::string padded(const std::string& text, size_t width) {
  return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

std::string json_string(const std::string& windows1252) {
  std::string out = "\"";
  for (char c : base::to_utf8(windows1252)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

std::string grid_text(const Document& document) {
  std::string out;
  for (size_t t = 0; t < document.tables.size(); ++t) {
    const Table& table = document.tables[t];
    size_t columns = 0;
    for (const Row& row : table.rows) columns = std::max(columns, row.cells.size());
    std::vector<size_t> width(columns);
    for (size_t c = 0; c < columns; ++c) width[c] = std::to_string(c).size();
    for (const Row& row : table.rows) {
      for (size_t c = 0; c < row.cells.size(); ++c) width[c] = std::max(width[c], row.cells[c].text.size());
    }
    const size_t label_width = std::max<size_t>(3, std::to_string(table.rows.size()).size());
    if (t > 0) out += "\n";
    out += table_label(document, static_cast<int32_t>(t)) + "\n";
    std::string line = std::string(label_width, ' ');
    for (size_t c = 0; c < columns; ++c) line += " | " + padded(std::to_string(c), width[c]);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += line + "\n";
    for (size_t r = 0; r < table.rows.size(); ++r) {
      const std::string number = std::to_string(r);
      line = std::string(label_width - number.size(), ' ') + number;
      const std::vector<Cell>& cells = table.rows[r].cells;
      for (size_t c = 0; c < cells.size(); ++c) line += " | " + padded(cells[c].text, width[c]);
      while (!line.empty() && line.back() == ' ') line.pop_back();
      out += line + "\n";
    }
  }
  return base::to_utf8(out);
}

std::string grid_json(const Document& document) {
  std::string out = "{\"tables\":[";
  for (size_t t = 0; t < document.tables.size(); ++t) {
    const Table& table = document.tables[t];
    out += t == 0 ? "\n" : ",\n";
    out += "{\"label\":" + json_string(table_label(document, static_cast<int32_t>(t))) +
           ",\"kind\":" + json_string(kind_name(table_kind(table))) + ",\"rows\":[";
    for (size_t r = 0; r < table.rows.size(); ++r) {
      out += r == 0 ? "[" : ",[";
      const std::vector<Cell>& cells = table.rows[r].cells;
      for (size_t c = 0; c < cells.size(); ++c) out += (c == 0 ? "" : ",") + json_string(cells[c].text);
      out += "]";
    }
    out += "]}";
  }
  return out + "\n]}\n";
}

}  // namespace zelvo::composition
