#include "shell/shell.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "app/cli_runner.h"
#include "fake_platform.h"
#include "shell/commands.h"

namespace zelvo::shell {
namespace {

// The shell changes the current directory to the work folder; each test
// gets its start folder back.
class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_directory_ = current_directory(); }
  void TearDown() override { ASSERT_EQ(chdir(saved_directory_.c_str()), 0); }

  std::string saved_directory_;
  app::TempFolder start_;
  Application application_;
  FakePlatform platform_;
};

TEST_F(ShellTest, WhileAJobRunsOnlyStopActs) {
  Shell shell(application_, platform_, start_.path());
  console::Console& console = application_.console();
  console.set_job_running(true);
  for (int command : {kCommandNew, kCommandOpen, kCommandSave, kCommandExit, kCommandEditInformation,
                      kCommandEditHarmOptions, kCommandFolders, kCommandOpenMidifile, kCommandSpanish,
                      kCommandComposer, kCommandHarmonizer, kCommandAll, kCommandErase,
                      kCommandDocumentation, kCommandAbout, kCommandWorkFolder, kCommandProjectFolder}) {
    EXPECT_FALSE(shell.execute(command)) << command;
  }
  EXPECT_TRUE(platform_.questions.empty());
  EXPECT_TRUE(platform_.messages.empty());
  EXPECT_TRUE(platform_.requests.empty());
  EXPECT_TRUE(platform_.chooser_titles.empty());
  EXPECT_EQ(platform_.folders_dialogs + platform_.ends, 0);
  EXPECT_EQ(console.language(), console::kEnglish);
  EXPECT_FALSE(application_.open_result());
  EXPECT_EQ(console.contents(), "");  // no Erase, no job
  EXPECT_FALSE(console.stop_requested());

  EXPECT_TRUE(shell.execute(kCommandStop));
  EXPECT_TRUE(console.stop_requested());
  console.set_job_running(false);
  console.clear_stop_request();
}

TEST_F(ShellTest, StopWithoutAJobAndUnknownNumbersDoNothing) {
  Shell shell(application_, platform_, start_.path());
  EXPECT_TRUE(shell.execute(kCommandStop));
  EXPECT_FALSE(application_.console().stop_requested());
  EXPECT_FALSE(shell.execute(99));
  EXPECT_FALSE(shell.execute(132));
  EXPECT_TRUE(shell.execute(103));  // a number in range without an item is taken and ignored
}

TEST_F(ShellTest, CheckMarksFollowTheLanguageAndTheOpenResultSwitch) {
  Shell shell(application_, platform_, start_.path());
  EXPECT_TRUE(shell.is_checked(kCommandEnglish));
  EXPECT_FALSE(shell.is_checked(kCommandSpanish));
  EXPECT_FALSE(shell.is_checked(kCommandOpenMidifile));
  shell.execute(kCommandSpanish);
  shell.execute(kCommandOpenMidifile);
  EXPECT_FALSE(shell.is_checked(kCommandEnglish));
  EXPECT_TRUE(shell.is_checked(kCommandSpanish));
  EXPECT_TRUE(shell.is_checked(kCommandOpenMidifile));
  EXPECT_EQ(application_.console().language(), console::kSpanish);
  shell.execute(kCommandOpenMidifile);
  shell.execute(kCommandEnglish);
  EXPECT_FALSE(shell.is_checked(kCommandOpenMidifile));
  EXPECT_TRUE(shell.is_checked(kCommandEnglish));
}

TEST_F(ShellTest, LanguageChangeAffectsOnlyMessagesPrintedAfterIt) {
  Shell shell(application_, platform_, start_.path());
  console::Console& console = application_.console();
  console_print(console, console::MessagePair{"one\n", "uno\n"});
  shell.execute(kCommandSpanish);
  console_print(console, console::MessagePair{"two\n", "dos\n"});
  EXPECT_EQ(console.contents(), "one\ndos\n");
}

TEST_F(ShellTest, ComposeFromTheMenuFillsTheConsoleAndEndsTheJob) {
  app::TempFolder work;
  write_file(start_.file("zlvfolders.rur"), "\n" + work.path() + "\n\n");
  Shell shell(application_, platform_, start_.path());
  shell.load_folders_file();
  shell.execute(kCommandErase);
  EXPECT_TRUE(shell.execute(kCommandComposer));
  application_.runner().wait();
  const std::string text = application_.console().contents();
  EXPECT_NE(text.find("Zelvo 1.160611"), std::string::npos);
  EXPECT_NE(text.find("** COMPOSING!!! "), std::string::npos);
  EXPECT_FALSE(application_.console().job_running());
  EXPECT_EQ(current_directory(), work.path());  // the job ran in the work folder
}

