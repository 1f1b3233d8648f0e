#include "shell/launchers.h"

#include <gtest/gtest.h>

#include "fake_platform.h"
#include "shell/shell_messages.h"

namespace zelvo::shell {
namespace {

constexpr const char* kNoWork =
    "Error|Impossible: There is no Work Folder.\nSelect anyone in Options --> Folders.";

TEST(LaunchersTest, EditorsFallBackToTheTextFileOnlyWhenTheFirstFails) {
  const Folders folders{"", "/w", ""};
  FakePlatform both;
  edit_information(folders, both);
  EXPECT_EQ(both.requests, (std::vector<std::string>{"edit infor.rur in /w"}));

  FakePlatform no_rur;
  no_rur.failing = {"infor.rur", "conar.rur"};
  edit_information(folders, no_rur);
  edit_harmonizer_options(folders, no_rur);
  EXPECT_EQ(no_rur.requests, (std::vector<std::string>{"edit infor.rur in /w", "edit infor.txt in /w",
                                                       "edit conar.rur in /w", "edit conar.txt in /w"}));
  EXPECT_TRUE(no_rur.messages.empty());
}

TEST(LaunchersTest, NoWorkFolderShowsTheMessageAndRequestsNothing) {
  const Folders folders{"/t", "", "/p"};
  FakePlatform platform;
  edit_information(folders, platform);
  edit_harmonizer_options(folders, platform);
  explore_work_folder(folders, platform);
  EXPECT_TRUE(platform.requests.empty());
  EXPECT_EQ(platform.messages, (std::vector<std::string>{kNoWork, kNoWork, kNoWork}));
}

TEST(LaunchersTest, AboutNamesTheProgramAndItsVersion) {
  EXPECT_EQ(about_text().substr(0, 47), "Zelvo 1.160611\n\nA tool for algorithmic music.\n\n");
}

TEST(LaunchersTest, ExploreAndDocumentationByLanguage) {
  FakePlatform platform;
  explore_work_folder(Folders{"", "/w", ""}, platform);
  open_documentation("/start", 1, platform);
  open_documentation("/start", 0, platform);
  EXPECT_EQ(platform.requests,
            (std::vector<std::string>{"explore /w in ", "open Zelvo_Documentation_spa.pdf in /start",
                                      "open Zelvo_Documentation_eng.pdf in /start"}));
}

TEST(LaunchersTest, ShellTargetMustExist) {
  TempFolder work;
  write_file(work.file("infor.txt"), "");
  EXPECT_FALSE(resolve_shell_target("infor.rur", work.path()).has_value());
  EXPECT_EQ(resolve_shell_target("infor.txt", work.path()).value_or(""), work.file("infor.txt"));
  EXPECT_EQ(resolve_shell_target(work.path(), "").value_or(""), work.path());
}

}  // namespace
}  // namespace zelvo::shell
