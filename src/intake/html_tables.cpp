#include "intake/html_tables.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "base/windows1252.h"
#include "intake/cell_text.h"
#include "intake/xml_library.h"

namespace zelvo::intake {

namespace {

constexpr int32_t kMaxColumnSpan = 1000;  // as browsers cap colspan
constexpr size_t kCharsetLookAhead = 4096;

struct DocumentFree {
  void operator()(xmlDoc* document) const { xml_library().free_document(document); }
};

void ignore_message(void*, const char*, ...) {}

// libxml2 reports some faults (a byte its decoder refuses) through its
// generic handler, which prints to standard error whatever the parse
// options say; the parse is silent for as long as this lives.
class QuietParse {
 public:
  QuietParse() : handler_(*xml_library().error_handler()), context_(*xml_library().error_context()) {
    xml_library().set_error_handler(nullptr, ignore_message);
  }
  ~QuietParse() { xml_library().set_error_handler(context_, handler_); }
  QuietParse(const QuietParse&) = delete;
  QuietParse& operator=(const QuietParse&) = delete;

 private:
  xmlGenericErrorFunc handler_;
  void* context_;
};

bool is_named(const xmlNode* node, const char* name) {
  return node->type == XML_ELEMENT_NODE && xml_library().compare_names(node->name, BAD_CAST name) == 0;
}

bool is_cell(const xmlNode* node) { return is_named(node, "td") || is_named(node, "th"); }

// Elements a browser starts on a line of their own: their text does not run
// into the text around them.
bool breaks_line(const xmlNode* node) {
  static constexpr const char* kBlocks[] = {"br", "p",  "div", "li", "ul", "ol", "h1", "h2", "h3",
                                            "h4", "h5", "h6",  "tr", "td", "th", "table", "pre",
                                            "blockquote", "dl", "dt", "dd", "hr"};
  return std::any_of(std::begin(kBlocks), std::end(kBlocks),
                     [node](const char* name) { return is_named(node, name); });
}

void gather_text(const xmlNode* node, std::string& utf8) {
  for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) {
      if (child->content != nullptr) utf8 += reinterpret_cast<const char*>(child->content);
    } else if (child->type == XML_ELEMENT_NODE) {
      if (is_named(child, "script") || is_named(child, "style")) continue;
      const bool line = breaks_line(child);
      if (line) utf8 += ' ';
      gather_text(child, utf8);
      if (line) utf8 += ' ';
    }
  }
}

int32_t column_span(const xmlNode* cell) {
  xmlChar* value = xml_library().property(cell, BAD_CAST "colspan");
  if (value == nullptr) return 1;
  const long span = std::strtol(reinterpret_cast<const char*>(value), nullptr, 10);
  (*xml_library().free_function)(value);
  return static_cast<int32_t>(std::clamp<long>(span, 1, kMaxColumnSpan));
}

// Finds each cell's text in the bytes read, cell after cell in document
// order: the next `<td` or `<th` tag from the line the parser met the cell
// on. Whoever edits through a span checks the result reads as meant.
class SourceFinder {
 public:
  explicit SourceFinder(std::string_view html, bool usable) : html_(html), usable_(usable) {
    for (size_t at = html.find('\n'); at != std::string_view::npos; at = html.find('\n', at + 1)) {
      line_starts_.push_back(at + 1);
    }
  }

  TextSpan find(const xmlNode* cell) {
    if (!usable_) return kNoSource;
    const long line = xml_library().line_of(cell);
    size_t from = cursor_;
    // The parser counts lines up to 65535 only; past that the cursor alone leads.
    if (line >= 2 && line < 65535 && static_cast<size_t>(line - 2) < line_starts_.size()) {
      from = std::max(from, line_starts_[static_cast<size_t>(line - 2)]);
    }
    const size_t tag = find_cell_tag(html_, from);
    if (tag == std::string_view::npos) return kNoSource;
    cursor_ = tag + 1;
    const size_t content = tag_end(html_, tag);
    if (content == std::string_view::npos) return kNoSource;
    const TextSpan span = cell_text_span(html_, content);
    // A cell whose text would start inside the one before has no place the
    // scan can vouch for (markup the parser mends otherwise).
    if (span.begin < last_end_) return kNoSource;
    last_end_ = span.end;
    return span;
  }

