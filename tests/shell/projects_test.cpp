#include "shell/projects.h"

#include <gtest/gtest.h>

#include "app/cli_runner.h"
#include "fake_platform.h"

namespace zelvo::shell {
namespace {

using Names = std::set<std::string>;

TEST(ProjectNamingTest, PrefixedNamesCarryTheProjectName) {
  EXPECT_EQ(project_file_name("incom.htm", "Song"), "incom-Song.htm");
  EXPECT_EQ(project_file_name("inmus.xml", "Song"), "inmus-Song.xml");
  EXPECT_EQ(project_file_name("outar.mid", "Song"), "outar-Song.mid");
  EXPECT_EQ(project_file_name("conar.txt", "My Song"), "conar-My Song.txt");
  EXPECT_EQ(project_file_name("incom_eng.htm", "S"), "incom_eng-S.htm");
  EXPECT_EQ(project_file_name("notes.txt", "Song"), "notes.txt");
  EXPECT_EQ(project_file_name("Incom.htm", "Song"), "Incom.htm");  // prefixes are case-sensitive
  EXPECT_EQ(project_file_name("incom", "Song"), "incom");         // no room for an extension

  EXPECT_EQ(work_file_name("incom-Song.htm"), "incom.htm");
  EXPECT_EQ(work_file_name("inmus-Song.xml"), "inmus.xml");
  EXPECT_EQ(work_file_name("notes.txt"), "notes.txt");
  EXPECT_EQ(work_file_name("incom.htm"), "incom.htm");
  EXPECT_EQ(work_file_name("incom"), "incom");
}

class ProjectTest : public ::testing::Test {
 protected:
  void SetUp() override { folders_ = Folders{templ_.path(), work_.path(), project_.path() + "/Song"}; }

