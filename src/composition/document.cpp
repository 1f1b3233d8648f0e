#include "composition/document.h"

#include <algorithm>
#include <cstring>

#include "intake/cell_source.h"
#include "tables/html_reader.h"

namespace zelvo::composition {

namespace {

using tables::LineTag;

std::string without_line_end(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return std::string(line);
}

void replace_all(std::string& text, std::string_view from, std::string_view to) {
  for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
    text.replace(at, from.size(), to);
  }
}

// `<td ...>text</td>` on one or more lines: the text between the opening
// tag and the last closing one, lines joined by a space, the three escaped
// characters decoded.
std::string cell_text(std::string_view raw) {
  std::string joined;
  size_t start = 0;
  while (start < raw.size()) {
    size_t end = raw.find('\n', start);
    if (end == std::string_view::npos) end = raw.size();
    if (!joined.empty()) joined += ' ';
    joined += without_line_end(raw.substr(start, end - start + 1));
    start = end + 1;
  }
  const size_t tag = joined.find('<');
  const size_t open_end = joined.find('>', tag == std::string::npos ? 0 : tag);
  std::string body = open_end == std::string::npos ? std::string() : joined.substr(open_end + 1);
  size_t close = body.rfind("</td>");
  if (const size_t upper = body.rfind("</TD>"); upper != std::string::npos && (close == std::string::npos || upper > close)) {
    close = upper;
  }
  if (close != std::string::npos) body.erase(close);
  replace_all(body, "&lt;", "<");
  replace_all(body, "&gt;", ">");
  replace_all(body, "&amp;", "&");
  return body;
}

// Whether `text` holds a `<` that starts a tag, as the composer's reader
// tells one.
bool has_tag(std::string_view text) {
  for (size_t at = text.find('<'); at != std::string_view::npos && at + 1 < text.size(); at = text.find('<', at + 1)) {
    const char next = text[at + 1];
    if ((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z') || next == '/' || next == '!' || next == '?') {
      return true;
    }
  }
  return false;
}

// A cell with markup inside, as the composer's reader reads it (its lines
// joined without their ends, tags and entities removed), with each run of
// white space one space and none at the ends, as a user reads it.
std::string reader_text(std::string_view raw) {
  std::string joined;
  for (char c : raw) {
    if (c != '\n' && c != '\r') joined += c;
  }
  tables::strip_markup(joined.data());
  std::string text;
  for (const char* c = joined.c_str(); *c != '\0'; ++c) {
    const bool space = *c == ' ' || *c == '\t';
    if (space && (text.empty() || text.back() == ' ')) continue;
    text += space ? ' ' : *c;
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// The text the model shows for a cell read from `raw`: with markup inside
// the cell (between its opening tag and the `</td>` that closes it for the
// composer), the composer's reading of it; else the text as written.
std::string model_text(std::string_view raw) {
  const size_t open = raw.find('<');
  const size_t body = open == std::string_view::npos ? open : raw.find('>', open);
  if (body == std::string_view::npos) return cell_text(raw);
  std::string_view inside = raw.substr(body + 1);
  inside = inside.substr(0, std::min(inside.find("</td>"), inside.find("</TD>")));
  return has_tag(inside) ? reader_text(raw) : cell_text(raw);
}

// `markup` without the value a spreadsheet stores beside a cell's text
// (LibreOffice Calc's sdval and sdnum attributes), which it would show
// again in place of the new text.
std::string without_stored_value(std::string markup) {
  for (const char* attribute : {" sdval=\"", " sdnum=\""}) {
    const size_t at = markup.find(attribute);
    const size_t end = at == std::string::npos ? at : markup.find('"', at + std::strlen(attribute));
    if (end != std::string::npos) markup.erase(at, end + 1 - at);
  }
  return markup;
}

// One line with its end, or the rest of the text.
std::string_view next_line(std::string_view html, size_t& at) {
  const size_t start = at;
  size_t end = html.find('\n', start);
  end = end == std::string_view::npos ? html.size() : end + 1;
  at = end;
  return html.substr(start, end - start);
}

}  // namespace

int32_t table_kind(const Table& table) {
  if (table.rows.empty() || table.rows[0].cells.empty()) return tables::kTableKinds - 1;
  const std::string first = compiled_text(table.rows[0].cells[0].text);
  int32_t kind = 0;
  while (tables::kTableNames[kind][0] != '\0' && !tables::starts_with_nocase(tables::kTableNames[kind], first.c_str())) {
    ++kind;
  }
  return kind;
}

const char* kind_name(int32_t kind) {
  if (kind < 1 || kind >= tables::kTableKinds - 1) return "";
  return tables::kTableNames[kind];
}

std::string compiled_text(std::string_view text) {
  std::string line = cell_line(text);
  char buffer[tables::kLineBufferSize];
  const size_t length = std::min(line.size(), static_cast<size_t>(tables::kLineBufferSize - 1));
  std::memcpy(buffer, line.data(), length);
  buffer[length] = '\0';
  tables::strip_markup(buffer);
  tables::normalise_spaces(buffer);
  if (char* comment = std::strstr(buffer, "//"); comment != nullptr) *comment = '\0';
  return buffer;
}

std::string cell_line(std::string_view text) { return "<td>" + escaped_text(text) + "</td>"; }

std::string escaped_text(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    if (c == '&') {
      escaped += "&amp;";
    } else if (c == '<') {
      escaped += "&lt;";
    } else if (c == '>') {
      escaped += "&gt;";
    } else if (c != '\n' && c != '\r') {
      escaped += c;
    }
  }
  return escaped;
}

std::string edited_markup(std::string_view markup, std::string_view text, std::string_view line_end) {
  const size_t open = markup.find('<');
  const size_t content = open == std::string_view::npos ? open : intake::tag_end(markup, open);
  if (content == std::string_view::npos) return cell_line(text) + std::string(line_end);
  const intake::TextSpan span = intake::cell_text_span(markup, content);
  // A bare `<td>` around plain text has nothing to keep: the cell's own line.
  if (markup.substr(open, content - open) == "<td>" && !has_tag(markup.substr(content, span.end - content))) {
    return cell_line(text) + std::string(line_end);
  }
  return without_stored_value(std::string(markup.substr(0, span.begin))) + escaped_text(text) +
         std::string(markup.substr(span.end));
}

Document read_document(std::string_view html) {
  Document document;
  if (const size_t first_end = html.find('\n'); first_end != std::string_view::npos && first_end > 0 &&
                                                html[first_end - 1] == '\r') {
    document.line_end = "\r\n";
  }
  enum class Place { kOutside, kTable, kRow } place = Place::kOutside;
  std::string pending;  // lines not yet given to an element
  size_t at = 0;
  while (at < html.size()) {
    const std::string_view line = next_line(html, at);
    const LineTag tag = tables::line_tag(line);
    if (place == Place::kOutside) {
      if (tag != LineTag::kTable) {
        pending += line;
        continue;
      }
      document.tables.push_back(Table{std::move(pending), std::string(line), {}, {}});
      pending.clear();
      place = Place::kTable;
      continue;
    }
    Table& table = document.tables.back();
    if (place == Place::kRow && (tag == LineTag::kRowEnd || tag == LineTag::kRow || tag == LineTag::kTableEnd)) {
      const bool closing = tag == LineTag::kRowEnd;
      table.rows.back().close = std::move(pending) + (closing ? std::string(line) : std::string());
      pending.clear();
      place = Place::kTable;
      if (closing) continue;
    }
    if (tag == LineTag::kTableEnd) {
      table.close = std::move(pending) + std::string(line);
      pending.clear();
      place = Place::kOutside;
    } else if (tag == LineTag::kRow) {
      table.rows.push_back(Row{std::move(pending) + std::string(line), {}, {}});
      pending.clear();
      place = Place::kRow;
    } else if (place == Place::kRow && tag == LineTag::kCell) {
      std::string raw(line);
      // A cell closes within the reader's limit of lines, as it reads them.
      for (int32_t more = 1; !tables::closes_cell(raw) && more < tables::kCellLines && at < html.size(); ++more) {
        raw += next_line(html, at);
      }
      table.rows.back().cells.push_back(Cell{model_text(raw), raw, std::move(pending), raw});
      pending.clear();
    } else {
      pending += line;
    }
  }
  if (place == Place::kRow) {
    document.tables.back().rows.back().close = std::move(pending);
  } else if (place == Place::kTable) {
    document.tables.back().close = std::move(pending);
  } else {
    document.tail = std::move(pending);
  }
  return document;
}

std::string write_document(const Document& document) {
  std::string out;
  for (const Table& table : document.tables) {
    out += table.before;
    out += table.open;
    for (const Row& row : table.rows) {
      out += row.open;
      for (const Cell& cell : row.cells) {
        out += cell.lead;
        if (!cell.raw.empty()) {
          out += cell.raw;
        } else {
          out += cell.markup.empty() ? cell_line(cell.text) + document.line_end : edited_markup(cell.markup, cell.text, document.line_end);
        }
      }
      out += row.close;
    }
    out += table.close;
  }
  out += document.tail;
  return out;
}

}  // namespace zelvo::composition