TEST_F(ShellTest, NoFoldersFileMeansTemplateDefaultAndRefusals) {
  Shell shell(application_, platform_, start_.path());
  shell.load_folders_file();
  EXPECT_EQ(shell.folders().template_folder, start_.path() + "/Template");
  EXPECT_EQ(platform_.items[kCommandWorkFolder], "&WFolder: (Empty)");
  EXPECT_EQ(platform_.items[kCommandProjectFolder], "&PFolder: (Empty)");
  shell.execute(kCommandNew);
  shell.execute(kCommandOpen);
  shell.execute(kCommandSave);
  EXPECT_EQ(platform_.messages.size(), 3u);
  EXPECT_EQ(platform_.messages[0],
            "Error|Impossible: There is no Work Folder.\nSelect anyone in Options --> Folders.");
  // The folder items saved the folders file.
  EXPECT_EQ(read_file(start_.file("zlvfolders.rur")), start_.path() + "/Template\n\n\n");
}

TEST_F(ShellTest, FolderItemsShowTheLastComponentAndEnterTheWorkFolder) {
  app::TempFolder root;
  std::filesystem::create_directory(root.file("Piece"));
  std::filesystem::create_directory(root.file("Song"));
  Shell shell(application_, platform_, start_.path());
  platform_.chosen = root.file("Song");
  shell.execute(kCommandProjectFolder);
  EXPECT_EQ(platform_.chooser_titles, (std::vector<std::string>{"Select Proyect Folder"}));
  EXPECT_EQ(platform_.items[kCommandProjectFolder], "&PFolder: Song");

  platform_.chosen = root.file("Piece");
  shell.choose_dialog_folder(kControlWork);
  EXPECT_EQ(platform_.chooser_titles.back(), "Select Work Folder");
  EXPECT_EQ(platform_.items[kCommandWorkFolder], "&WFolder: Piece");
  EXPECT_EQ(current_directory(), root.file("Piece"));
  EXPECT_EQ(shell.dialog_button_text(kControlWork), root.file("Piece"));
  EXPECT_EQ(shell.dialog_button_text(kControlTemplate), "(Not Defined)");

  platform_.chosen.clear();  // cancelled: the folder stays
  shell.choose_dialog_folder(kControlTemplate);
  EXPECT_EQ(platform_.chooser_titles.back(), "Select Template Folder");
  EXPECT_EQ(shell.folders().template_folder, "");
  platform_.chosen = "/" + std::string(kMaxFolderPath, 'x');  // too long to keep
  shell.choose_dialog_folder(kControlProject);
  EXPECT_EQ(shell.folders().project, root.file("Song"));
}

TEST_F(ShellTest, SettingsAreAppliedAtStartAndWrittenAtExit) {
  write_file(start_.file("zlvconf.rur"), "40,50,50,700,3,1\n");
  Shell shell(application_, platform_, start_.path());
  shell.load_settings_file();
  EXPECT_EQ(shell.settings().width, 200);
  EXPECT_TRUE(application_.open_result());
  EXPECT_EQ(application_.console().language(), console::kSpanish);
  shell.execute(kCommandEnglish);
  shell.save_on_exit(11, 22, 640, 480);
  EXPECT_EQ(read_file(start_.file("zlvconf.rur")), "11,22,640,480,1,0\n");
  EXPECT_TRUE(std::filesystem::exists(start_.file("zlvfolders.rur")));
}

TEST_F(ShellTest, LaunchCommandsAndAbout) {
  Shell shell(application_, platform_, start_.path());
  shell.folders().work = "/w";
  shell.execute(kCommandEditInformation);
  shell.execute(kCommandWorkFolder);
  shell.execute(kCommandSpanish);
  shell.execute(kCommandDocumentation);
  shell.execute(kCommandAbout);
  shell.execute(kCommandFolders);
  shell.execute(kCommandExit);
  EXPECT_EQ(platform_.requests,
            (std::vector<std::string>{"edit infor.rur in /w", "explore /w in ",
                                      "open Zelvo_Documentation_spa.pdf in " + start_.path()}));
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0].rfind("About Zelvo|", 0), 0u);
  EXPECT_EQ(platform_.folders_dialogs, 1);
  EXPECT_EQ(platform_.ends, 1);
}

}  // namespace
}  // namespace zelvo::shell
