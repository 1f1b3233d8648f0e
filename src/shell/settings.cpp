#include "shell/settings.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "shell/folders.h"

namespace zelvo::shell {

namespace {

constexpr int kValueCount = 6;

// atol's reading of a number, kept to 32 bits.
int32_t to_int32(const char* text) {
  const long long value = std::strtoll(text, nullptr, 10);
  return static_cast<int32_t>(std::clamp<long long>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

void parse_settings_line(const std::string& line, WindowSettings& settings) {
  int32_t* const fields[kValueCount] = {&settings.left,  &settings.top,         &settings.width,
                                        &settings.height, &settings.open_result, &settings.language};
  bool read[kValueCount] = {};
  size_t at = 0;
  for (int i = 0; i < kValueCount; ++i) {
    if (i > 0) {
      const size_t comma = line.find(',', at);
      if (comma == std::string::npos) break;
      at = comma + 1;
    }
    *fields[i] = to_int32(line.c_str() + at);
    read[i] = true;
  }
  if (read[0] && settings.left < -15) settings.left = 10;
  if (read[1] && settings.top < -15) settings.top = 10;
  if (read[2] && settings.width < 120) settings.width = 200;
  if (read[3] && settings.height < 120) settings.height = 200;
  if (read[4] && settings.open_result != 0) settings.open_result = 1;
}

bool load_settings(const std::string& folder, WindowSettings& settings) {
  std::ifstream file(join_path(folder, kSettingsFileName), std::ios::binary);
  if (!file) return false;
  std::string line;
  if (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    parse_settings_line(line, settings);
  }
  return true;
}

bool save_settings(const std::string& folder, const WindowSettings& settings) {
  std::unique_ptr<FILE, decltype(&std::fclose)> file(
      std::fopen(join_path(folder, kSettingsFileName).c_str(), "wb"), &std::fclose);
  if (!file) return false;
  std::fprintf(file.get(), "%ld,%ld,%ld,%ld,%ld,%ld\n", static_cast<long>(settings.left),
               static_cast<long>(settings.top), static_cast<long>(settings.width),
               static_cast<long>(settings.height), static_cast<long>(settings.open_result),
               static_cast<long>(settings.language));
  return std::fflush(file.get()) == 0;
}

}  // namespace zelvo::shell
