#include "composition/any_html.h"

#include <algorithm>
#include <vector>

#include "base/windows1252.h"
#include "intake/composition_layout.h"

namespace zelvo::composition {

namespace {

std::vector<std::vector<size_t>> shape_of(const Document& document) {
  std::vector<std::vector<size_t>> shape;
  for (const Table& table : document.tables) {
    std::vector<size_t>& rows = shape.emplace_back();
    for (const Row& row : table.rows) rows.push_back(row.cells.size());
  }
  return shape;
}

struct Replacement {
  size_t begin, end;
  std::string text;
};

}  // namespace

Document read_any_html(std::string_view html) {
  intake::CompositionLayout layout = intake::read_composition_layout(html);
  Document document = read_document(layout.html);
  if (!layout.written_anew) return document;
  // The layout writes one table, row and cell for each the source has.
  if (layout.tables.size() != document.tables.size()) return document;
  for (size_t t = 0; t < layout.tables.size(); ++t) {
    const intake::HtmlTable& from = layout.tables[t];
    Table& table = document.tables[t];
    if (from.spans.size() != table.rows.size()) return document;
    for (size_t r = 0; r < from.spans.size(); ++r) {
      std::vector<Cell>& cells = table.rows[r].cells;
      if (from.spans[r].size() != cells.size()) return document;
      for (size_t c = 0; c < cells.size(); ++c) {
        cells[c].source_begin = from.spans[r][c].begin;
        cells[c].source_end = from.spans[r][c].end;
      }
    }
  }
  document.source = std::string(html);
  document.source_utf8 = intake::reads_as_utf8(html);
  document.source_shape = shape_of(document);
  return document;
}

bool write_in_place(const Document& document, std::string& bytes) {
  if (document.source.empty()) {
    bytes = write_document(document);
    return true;
  }
  if (shape_of(document) != document.source_shape) return false;
  std::vector<Replacement> replacements;
  for (const Table& table : document.tables) {
    for (const Row& row : table.rows) {
      for (const Cell& cell : row.cells) {
        if (!cell.raw.empty()) continue;  // not edited
        if (cell.source_begin == std::string::npos || cell.source_end > document.source.size()) return false;
        const std::string text = escaped_text(cell.text);
        replacements.push_back({cell.source_begin, cell.source_end, document.source_utf8 ? base::to_utf8(text) : text});
      }
    }
  }
  std::sort(replacements.begin(), replacements.end(),
            [](const Replacement& a, const Replacement& b) { return a.begin > b.begin; });
  std::string edited = document.source;
  size_t limit = edited.size();
  for (const Replacement& change : replacements) {
    if (change.end > limit) return false;  // two cells at one place
    edited.replace(change.begin, change.end - change.begin, change.text);
    limit = change.begin;
  }
  // The edited file must read as the document's tables now read.
  if (intake::lay_out_composition(edited) != write_document(document)) return false;
  bytes = std::move(edited);
  return true;
}

std::string write_any_html(const Document& document) {
  std::string bytes;
  return write_in_place(document, bytes) ? bytes : write_document(document);
}

}  // namespace zelvo::composition
