#include "intake/composition_layout.h"

#include "intake/cell_text.h"
#include "intake/html_tables.h"
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

std::string lay_out_composition(std::string_view html) {
  std::string recoded;
  std::string_view document = html;
  if (html.starts_with(kByteOrderMark)) {
    recoded = recode_utf8_document(html.substr(kByteOrderMark.size()));
    document = recoded;
  }
  const std::vector<HtmlTable> tables = read_html_tables(html);
  if (tables.empty()) return std::string(document);
  const std::optional<TableShape> read = reader_shape(document);
  if (read && *read == shape_of(tables)) return std::string(document);
  return write_layout(tables);
}

}  // namespace zelvo::intake
