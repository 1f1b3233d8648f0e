#pragma once

#include <cstdint>
#include <limits>
#include <string>

namespace zelvo::shell {

constexpr const char* kSettingsFileName = "zlvconf.rur";
// A window position the window system chooses.
constexpr int32_t kSystemPosition = std::numeric_limits<int32_t>::min();

// The settings file: one line "left,top,width,height,open-result,language".
struct WindowSettings {
  int32_t left = kSystemPosition;
  int32_t top = kSystemPosition;
  int32_t width = 600;
  int32_t height = 450;
  int32_t open_result = 0;
  int32_t language = 0;
};

// Takes the values of one settings line in order, each after the next comma,
// and clamps them: a left or top below -15 becomes 10, a width or height
// below 120 becomes 200, any open-result value but 0 becomes 1. Values after
// a missing comma keep what `settings` held.
void parse_settings_line(const std::string& line, WindowSettings& settings);

// Reads `folder`/zlvconf.rur into `settings`; false (defaults kept) when the
// file is missing.
bool load_settings(const std::string& folder, WindowSettings& settings);
// Writes the line to `folder`/zlvconf.rur, replacing it.
bool save_settings(const std::string& folder, const WindowSettings& settings);

}  // namespace zelvo::shell
