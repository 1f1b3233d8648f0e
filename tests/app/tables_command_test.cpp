// zelvo tables and compose --set where a recorded scenario cannot reach: a
// read-only file (git keeps no such mode), and a run with a setting that
// must equal a run of the same change made by hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/cli_runner.h"

namespace zelvo::app {
namespace {

namespace fs = std::filesystem;

std::string example(const std::string& name) { return std::string(ZELVO_SOURCE_DIR) + "/examples/" + name; }

TEST(TablesCommandTest, ReadOnlyFileIsRefusedAndLeftAsItIs) {
  TempFolder work;
  fs::copy_file(example("Template/incom_eng.htm"), work.file("incom.htm"));
  fs::permissions(work.file("incom.htm"), fs::perms::owner_read | fs::perms::group_read);
  EXPECT_EQ(run_zelvo({"tables", "set", "TCONF", "1", "6", "9", "--work", work.path()}).status, 1);
  EXPECT_EQ(test::read_file(work.file("incom.htm")), test::read_file(example("Template/incom_eng.htm")));
  EXPECT_EQ(std::distance(fs::directory_iterator(work.path()), fs::directory_iterator()), 1);
  // Reading is fine, and a run with a setting leaves the file alone.
  EXPECT_EQ(run_zelvo({"tables", "show", "--work", work.path()}).status, 0);
  fs::copy_file(example("Template/insec.xml"), work.file("insec.xml"));
  EXPECT_EQ(run_zelvo({"--work", work.path(), "compose", "--set", "TCONF:1:6=9"}).status, 0);
  EXPECT_TRUE(fs::exists(work.file("outco.mid")));
}

TEST(TablesCommandTest, SeededRunsEqualHandEditedRuns) {
  for (const char* seed : {"3", "4"}) {
    TempFolder with_setting, by_hand;
    for (const TempFolder* work : {&with_setting, &by_hand}) {
      fs::copy_file(example("demo/incom.htm"), work->file("incom.htm"));
      fs::copy_file(example("demo/insec.xml"), work->file("insec.xml"));
    }
    const std::string setting = std::string("TCONF:1:6=") + seed;
    const CliResult set = run_zelvo({"compose", "--set", setting}, with_setting.path());
    ASSERT_EQ(run_zelvo({"tables", "set", "TCONF", "1", "6", seed}, by_hand.path()).status, 0);
    const CliResult hand = run_zelvo({"compose"}, by_hand.path());
    EXPECT_EQ(set.status, 0);
    EXPECT_EQ(set.output, hand.output);
    EXPECT_EQ(test::read_file(with_setting.file("incom.htm")), test::read_file(example("demo/incom.htm")));
    for (const char* result : {"outco.mid", "outco.rur"}) {
      EXPECT_EQ(test::read_file(with_setting.file(result)), test::read_file(by_hand.file(result))) << result;
    }
  }
}

}  // namespace
}  // namespace zelvo::app
