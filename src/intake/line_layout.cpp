#include "intake/line_layout.h"

#include <cctype>
#include <cstddef>

namespace zelvo::intake {

namespace {

bool is_tag_at(std::string_view line, size_t at, std::string_view name) {
  if (at + 1 + name.size() > line.size() || line[at] != '<') return false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(line[at + 1 + i])) != name[i]) return false;
  }
  // `<tr` but not `<track`: the name must end there.
  const size_t after = at + 1 + name.size();
  return after == line.size() || !std::isalnum(static_cast<unsigned char>(line[after]));
}

bool line_in_layout(std::string_view line) {
  const size_t first = line.find('<');
  if (first == std::string_view::npos) return true;
  line.remove_prefix(first);
  const bool cell = is_tag_at(line, 0, "td");
  for (size_t at = 0; at < line.size(); ++at) {
    if (line[at] != '<') continue;
    if (is_tag_at(line, at, "th")) return false;
    // The reader sees a cell or a row only where a line starts with it.
    if (at > 0 && (is_tag_at(line, at, "td") || is_tag_at(line, at, "tr"))) return false;
    if (cell && is_tag_at(line, at, "/tr")) return false;
  }
  return !is_tag_at(line, 0, "tr") || (line.size() >= 4 && line[3] == '>');
}

}  // namespace

bool in_line_layout(std::string_view document) {
  size_t start = 0;
  while (start < document.size()) {
    size_t end = document.find('\n', start);
    if (end == std::string_view::npos) end = document.size();
    if (!line_in_layout(document.substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace zelvo::intake
