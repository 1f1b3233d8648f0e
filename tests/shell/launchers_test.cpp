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

// When neither file opens, a dialog says whether the file or the editor is
// missing; the same for the documentation and its viewer.
TEST(LaunchersTest, NothingOpenedIsSaidInADialog) {
  TempFolder work;
  FakePlatform none;
  none.failing = {"conar.rur", "conar.txt", "Zelvo_Documentation_eng.pdf"};
  edit_harmonizer_options(Folders{"", work.path(), ""}, none);
  write_file(work.file("conar.txt"), "");
  write_file(work.file("Zelvo_Documentation_eng.pdf"), "");
  edit_harmonizer_options(Folders{"", work.path(), ""}, none);
  open_documentation(work.path(), 0, none);
  ASSERT_EQ(none.messages.size(), 3u);
  EXPECT_EQ(none.messages[0], "Error|The work folder " + work.path() +
                                  " has no conar.txt: start a work there with Project > New.");
  EXPECT_EQ(none.messages[1], "Error|No editor started for conar.txt in " + work.path() +
                                  ": install a text editor and make it the one for text files.");
  EXPECT_EQ(none.messages[2], "Error|No viewer started for " + work.file("Zelvo_Documentation_eng.pdf") +
                                  ": install a PDF viewer and make it the one for PDF files.");
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
  const std::string first = "Zelvo " + std::string(console::kVersion) + "\n\nA tool for algorithmic music.\n\n";
  EXPECT_EQ(about_text().substr(0, first.size()), first);
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
