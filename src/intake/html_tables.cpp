#include "intake/html_tables.h"

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "console/windows1252.h"
#include "intake/cell_text.h"

namespace zelvo::intake {

namespace {

constexpr int32_t kMaxColumnSpan = 1000;  // as browsers cap colspan
constexpr size_t kCharsetLookAhead = 4096;

struct DocumentFree {
  void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};

void ignore_message(void*, const char*, ...) {}

// libxml2 reports some faults (a byte its decoder refuses) through its
// generic handler, which prints to standard error whatever the parse
// options say; the parse is silent for as long as this lives.
class QuietParse {
 public:
  QuietParse() : handler_(xmlGenericError), context_(xmlGenericErrorContext) {
    xmlSetGenericErrorFunc(nullptr, ignore_message);
  }
  ~QuietParse() { xmlSetGenericErrorFunc(context_, handler_); }
  QuietParse(const QuietParse&) = delete;
  QuietParse& operator=(const QuietParse&) = delete;

 private:
  xmlGenericErrorFunc handler_;
  void* context_;
};

bool is_named(const xmlNode* node, const char* name) {
  return node->type == XML_ELEMENT_NODE && xmlStrcasecmp(node->name, BAD_CAST name) == 0;
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
  xmlChar* value = xmlGetProp(cell, BAD_CAST "colspan");
  if (value == nullptr) return 1;
  const long span = std::strtol(reinterpret_cast<const char*>(value), nullptr, 10);
  xmlFree(value);
  return static_cast<int32_t>(std::clamp<long>(span, 1, kMaxColumnSpan));
}

// The cells of a row, looking through anything an editor wrapped them in.
void collect_cells(const xmlNode* node, std::vector<std::string>& cells) {
  for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (is_cell(child)) {
      std::string utf8;
      gather_text(child, utf8);
      cells.push_back(spell_cell_text(utf8));
      cells.insert(cells.end(), static_cast<size_t>(column_span(child) - 1), std::string());
    } else if (child->type == XML_ELEMENT_NODE && !is_named(child, "table") && !is_named(child, "tr")) {
      collect_cells(child, cells);
    }
  }
}

// The rows of a table, through thead, tbody, tfoot and wrappers, but not
// into a table nested in a cell.
void collect_rows(const xmlNode* node, HtmlTable& table) {
  for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (is_named(child, "tr")) {
      std::vector<std::string> cells;
      collect_cells(child, cells);
      if (!cells.empty()) table.rows.push_back(std::move(cells));
    } else if (child->type == XML_ELEMENT_NODE && !is_named(child, "table") && !is_cell(child)) {
      collect_rows(child, table);
    }
  }
}

void collect_tables(const xmlNode* node, std::vector<HtmlTable>& tables) {
  for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (is_named(child, "table")) {
      HtmlTable table;
      collect_rows(child, table);
      if (!table.rows.empty()) tables.push_back(std::move(table));
    } else if (child->type == XML_ELEMENT_NODE) {
      collect_tables(child, tables);
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

std::vector<HtmlTable> read_html_tables(std::string_view html) {
  int options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET;
  const char* encoding = nullptr;
  std::string utf8;
  if (html.starts_with("\xEF\xBB\xBF")) {
    encoding = "UTF-8";
  } else if (!html.starts_with("\xFF\xFE") && !html.starts_with("\xFE\xFF") && !declares_utf8(html)) {
    // Windows-1252, converted here: every byte has a character, where the
    // system's converter refuses the five bytes the code page leaves unused
    // and the parse would end there.
    utf8 = console::to_utf8(html);
    html = utf8;
    encoding = "UTF-8";
  }
  if (encoding != nullptr) options |= HTML_PARSE_IGNORE_ENC;
  const QuietParse quiet;
  const std::unique_ptr<xmlDoc, DocumentFree> document(
      htmlReadMemory(html.data(), static_cast<int>(std::min<size_t>(html.size(), INT32_MAX)), nullptr,
                     encoding, options));
  std::vector<HtmlTable> tables;
  if (document) collect_tables(reinterpret_cast<const xmlNode*>(document.get()), tables);
  return tables;
}

}  // namespace zelvo::intake
