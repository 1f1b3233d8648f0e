#include "intake/cell_source.h"

#include <string>

namespace zelvo::intake {

namespace {

char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// The tag's name after `<` (and `/` for an end tag), lower case.
std::string tag_name(std::string_view html, size_t at) {
  std::string name;
  for (size_t i = at; i < html.size(); ++i) {
    const char c = fold(html[i]);
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) break;
    name += c;
  }
  return name;
}

// What may follow a `<` that opens a tag; after anything else the `<` is text.
bool starts_tag(std::string_view html, size_t at) {
  if (at + 1 >= html.size()) return false;
  const char next = fold(html[at + 1]);
  return (next >= 'a' && next <= 'z') || next == '/' || next == '!' || next == '?';
}

// The length of a no-break space written as an entity at `at` (white
// space to the reader, as browsers' editors pad cells with it), else 0.
size_t space_entity(std::string_view html, size_t at) {
  for (std::string_view entity : {"&nbsp;", "&#160;", "&#xa0;", "&#xA0;"}) {
    if (html.substr(at, entity.size()) == entity) return entity.size();
  }
  return 0;
}

bool is_comment(std::string_view html, size_t at) { return html.substr(at, 4) == "<!--"; }

// Just after the comment starting at `at`, or the end of the text.
size_t comment_end(std::string_view html, size_t at) {
  const size_t close = html.find("-->", at + 4);
  return close == std::string_view::npos ? html.size() : close + 3;
}

bool ends_cell(const std::string& name) {
  for (const char* part : {"td", "th", "tr", "thead", "tbody", "tfoot"}) {
    if (name == part) return true;
  }
  return false;
}

}  // namespace

size_t find_cell_tag(std::string_view html, size_t from) {
  for (size_t at = html.find('<', from); at != std::string_view::npos; at = html.find('<', at + 1)) {
    if (is_comment(html, at)) {
      at = comment_end(html, at) - 1;
      continue;
    }
    const std::string name = tag_name(html, at + 1);
    if (name == "td" || name == "th") return at;
  }
  return std::string_view::npos;
}

size_t tag_end(std::string_view html, size_t tag) {
  const size_t close = html.find('>', tag);
  return close == std::string_view::npos ? close : close + 1;
}

TextSpan cell_text_span(std::string_view html, size_t content) {
  size_t first = std::string_view::npos, last = 0, empty_place = std::string_view::npos;
  int32_t depth = 0;  // tables opened inside the cell
  size_t at = content;
  while (at < html.size()) {
    const char c = html[at];
    if (const size_t length = space_entity(html, at); length > 0) {
      at += length;
      continue;
    }
    if (c != '<' || !starts_tag(html, at)) {
      if (!is_space(c)) {
        if (first == std::string_view::npos) first = at;
        last = at + 1;
      }
      ++at;
      continue;
    }
    if (is_comment(html, at)) {
      at = comment_end(html, at);
      continue;
    }
    const bool closing = at + 1 < html.size() && html[at + 1] == '/';
    const std::string name = tag_name(html, at + (closing ? 2 : 1));
    if (name == "table") depth += closing ? -1 : 1;
    if (depth < 0 || (depth == 0 && ends_cell(name))) break;
    if (empty_place == std::string_view::npos && (closing || name == "br")) empty_place = at;
    const size_t end = tag_end(html, at);
    if (end == std::string_view::npos) break;
    at = end;
  }
  if (first != std::string_view::npos) return TextSpan{first, last};
  const size_t place = empty_place != std::string_view::npos ? empty_place : std::min(at, html.size());
  return TextSpan{place, place};
}

}  // namespace zelvo::intake
