#include "intake/cell_text.h"

#include <cstdint>

#include "base/windows1252.h"

namespace zelvo::intake {

namespace {

constexpr char32_t kNoBreakSpace = 0xA0;

// The code point at `at`, moving past it. A byte that starts no valid
// sequence is taken as the Windows-1252 character it would be.
char32_t next_code_point(std::string_view text, size_t& at, bool& is_byte) {
  const auto lead = static_cast<unsigned char>(text[at]);
  is_byte = false;
  size_t extra = 0;
  char32_t c = lead;
  if (lead >= 0xF0 && lead < 0xF8) {
    extra = 3;
    c = lead & 0x07;
  } else if (lead >= 0xE0) {
    extra = 2;
    c = lead & 0x0F;
  } else if (lead >= 0xC2 && lead < 0xE0) {
    extra = 1;
    c = lead & 0x1F;
  } else if (lead >= 0x80) {
    is_byte = true;
  }
  if (lead >= 0xF8) is_byte = true;
  for (size_t k = 1; k <= extra && !is_byte; ++k) {
    if (at + k >= text.size() || (static_cast<unsigned char>(text[at + k]) & 0xC0) != 0x80) is_byte = true;
    if (!is_byte) c = (c << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3F);
  }
  if (is_byte) {
    ++at;
    return lead;
  }
  at += extra + 1;
  return c;
}

void put_character(std::string& out, char32_t c) {
  char byte = 0;
  if (base::to_windows1252(c, byte)) {
    out += byte;
  } else {
    out += "&#" + std::to_string(static_cast<uint32_t>(c)) + ";";
  }
}

// `utf8` character by character: a byte that starts no valid sequence goes
// over as the byte it is, every code point through `put(out, c)`.
template <typename Put>
std::string recode(std::string_view utf8, Put put) {
  std::string out;
  out.reserve(utf8.size());
  size_t at = 0;
  while (at < utf8.size()) {
    bool is_byte = false;
    const char32_t c = next_code_point(utf8, at, is_byte);
    if (is_byte) {
      out += static_cast<char>(c);
    } else {
      put(out, c);
    }
  }
  return out;
}

}  // namespace

std::string spell_cell_text(std::string_view utf8) {
  std::string out = recode(utf8, [](std::string& text, char32_t c) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == kNoBreakSpace) {
      if (!text.empty() && text.back() != ' ') text += ' ';
    } else if (c < 0x20 || c == 0x7F) {
      return;
    } else if (c == '&') {
      text += "&amp;";
    } else if (c == '<') {
      text += "&lt;";
    } else if (c == '>') {
      text += "&gt;";
    } else {
      put_character(text, c);
    }
  });
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string recode_utf8_document(std::string_view utf8) { return recode(utf8, put_character); }

}  // namespace zelvo::intake
