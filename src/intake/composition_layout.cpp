#include "intake/composition_layout.h"

#include "intake/cell_text.h"
#include "intake/html_tables.h"
#include "intake/line_layout.h"
#include "intake/reader_shape.h"

namespace zelvo::intake {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

TableShape shape_of(const std::vector<HtmlTable>& tables) {
  TableShape shape;
  for (const HtmlTable& table : tables) {
    std::vector<int32_t>& rows = shape.emplace_back();
    for (const auto& cells : table.rows) rows.push_back(static_cast<int32_t>(cells.size()));
  }
  return shape;
}

std::string write_layout(const std::vector<HtmlTable>& tables) {
  std::string out = "<html>\n";
  for (const HtmlTable& table : tables) {
    out += "<table>\n";
    for (const auto& cells : table.rows) {
      out += "<tr>\n";
      for (const std::string& cell : cells) out += "<td>" + cell + "</td>\n";
      out += "</tr>\n";
    }
    out += "</table>\n";
  }
  return out + "</html>\n";
}

}  // namespace

std::string lay_out_composition(std::string_view html) { return read_composition_layout(html).html; }

CompositionLayout read_composition_layout(std::string_view html) {
  const auto as_is = [](std::string_view document) { return CompositionLayout{std::string(document), false, {}}; };
  if (!html.starts_with(kByteOrderMark) && in_line_layout(html)) return as_is(html);
  std::string recoded;
  std::string_view document = html;
  if (html.starts_with(kByteOrderMark)) {
    recoded = recode_utf8_document(html.substr(kByteOrderMark.size()));
    document = recoded;
  }
  std::vector<HtmlTable> tables = read_html_tables(html);
  if (tables.empty()) return as_is(document);
  const TableShape shown = shape_of(tables);
  const ReaderReading read = reader_shape(document);
  if (read.shape && *read.shape == shown) return as_is(document);
  // The reader's refusal of a cell too long for it stands as it is: laid
  // out, its spaces would shrink and the limit would move.
  if (read.cell_too_long) return as_is(document);
  std::string laid_out = write_layout(tables);
  // A document the reader refuses either way keeps its own refusal, rather
  // than one about a document nobody wrote. So does a layout the reader
  // does not walk as shown for any reason but a cell too long for it: a
  // cell line of exactly the reader's line length leaves its line end for
  // the next cell, which then runs on through the row and table ends after
  // it, or to the end of the document.
  const ReaderReading laid_read = reader_shape(laid_out);
  const bool laid_out_as_shown = laid_read.shape && *laid_read.shape == shown;
  if (!laid_out_as_shown && (!read.shape || !laid_read.cell_too_long)) return as_is(document);
  return CompositionLayout{std::move(laid_out), true, std::move(tables)};
}

}  // namespace zelvo::intake
