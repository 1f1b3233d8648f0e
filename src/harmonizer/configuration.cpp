#include "harmonizer/configuration.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <memory>

#include "base/work_files.h"
#include "harmonizer/configuration_keys.h"
#include "base/message_id.h"

namespace zelvo::harmonizer {

using enum base::MessageId;

namespace {

using engine::HarmonizerSettings;

constexpr int32_t kLineBuffer = 400;  // 399 characters and the terminator

bool starts_with(const char* line, const char* key) {
  return std::strncmp(line, key, std::strlen(key)) == 0;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Finds the next value from `from`: the character after the next '=' or ','.
// Null when the line ends first or the value does not begin with a digit
// or '-'.
const char* find_value(const char* from) {
  const char* p = from;
  while (*p != '\0' && *p != '=' && *p != ',') ++p;
  if (*p == '\0') return nullptr;
  ++p;
  if (!is_digit(*p) && *p != '-') return nullptr;
  return p;
}

// The power of ten of a decimal number's leading digit, plus one: positive
// for 1 and more, 0 or less for a fraction. Only its sign is used.
int64_t decimal_magnitude(const char* begin, const char* end) {
  const char* p = begin;
  if (*p == '-') ++p;
  while (p < end && *p == '0') ++p;
  int64_t magnitude = 0;
  while (p < end && is_digit(*p)) {
    ++magnitude;
    ++p;
  }
  if (p < end && *p == '.') {
    ++p;
    if (magnitude == 0) {
      while (p < end && *p == '0') {
        --magnitude;
        ++p;
      }
    }
    while (p < end && is_digit(*p)) ++p;
  }
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    int64_t exponent = 0;
    for (; p < end && is_digit(*p); ++p) {
      if (exponent < INT64_C(1000000000)) exponent = exponent * 10 + (*p - '0');
    }
    magnitude += negative ? -exponent : exponent;
  }
  return magnitude;
}

// A decimal value: optional '-', digits, optional fraction, optional
// exponent, up to the first other character. Always read with a '.' as the
// decimal point, whatever locale the program runs in (a window toolkit may
// switch to the user's, where it can be a comma). Beyond the double range:
// infinity or zero, with the sign.
float config_decimal(const char* text) {
  const char* p = text;
  if (*p == '-') ++p;
  while (is_digit(*p)) ++p;
  if (*p == '.') {
    ++p;
    while (is_digit(*p)) ++p;
  }
  if ((*p == 'e' || *p == 'E') &&
      (is_digit(p[1]) || ((p[1] == '+' || p[1] == '-') && is_digit(p[2])))) {
    p += 2;
    while (is_digit(*p)) ++p;
  }
  double value = 0.0;
  const std::from_chars_result read = std::from_chars(text, p, value);
  if (read.ec == std::errc::result_out_of_range) {
    value = decimal_magnitude(text, p) > 0 ? HUGE_VAL : 0.0;
    if (*text == '-') value = -value;
  } else if (read.ec != std::errc()) {
    value = 0.0;  // a lone '-' or "-."
  }
  return static_cast<float>(value);
}

// The row that a row key's selector names, or -1 when it names none of the
// 19 rows.
int32_t row_selector(const char* selector) {
  if (is_digit(*selector)) {
    int64_t row = 0;
    for (const char* p = selector; is_digit(*p); ++p) {
      row = row * 10 + (*p - '0');
      if (row >= engine::kProfileRows) return -1;
    }
    return static_cast<int32_t>(row);
  }
  if (starts_with(selector, "BA")) return engine::kBassRow;
  if (starts_with(selector, "ME")) return engine::kMelodyRow;
  if (starts_with(selector, "DF")) return engine::kDefaultRow;
  return -1;
}

// Reads a row key's values into its row. False for a bad line.
bool read_row(HarmonizerSettings& settings, RowTable table, const char* line) {
  const int32_t row = row_selector(line + kRowKeyLength);
  if (row < 0) return false;
  const int32_t count =
      table == RowTable::kToneTypes ? engine::kToneTypeSwitches : engine::kCostWeights;
  // Each value is stored as it is found: a short line keeps the values before
  // the missing one (the job ends with the bad line anyway).
  const char* from = line;
  for (int32_t k = 0; k < count; ++k) {
    const char* value = find_value(from);
    if (value == nullptr) return false;
    if (table == RowTable::kToneTypes) {
      settings.NonHarmTonesSort[row][k] = config_integer(value);
    } else {
      settings.NonHarmTonesCoef[row][k] = config_decimal(value);
    }
    from = value;
  }
  if (row == engine::kDefaultRow) {
    for (int32_t r = 0; r < engine::kDefaultRow; ++r) {
      for (int32_t k = 0; k < count; ++k) {
        if (table == RowTable::kToneTypes) {
          settings.NonHarmTonesSort[r][k] = settings.NonHarmTonesSort[row][k];
        } else {
          settings.NonHarmTonesCoef[r][k] = settings.NonHarmTonesCoef[row][k];
        }
      }
    }
  }
  return true;
}

// Stores one normalised line that begins with a letter. False for a bad line.
bool store_line(HarmonizerSettings& settings, const char* line) {
  if (const IntegerKey* key = find_integer_key(line)) {
    const char* value = find_value(line);
    if (value == nullptr) return false;
    settings.*key->setting = config_integer(value);
    if (key->setting == &HarmonizerSettings::ClicksQuarter) {
      settings.time.clicks_per_beat = settings.ClicksQuarter;
      settings.time.clicks_per_sixteenth = settings.ClicksQuarter / 4;
    }
    return true;
  }
  const RowKey* key = find_row_key(line);
  return key != nullptr && read_row(settings, key->table, line);
}

}  // namespace

int32_t config_integer(const char* text) {
  const char* p = text;
  const bool negative = *p == '-';
  if (negative) ++p;
  int64_t value = 0;
  for (; is_digit(*p); ++p) {
    value = value * 10 + (*p - '0');
    if (value > INT64_C(2147483648)) value = INT64_C(2147483648);
  }
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  return static_cast<int32_t>(value);
}

ConfigurationRead read_configuration(HarmonizerSettings& settings, const std::string& folder) {
  const std::string preferred = base::work_path(folder, base::kConfigurationFile);
  std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::fopen(preferred.c_str(), "r"), &std::fclose);
  if (!file) file.reset(std::fopen(base::work_path(folder, base::kConfigurationText).c_str(), "r"));
  if (!file) return ConfigurationRead{false, base::Status()};
  char read[kLineBuffer];
  char line[kLineBuffer];
  while (std::fgets(read, kLineBuffer, file.get()) != nullptr) {
    normalise_line(read, line);
    if (!is_setting_line(line)) continue;
    if (store_line(settings, line)) continue;
    // The line as read, its CRLF end shown as the newline a text-mode read gives.
    const size_t length = std::strlen(read);
    if (length >= 2 && read[length - 2] == '\r' && read[length - 1] == '\n') {
      read[length - 2] = '\n';
      read[length - 1] = '\0';
    }
    return ConfigurationRead{true, base::Message(kBadConfigurationLine, read)};
  }
  return ConfigurationRead{true, base::Status()};
}

}  // namespace zelvo::harmonizer
