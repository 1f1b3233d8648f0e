#include "intake/layout_check.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zelvo::intake {

namespace {

enum class TagKind { kStart, kEnd, kEmpty, kOther };

struct Tag {
  TagKind kind;
  std::string_view name;
  std::string_view text;  // from '<' to '>' included
};

bool is_name_start(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':';
}

bool is_name_char(char c) {
  return is_name_start(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// The tags of one line in order. Returns false when a tag or a comment is
// not closed on the line. A '<' that starts no tag is taken as text.
bool line_tags(std::string_view line, Tag* tags, int& count, int capacity) {
  count = 0;
  size_t at = line.find('<');
  while (at != std::string_view::npos) {
    const std::string_view rest = line.substr(at);
    size_t end = 0;
    Tag tag{TagKind::kOther, {}, {}};
    if (rest.starts_with("<!--")) {
      end = rest.find("-->", 4);
      if (end == std::string_view::npos) return false;
      end += 2;
    } else if (rest.size() > 1 && (rest[1] == '?' || rest[1] == '!' || rest[1] == '/' ||
                                   is_name_start(rest[1]))) {
      char quote = 0;
      for (end = 1; end < rest.size(); ++end) {
        const char c = rest[end];
        if (quote != 0) {
          if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
          quote = c;
        } else if (c == '>') {
          break;
        }
      }
      if (end >= rest.size()) return false;
      const size_t name_at = rest[1] == '/' ? 2 : 1;
      size_t name_end = name_at;
      while (name_end < end && is_name_char(rest[name_end])) ++name_end;
      tag.name = rest.substr(name_at, name_end - name_at);
      if (rest[1] == '/') {
        tag.kind = TagKind::kEnd;
      } else if (is_name_start(rest[1])) {
        tag.kind = rest[end - 1] == '/' ? TagKind::kEmpty : TagKind::kStart;
      }
    } else {
      at = line.find('<', at + 1);
      continue;
    }
    tag.text = rest.substr(0, end + 1);
    if (count == capacity) return false;
    tags[count++] = tag;
    at = line.find('<', at + end + 1);
  }
  return true;
}

// measure, part and tie tags are recognised by their first attribute.
bool key_attribute_first(const Tag& tag) {
  struct Key {
    std::string_view name;
    std::string_view attribute;
    std::string_view prefix;
  };
  static constexpr Key kKeys[] = {{"measure", "number=", "<measure number=\""},
                                  {"part", "id=", "<part id=\""},
                                  {"tie", "type=", "<tie type=\""}};
  for (const Key& key : kKeys) {
    if (tag.name != key.name) continue;
    if (tag.text.find(key.attribute) == std::string_view::npos) return true;
    return tag.text.starts_with(key.prefix);
  }
  return true;
}

bool line_laid_out(const Tag* tags, int count) {
  if (count == 0) return true;
  for (int i = 0; i < count; ++i) {
    if (tags[i].kind == TagKind::kStart || tags[i].kind == TagKind::kEmpty) {
      if (!key_attribute_first(tags[i])) return false;
    }
  }
  if (count == 1) return true;
  return count == 2 && tags[0].kind == TagKind::kStart && tags[1].kind == TagKind::kEnd &&
         tags[0].name == tags[1].name;
}

std::optional<int64_t> first_number(std::string_view line) {
  size_t i = 0;
  while (i < line.size() && (line[i] < '0' || line[i] > '9')) ++i;
  if (i == line.size()) return std::nullopt;
  int64_t value = 0;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9' && value < 1000000000; ++i) {
    value = value * 10 + (line[i] - '0');
  }
  return value;
}

}  // namespace

bool mostly_laid_out(const LayoutCheck& check) {
  return check.compound_lines * 2 <= check.tag_lines;
}

LayoutCheck check_layout(std::string_view text) {
  LayoutCheck check;
  if (text.find('\0') != std::string_view::npos) {
    check.laid_out = false;
    return check;
  }
  constexpr int kTagCapacity = 4;
  Tag tags[kTagCapacity];
  bool first_measure_due = false;
  std::optional<int64_t> beats;
  std::optional<int64_t> beat_type;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    int count = 0;
    const bool tags_closed = line_tags(line, tags, count, kTagCapacity);
    bool element_line = !tags_closed;
    for (int i = 0; i < count; ++i) element_line = element_line || tags[i].kind != TagKind::kOther;
    if (element_line) ++check.tag_lines;
    if (!tags_closed || !line_laid_out(tags, count)) {
      check.laid_out = false;
      if (element_line) ++check.compound_lines;
    }
    if (count == 0 || tags[0].kind == TagKind::kOther || tags[0].kind == TagKind::kEnd) continue;
    const Tag& tag = tags[0];
    if (tag.name == "part") first_measure_due = true;
    if (tag.name == "measure" && first_measure_due) {
      first_measure_due = false;
      if (tag.text.find("implicit=\"yes\"") != std::string_view::npos ||
          tag.text.find("implicit='yes'") != std::string_view::npos) {
        check.pickup = true;
      }
    }
    std::optional<int64_t>* meter = tag.name == "beats"       ? &beats
                                    : tag.name == "beat-type" ? &beat_type
                                                              : nullptr;
    if (meter != nullptr) {
      const std::optional<int64_t> value = first_number(line);
      if (!meter->has_value()) {
        *meter = value;
      } else if (value != *meter) {
        check.meter_changes = true;
      }
    }
  }
  return check;
}

}  // namespace zelvo::intake