 private:
  std::string_view html_;
  bool usable_;
  std::vector<size_t> line_starts_;  // of lines 2, 3, ...
  size_t cursor_ = 0;
  size_t last_end_ = 0;  // of the last span given
};

// The cells of a row, looking through anything an editor wrapped them in.
void collect_cells(const xmlNode* node, std::vector<std::string>& cells, std::vector<TextSpan>& spans,
                   SourceFinder& finder) {
  for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (is_cell(child)) {
      std::string utf8;
      gather_text(child, utf8);
      cells.push_back(spell_cell_text(utf8));
      spans.push_back(finder.find(child));
      const size_t more = static_cast<size_t>(column_span(child) - 1);
      cells.insert(cells.end(), more, std::string());
      spans.insert(spans.end(), more, kNoSource);
    } else if (child->type == XML_ELEMENT_NODE && !is_named(child, "table") && !is_named(child, "tr")) {
      collect_cells(child, cells, spans, finder);
    }
  }
}

// The rows of a table, through thead, tbody, tfoot and wrappers, but not
// into a table nested in a cell.
void collect_rows(const xmlNode* node, HtmlTable& table, SourceFinder& finder) {
  for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (is_named(child, "tr")) {
      std::vector<std::string> cells;
      std::vector<TextSpan> spans;
      collect_cells(child, cells, spans, finder);
      if (!cells.empty()) {
        table.rows.push_back(std::move(cells));
        table.spans.push_back(std::move(spans));
      }
    } else if (child->type == XML_ELEMENT_NODE && !is_named(child, "table") && !is_cell(child)) {
      collect_rows(child, table, finder);
    }
  }
}

void collect_tables(const xmlNode* node, std::vector<HtmlTable>& tables, SourceFinder& finder) {
  for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (is_named(child, "table")) {
      HtmlTable table;
      collect_rows(child, table, finder);
      if (!table.rows.empty()) tables.push_back(std::move(table));
    } else if (child->type == XML_ELEMENT_NODE) {
      collect_tables(child, tables, finder);
    }
  }
}

// Whether the document's head names UTF-8 as its encoding, as LibreOffice,
// pandoc and browsers write it.
bool declares_utf8(std::string_view html) {
  std::string head(html.substr(0, kCharsetLookAhead));
  std::transform(head.begin(), head.end(), head.begin(),
                 [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
  for (size_t at = head.find("charset"); at != std::string::npos; at = head.find("charset", at + 1)) {
    const std::string_view rest = std::string_view(head).substr(at + 7, 12);
    if (rest.find("utf-8") != std::string_view::npos || rest.find("utf8") != std::string_view::npos) return true;
  }
  return false;
}

}  // namespace

bool reads_as_utf8(std::string_view html) { return html.starts_with("\xEF\xBB\xBF") || declares_utf8(html); }

std::vector<HtmlTable> read_html_tables(std::string_view html) {
  const std::string_view bytes = html;
  // Markup in UTF-16 is not in the bytes as ASCII: no places for its cells.
  SourceFinder finder(bytes, !html.starts_with("\xFF\xFE") && !html.starts_with("\xFE\xFF"));
  int options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET;
  const char* encoding = nullptr;
  std::string utf8;
  if (html.starts_with("\xEF\xBB\xBF")) {
    encoding = "UTF-8";
  } else if (!html.starts_with("\xFF\xFE") && !html.starts_with("\xFE\xFF") && !declares_utf8(html)) {
    // Windows-1252, converted here: every byte has a character, where the
    // system's converter refuses the five bytes the code page leaves unused
    // and the parse would end there.
    utf8 = base::to_utf8(html);
    html = utf8;
    encoding = "UTF-8";
  }
  if (encoding != nullptr) options |= HTML_PARSE_IGNORE_ENC;
  if (!xml_library().loaded) return {};
  const QuietParse quiet;
  const std::unique_ptr<xmlDoc, DocumentFree> document(
      xml_library().read_html(html.data(), static_cast<int>(std::min<size_t>(html.size(), INT32_MAX)), nullptr,
                     encoding, options));
  std::vector<HtmlTable> tables;
  if (document) collect_tables(reinterpret_cast<const xmlNode*>(document.get()), tables, finder);
  return tables;
}

}  // namespace zelvo::intake
