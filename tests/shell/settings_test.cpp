#include "shell/settings.h"

#include <gtest/gtest.h>

#include <string>

#include "fake_platform.h"

namespace zelvo::shell {
namespace {

// The values in order, "system" for the system's position.
std::string text_of(const WindowSettings& s) {
  std::string out;
  for (const int32_t value : {s.left, s.top, s.width, s.height, s.open_result, s.language}) {
    out += (out.empty() ? "" : ",") + (value == kSystemPosition ? "system" : std::to_string(value));
  }
  return out;
}

TEST(SettingsTest, EveryLineOfTheTableReadsAsRecorded) {
  for (const std::string& line : test::table_rows("shell/settings_lines.txt", 6)) {
    WindowSettings settings;
    parse_settings_line(line.substr(0, line.rfind('|')), settings);
    EXPECT_EQ(text_of(settings), line.substr(line.rfind('|') + 1)) << line;
  }
}

TEST(SettingsTest, MissingFileKeepsDefaults) {
  TempFolder folder;
  WindowSettings s;
  EXPECT_FALSE(load_settings(folder.path(), s));
  EXPECT_EQ(text_of(s), "system,system,600,450,0,0");
}

TEST(SettingsTest, SaveWritesOneLineAndLoadReadsItBackWithCrLf) {
  TempFolder folder;
  const WindowSettings s{-3, 44, 800, 640, 1, 1};
  ASSERT_TRUE(save_settings(folder.path(), s));
  EXPECT_EQ(read_file(folder.file("zlvconf.rur")), "-3,44,800,640,1,1\n");

  write_file(folder.file("zlvconf.rur"), "5,6,700,500,0,1\r\n");
  WindowSettings back;
  ASSERT_TRUE(load_settings(folder.path(), back));
  EXPECT_EQ(text_of(back), "5,6,700,500,0,1");
}

}  // namespace
}  // namespace zelvo::shell
