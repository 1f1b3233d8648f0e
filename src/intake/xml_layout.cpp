#include "intake/xml_layout.h"

#include <cstring>
#include <string_view>

namespace zelvo::intake {

namespace {

void append_escaped(std::string& out, std::string_view text, bool attribute) {
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += attribute ? "&quot;" : "\""; break;
      case '\r':
      case '\n':
      case '\t': out += ' '; break;
      default: out += c;
    }
  }
}

std::string_view trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

// The attribute the line readers find a tag by, written first.
const char* key_attribute(std::string_view element) {
  if (element == "measure") return "number";
  if (element == "part") return "id";
  if (element == "tie") return "type";
  return nullptr;
}

void append_attribute(std::string& out, const pugi::xml_attribute& attribute) {
  out += ' ';
  out += attribute.name();
  out += "=\"";
  append_escaped(out, attribute.value(), true);
  out += '"';
}

void append_start(std::string& out, const pugi::xml_node& element) {
  out += '<';
  out += element.name();
  const char* key = key_attribute(element.name());
  if (key != nullptr) {
    const pugi::xml_attribute first = element.attribute(key);
    if (first) append_attribute(out, first);
  }
  for (const pugi::xml_attribute& attribute : element.attributes()) {
    if (key == nullptr || std::strcmp(attribute.name(), key) != 0) append_attribute(out, attribute);
  }
}

bool is_text(const pugi::xml_node& node) {
  return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

// Far deeper than any score; what lies below is left out rather than
// recursed into without bound.
constexpr int kMaxDepth = 64;

void append_element(std::string& out, const pugi::xml_node& element, int depth) {
  if (depth > kMaxDepth) return;
  out.append(static_cast<size_t>(depth) * 2, ' ');
  append_start(out, element);
  bool has_element = false;
  std::string text;
  for (const pugi::xml_node& child : element.children()) {
    if (child.type() == pugi::node_element) has_element = true;
    if (is_text(child)) text += child.value();
  }
  const std::string_view content = trimmed(text);
  if (!has_element) {
    if (content.empty()) {
      out += "/>\n";
      return;
    }
    out += '>';
    append_escaped(out, content, false);
    out += "</";
    out += element.name();
    out += ">\n";
    return;
  }
  out += ">\n";
  for (const pugi::xml_node& child : element.children()) {
    if (child.type() == pugi::node_element) {
      append_element(out, child, depth + 1);
    } else if (is_text(child) && !trimmed(child.value()).empty()) {
      out.append(static_cast<size_t>(depth + 1) * 2, ' ');
      append_escaped(out, trimmed(child.value()), false);
      out += '\n';
    }
  }
  out.append(static_cast<size_t>(depth) * 2, ' ');
  out += "</";
  out += element.name();
  out += ">\n";
}

}  // namespace

std::string lay_out(const pugi::xml_document& document) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  for (const pugi::xml_node& child : document.children()) {
    if (child.type() == pugi::node_element) append_element(out, child, 0);
  }
  return out;
}

}  // namespace zelvo::intake
