#include "harmonizer/configuration_keys.h"

#include <cstring>

namespace zelvo::harmonizer {

namespace {

bool starts_with(const char* line, const char* key) {
  return std::strncmp(line, key, std::strlen(key)) == 0;
}

}  // namespace

void normalise_line(const char* read, char* out) {
  int32_t n = 0;
  for (const char* p = read; *p != '\0' && *p != '\n'; ++p) {
    if (*p == '\r' && (p[1] == '\n' || p[1] == '\0')) break;
    if (*p == ' ' || *p == '\t') continue;
    out[n++] = *p;
  }
  out[n] = '\0';
}

bool is_setting_line(const char* line) {
  const char c = line[0];
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

const IntegerKey* find_integer_key(const char* line) {
  for (const IntegerKey& key : kIntegerKeys) {
    if (starts_with(line, key.name)) return &key;
  }
  return nullptr;
}

const RowKey* find_row_key(const char* line) {
  for (const RowKey& key : kRowKeys) {
    if (starts_with(line, key.name)) return &key;
  }
  return nullptr;
}

}  // namespace zelvo::harmonizer
