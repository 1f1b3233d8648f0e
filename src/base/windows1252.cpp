#include "base/windows1252.h"

#include <cstdint>

namespace zelvo::base {

namespace {

// Code points of bytes 0x80..0x9F; 0 where Windows-1252 leaves a byte unused
// (those pass through as the C1 control of the same value).
constexpr char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t code_point(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) {
    const char32_t mapped = kHighControls[byte - 0x80];
    return mapped != 0 ? mapped : byte;
  }
  return byte;
}

void put_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string to_utf8(std::string_view windows1252) {
  std::string out;
  out.reserve(windows1252.size());
  for (char c : windows1252) put_utf8(out, code_point(static_cast<unsigned char>(c)));
  return out;
}

std::string from_utf8(std::string_view utf8) {
  std::string out;
  size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    char32_t c = lead;
    size_t extra = 0;
    if (lead >= 0xF0) { c = lead & 0x07; extra = 3; }
    else if (lead >= 0xE0) { c = lead & 0x0F; extra = 2; }
    else if (lead >= 0xC0) { c = lead & 0x1F; extra = 1; }
    else if (lead >= 0x80) { out += '?'; ++i; continue; }
    if (i + extra >= utf8.size()) {  // a sequence cut short at the end
      out += '?';
      break;
    }
    for (size_t k = 1; k <= extra; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += extra + 1;
    char mapped = '?';
    to_windows1252(c, mapped);
    out += mapped;
  }
  return out;
}

bool to_windows1252(char32_t c, char& byte) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
    byte = static_cast<char>(c);
    return true;
  }
  for (int k = 0; k < 32; ++k) {
    if (kHighControls[k] == c) {
      byte = static_cast<char>(0x80 + k);
      return true;
    }
  }
  return false;
}

}  // namespace zelvo::base