  app::TempFolder templ_;
  app::TempFolder work_;
  app::TempFolder project_;
  Folders folders_;
  console::Console console_;
  FakePlatform platform_;
};

TEST_F(ProjectTest, SaveAndLoadRenameByPrefixAndPrintEachFile) {
  std::filesystem::create_directory(folders_.project);
  write_file(work_.file("incom.htm"), "composition");
  write_file(work_.file("inmus.xml"), "music");
  write_file(work_.file("notes.txt"), "notes");
  write_file(folders_.project + "/old.txt", "kept");

  EXPECT_EQ(save_project(console_, folders_, platform_), CommandResult::kDone);
  EXPECT_EQ(platform_.questions, (std::vector<std::string>{"Save Project|Are you sure?"}));
  EXPECT_EQ(file_names(folders_.project),
            (Names{"incom-Song.htm", "inmus-Song.xml", "notes.txt", "old.txt"}));
  EXPECT_EQ(read_file(folders_.project + "/incom-Song.htm"), "composition");
  EXPECT_EQ(console_.contents(),
            "\n\n SAVING PROYECT:\n\n\t--> incom-Song.htm\n\t--> inmus-Song.xml\n\t--> notes.txt\n");

  write_file(work_.file("scratch.txt"), "gone after load");
  FakePlatform loading;
  console::Console console;
  console.set_language(console::kSpanish);
  EXPECT_EQ(load_project(console, folders_, loading), CommandResult::kDone);
  EXPECT_EQ(loading.questions, (std::vector<std::string>{"Load Project|Load Project Song?"}));
  EXPECT_EQ(file_names(work_.path()), (Names{"incom.htm", "inmus.xml", "notes.txt", "old.txt"}));
  EXPECT_EQ(read_file(work_.file("inmus.xml")), "music");
  EXPECT_EQ(console.contents(),
            "\n\n CARGANDO PROYECTO:\n\n\t--> incom-Song.htm\n\t--> inmus-Song.xml\n\t--> notes.txt\n"
            "\t--> old.txt\n");
}

TEST_F(ProjectTest, NewWorkInSpanishMakesIncomFromTheSpanishVersion) {
  write_file(templ_.file("incom_eng.htm"), "english");
  write_file(templ_.file("incom_spa.htm"), "espa\xF1ol");
  write_file(templ_.file("conar.txt"), "config");
  write_file(work_.file("incom.htm"), "previous work");
  write_file(work_.file("outco.mid"), "previous result");
  console_.set_language(console::kSpanish);

  EXPECT_EQ(new_work(console_, folders_, platform_), CommandResult::kDone);
  EXPECT_EQ(platform_.questions, (std::vector<std::string>{"New Work|Load New Work?"}));
  EXPECT_EQ(file_names(work_.path()), (Names{"conar.txt", "incom.htm"}));
  EXPECT_EQ(read_file(work_.file("incom.htm")), "espa\xF1ol");
  EXPECT_EQ(console_.contents(), "\n\n NUEVO PROYECTO CARGADO!\n");
  EXPECT_EQ(file_names(templ_.path()), (Names{"conar.txt", "incom_eng.htm", "incom_spa.htm"}));
}

TEST_F(ProjectTest, NewWorkInEnglishAndWithoutLanguageVersions) {
  write_file(templ_.file("incom_eng.htm"), "english");
  write_file(templ_.file("incom_spa.htm"), "spanish");
  EXPECT_EQ(new_work(console_, folders_, platform_), CommandResult::kDone);
  EXPECT_EQ(read_file(work_.file("incom.htm")), "english");
  EXPECT_EQ(console_.contents(), "\n\n NEW PROYECT LOADED!\n");

  app::TempFolder plain;
  write_file(plain.file("incom.htm"), "plain");
  folders_.template_folder = plain.path();
  EXPECT_EQ(new_work(console_, folders_, platform_), CommandResult::kDone);
  EXPECT_EQ(file_names(work_.path()), (Names{"incom.htm"}));
  EXPECT_EQ(read_file(work_.file("incom.htm")), "plain");
  EXPECT_TRUE(platform_.failures.empty());
}

TEST_F(ProjectTest, MissingFoldersAreRefusedWithTheirMessageBoxes) {
  const Folders none{templ_.path(), "", ""};
  write_file(templ_.file("incom.htm"), "x");
  EXPECT_EQ(new_work(console_, none, platform_), CommandResult::kRefused);
  EXPECT_EQ(load_project(console_, none, platform_), CommandResult::kRefused);
  EXPECT_TRUE(platform_.questions.empty());  // both refuse before asking
  EXPECT_EQ(save_project(console_, none, platform_), CommandResult::kRefused);
  EXPECT_EQ(platform_.questions, (std::vector<std::string>{"Save Project|Are you sure?"}));
  EXPECT_EQ(platform_.messages,
            (std::vector<std::string>{
                "Error|Impossible: There is no Work Folder.\nSelect anyone in Options --> Folders.",
                "Error|Impossible: Missing Folder (Work or Project)",
                "Error|Impossible: Missing Folder (Work or Project)"}));
  EXPECT_EQ(console_.contents(), "");
}

TEST_F(ProjectTest, NoAnswerChangesNothing) {
  write_file(work_.file("incom.htm"), "mine");
  write_file(templ_.file("incom_eng.htm"), "template");
  platform_.answer = false;
  EXPECT_EQ(new_work(console_, folders_, platform_), CommandResult::kCancelled);
  std::filesystem::create_directory(folders_.project);
  EXPECT_EQ(load_project(console_, folders_, platform_), CommandResult::kCancelled);
  EXPECT_EQ(save_project(console_, folders_, platform_), CommandResult::kCancelled);
  EXPECT_EQ(read_file(work_.file("incom.htm")), "mine");
  EXPECT_TRUE(file_names(folders_.project).empty());
  EXPECT_EQ(console_.contents(), "");
}

TEST_F(ProjectTest, WorkFolderThatIsAlsoTheSourceIsNeverEmptied) {
  write_file(work_.file("incom.htm"), "mine");
  Folders same{work_.path(), work_.path(), work_.path() + "/"};
  EXPECT_EQ(new_work(console_, same, platform_), CommandResult::kRefused);
  EXPECT_EQ(load_project(console_, same, platform_), CommandResult::kRefused);
  EXPECT_EQ(read_file(work_.file("incom.htm")), "mine");
  EXPECT_EQ(platform_.messages,
            (std::vector<std::string>{
                "Error|Impossible: The Work Folder and the Template Folder are the same.",
                "Error|Impossible: The Work Folder and the Project Folder are the same."}));
}

TEST_F(ProjectTest, UnreadableSourceFolderLeavesTheWorkAlone) {
  write_file(work_.file("incom.htm"), "mine");
  EXPECT_EQ(load_project(console_, folders_, platform_), CommandResult::kIncomplete);
  EXPECT_EQ(console_.contents(),
            "\n\n LOADING PROYECT:\n\n\n\n Error reading files in folder " + folders_.project + "\n");
  EXPECT_EQ(read_file(work_.file("incom.htm")), "mine");

  console::Console console;
  folders_.template_folder = templ_.path() + "/missing";
  EXPECT_EQ(new_work(console, folders_, platform_), CommandResult::kIncomplete);
  EXPECT_EQ(console.contents(), "\n\n Error reading files in folder " + folders_.template_folder + "\n");
  EXPECT_EQ(read_file(work_.file("incom.htm")), "mine");
}

TEST_F(ProjectTest, FailedCopiesMakeTheCommandIncomplete) {
  std::filesystem::create_directory(folders_.project);
  write_file(work_.file("notes.txt"), "n");
  std::filesystem::create_directory(folders_.project + "/notes.txt");  // a folder in the way
  EXPECT_EQ(save_project(console_, folders_, platform_), CommandResult::kIncomplete);
  ASSERT_EQ(platform_.failures.size(), 1u);
  EXPECT_NE(platform_.failures[0].find("cannot copy"), std::string::npos);
  EXPECT_EQ(console_.contents(), "\n\n SAVING PROYECT:\n\n\t--> notes.txt\n");
}

}  // namespace
}  // namespace zelvo::shell
