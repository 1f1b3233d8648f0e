#include "shell/settings.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "files/whole_file.h"
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
  std::string line;
  for (const int64_t value : {int64_t{settings.left}, int64_t{settings.top}, int64_t{settings.width},
                              int64_t{settings.height}, int64_t{settings.open_result}, int64_t{settings.language}}) {
    line += (line.empty() ? "" : ",") + std::to_string(value);
  }
  return files::write_whole(join_path(folder, kSettingsFileName), line + "\n") == files::WriteResult::kWritten;
}

}  // namespace zelvo::shell
