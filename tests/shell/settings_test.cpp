#include "shell/settings.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

namespace zelvo::shell {
namespace {

WindowSettings parsed(const std::string& line) {
  WindowSettings settings;
  parse_settings_line(line, settings);
  return settings;
}

TEST(SettingsTest, ClampsSmallSizesAndFarPositions) {
  const WindowSettings s = parsed("-20,-15,50,119,0,1");
  EXPECT_EQ(s.left, 10);
  EXPECT_EQ(s.top, -15);
  EXPECT_EQ(s.width, 200);
  EXPECT_EQ(s.height, 200);
  EXPECT_EQ(s.open_result, 0);
  EXPECT_EQ(s.language, 1);

  const WindowSettings kept = parsed("-15,-16,120,120,7,0");
  EXPECT_EQ(kept.left, -15);
  EXPECT_EQ(kept.top, 10);
  EXPECT_EQ(kept.width, 120);
  EXPECT_EQ(kept.height, 120);
  EXPECT_EQ(kept.open_result, 1);  // any value but 0
}

TEST(SettingsTest, LanguageValueIsTakenUnchanged) { EXPECT_EQ(parsed("1,2,300,300,0,5").language, 5); }

TEST(SettingsTest, ValuesReadAsAtolDoes) {
  const WindowSettings s = parsed(" 30x, +40 ,99999999999,300junk,-0,");
  EXPECT_EQ(s.left, 30);
  EXPECT_EQ(s.top, 40);
  EXPECT_EQ(s.width, 2147483647);  // kept within 32 bits
  EXPECT_EQ(s.height, 300);
  EXPECT_EQ(s.open_result, 0);
  EXPECT_EQ(s.language, 0);  // nothing after the last comma reads as 0
}

TEST(SettingsTest, ShortLineKeepsTheRestAndDefaultsStayUnclamped) {
  const WindowSettings s = parsed("100,-50");
  EXPECT_EQ(s.left, 100);
  EXPECT_EQ(s.top, 10);
  EXPECT_EQ(s.width, 600);
  EXPECT_EQ(s.height, 450);
  const WindowSettings empty = parsed("");
  EXPECT_EQ(empty.left, 0);  // atol of nothing
  EXPECT_EQ(empty.top, kSystemPosition);
}

TEST(SettingsTest, MissingFileKeepsDefaults) {
  TempFolder folder;
  WindowSettings s;
  EXPECT_FALSE(load_settings(folder.path(), s));
  EXPECT_EQ(s.left, kSystemPosition);
  EXPECT_EQ(s.top, kSystemPosition);
  EXPECT_EQ(s.width, 600);
  EXPECT_EQ(s.height, 450);
  EXPECT_EQ(s.open_result, 0);
  EXPECT_EQ(s.language, 0);
}

TEST(SettingsTest, SaveWritesOneLineAndLoadReadsItBackWithCrLf) {
  TempFolder folder;
  WindowSettings s;
  s.left = -3;
  s.top = 44;
  s.width = 800;
  s.height = 640;
  s.open_result = 1;
  s.language = 1;
  ASSERT_TRUE(save_settings(folder.path(), s));
  EXPECT_EQ(read_file(folder.file("zlvconf.rur")), "-3,44,800,640,1,1\n");

  write_file(folder.file("zlvconf.rur"), "5,6,700,500,0,1\r\n");
  WindowSettings back;
  ASSERT_TRUE(load_settings(folder.path(), back));
  EXPECT_EQ(back.left, 5);
  EXPECT_EQ(back.top, 6);
  EXPECT_EQ(back.width, 700);
  EXPECT_EQ(back.height, 500);
  EXPECT_EQ(back.language, 1);
}

}  // namespace
}  // namespace zelvo::shell
