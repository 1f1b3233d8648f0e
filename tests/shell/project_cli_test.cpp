#include <gtest/gtest.h>

#include "app/cli_runner.h"
#include "fake_platform.h"

namespace zelvo::shell {
namespace {

using app::run_zelvo;
using Names = std::set<std::string>;

const std::string kBanner =
    "\n  - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -\n"
    "  Zelvo 1.160611\n\n";

TEST(ProjectCommandLineTest, SaveThenLoadPrintTheConsole) {
  app::TempFolder work;
  app::TempFolder root;
  const std::string song = root.file("Song");
  std::filesystem::create_directory(song);
  write_file(work.file("incom.htm"), "c");
  write_file(work.file("notes.txt"), "n");

  const app::CliResult saved = run_zelvo({"project", "save", "--work", work.path(), "--project", song});
  EXPECT_EQ(saved.status, 0);
  EXPECT_EQ(saved.output, kBanner + "\n\n SAVING PROYECT:\n\n\t--> incom-Song.htm\n\t--> notes.txt\n");
  EXPECT_EQ(file_names(song), (Names{"incom-Song.htm", "notes.txt"}));

  const app::CliResult loaded =
      run_zelvo({"--lang", "es", "project", "load", "--project", song, "--work", work.path()});
  EXPECT_EQ(loaded.status, 0);
  EXPECT_EQ(loaded.output, kBanner + "\n\n CARGANDO PROYECTO:\n\n\t--> incom-Song.htm\n\t--> notes.txt\n");
  EXPECT_EQ(file_names(work.path()), (Names{"incom.htm", "notes.txt"}));
}

// Names on disk are UTF-8; the console is Windows-1252 and the command line
// prints it as UTF-8, so a name comes out as it is on disk.
TEST(ProjectCommandLineTest, NonAsciiNamesPrintAsTheyAreOnDisk) {
  app::TempFolder work;
  app::TempFolder root;
  const std::string song = root.file("Canci\xC3\xB3n");
  std::filesystem::create_directory(song);
  write_file(work.file("inmus.xml"), "m");
  write_file(work.file("m\xC3\xBAsica.txt"), "t");
  const app::CliResult saved = run_zelvo({"project", "save", "--work", work.path(), "--project", song});
  EXPECT_EQ(saved.status, 0);
  EXPECT_EQ(saved.output, kBanner +
                              "\n\n SAVING PROYECT:\n\n\t--> inmus-Canci\xC3\xB3n.xml\n"
                              "\t--> m\xC3\xBAsica.txt\n");
  EXPECT_EQ(file_names(song), (Names{"inmus-Canci\xC3\xB3n.xml", "m\xC3\xBAsica.txt"}));

  const app::CliResult missing =
      run_zelvo({"project", "new", "--work", work.path(), "--template", root.file("Se\xC3\xB1" "al")});
  EXPECT_EQ(missing.output, kBanner + "\n\n Error reading files in folder " + root.file("Se\xC3\xB1" "al") + "\n");
}

TEST(ProjectCommandLineTest, ProjectFolderGivenAsDotIsNamedByTheFolderItself) {
  app::TempFolder work;
  app::TempFolder root;
  const std::string song = root.file("Song");
  std::filesystem::create_directories(song + "/sub");
  write_file(work.file("incom.htm"), "c");
  EXPECT_EQ(run_zelvo({"project", "save", "--work", work.path(), "--project", "."}, song).status, 0);
  EXPECT_EQ(run_zelvo({"project", "save", "--work", work.path(), "--project", ".."}, song + "/sub").status, 0);
  EXPECT_EQ(run_zelvo({"project", "save", "--work", work.path(), "--project", song + "/"}).status, 0);
  EXPECT_EQ(file_names(song), (Names{"incom-Song.htm", "sub"}));
}

TEST(ProjectCommandLineTest, NewUsesTheTemplateSubFolderByDefault) {
  app::TempFolder start;
  app::TempFolder work;
  std::filesystem::create_directory(start.file("Template"));
  write_file(start.file("Template/incom_eng.htm"), "english");
  write_file(start.file("Template/incom_spa.htm"), "spanish");
  write_file(work.file("old.txt"), "old");
  const app::CliResult result = run_zelvo({"project", "new", "--work", work.path()}, start.path());
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output, kBanner + "\n\n NEW PROYECT LOADED!\n");
  EXPECT_EQ(file_names(work.path()), (Names{"incom.htm"}));
  EXPECT_EQ(read_file(work.file("incom.htm")), "english");
}

TEST(ProjectCommandLineTest, MissingOrUnreadableFolders) {
  app::TempFolder work;
  EXPECT_EQ(run_zelvo({"project", "new"}).status, 2);
  EXPECT_EQ(run_zelvo({"project", "save", "--work", work.path()}).status, 2);
  EXPECT_EQ(run_zelvo({"project", "load", "--project", work.path()}).status, 2);
  EXPECT_EQ(run_zelvo({"project", "open", "--work", work.path()}).status, 2);
  EXPECT_EQ(run_zelvo({"project"}).status, 2);
  EXPECT_EQ(run_zelvo({"--project", work.path(), "compose"}).status, 2);
  // The same folder as work and project would lose the work: refused.
  write_file(work.file("incom.htm"), "mine");
  EXPECT_EQ(run_zelvo({"project", "load", "--work", work.path(), "--project", work.path()}).status, 2);
  EXPECT_EQ(read_file(work.file("incom.htm")), "mine");

  const app::CliResult result =
      run_zelvo({"project", "new", "--work", work.path(), "--template", "/no/such/template"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.output, kBanner + "\n\n Error reading files in folder /no/such/template\n");
  EXPECT_EQ(read_file(work.file("incom.htm")), "mine");  // nothing to refill it with: kept
}

}  // namespace
}  // namespace zelvo::shell
