#include "shell/folders.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "fake_platform.h"
#include "support/cases.h"

namespace zelvo::shell {
namespace {

TEST(FoldersTest, LastPathComponent) {
  EXPECT_EQ(last_path_component("/home/ana/Song"), "Song");
  EXPECT_EQ(last_path_component("/home/ana/Song/"), "Song");
  EXPECT_EQ(last_path_component("Song"), "Song");
  EXPECT_EQ(last_path_component(""), "");
}

TEST(FoldersTest, FolderUsableSaysWhyAJobCannotWorkThere) {
  TempFolder folder;
  write_file(folder.file("incom.htm"), "x");
  EXPECT_EQ(folder_usable(folder.path()), 0);
  EXPECT_EQ(folder_usable(folder.file("missing")), ENOENT);
  EXPECT_EQ(folder_usable(folder.file("incom.htm")), ENOTDIR);
  EXPECT_EQ(folder_usable(folder.file("incom.htm/below")), ENOTDIR);
}

TEST(FoldersTest, ConsoleNamesAreWindows1252) {
  EXPECT_EQ(console_name("canci\xC3\xB3n.txt"), "canci\xF3n.txt");
  EXPECT_EQ(console_name("\xE2\x82\xAC \xE4\xB8\xAD"), "\x80 ?");  // the euro sign has a byte
  EXPECT_EQ(console_name("plain.txt"), "plain.txt");
  // Not UTF-8 (a Windows-1252 name, a cut sequence, an overlong form): the bytes.
  EXPECT_EQ(console_name("canci\xF3n.txt"), "canci\xF3n.txt");
  EXPECT_EQ(console_name("end\xC3"), "end\xC3");
  EXPECT_EQ(console_name("\xC0\xAF"), "\xC0\xAF");
}

TEST(FoldersTest, ForEachFileListsFilesOnlyInNameOrderIgnoringCase) {
  TempFolder folder;
  write_file(folder.file("b.txt"), "");
  write_file(folder.file("A.txt"), "");
  write_file(folder.file("_x"), "");
  write_file(folder.file("c.txt"), "");
  std::filesystem::create_directory(folder.file("sub"));
  std::vector<std::string> seen;
  EXPECT_TRUE(for_each_file(folder.path() + "/", [&](const std::string& path) {
                seen.push_back(path);
                return 0;
              }).ok());
  const std::string base = folder.path() + "/";
  EXPECT_EQ(seen, (std::vector<std::string>{base + "A.txt", base + "b.txt", base + "c.txt", base + "_x"}));

  int calls = 0;
  EXPECT_TRUE(for_each_file(folder.path(), [&](const std::string&) { return ++calls == 2 ? 1 : 0; }).ok());
  EXPECT_EQ(calls, 2);  // stops at the first non-zero answer
}

TEST(FoldersTest, AnUnlistableFolderFailsWithTheFolderError) {
  int calls = 0;
  const base::Status walked = for_each_file("/no/such/folder", [&](const std::string&) { return ++calls; });
  ASSERT_FALSE(walked.ok());
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(base::render(walked.error(), base::kEnglish), "\n\n Error reading files in folder /no/such/folder\n");
  EXPECT_EQ(base::render(walked.error(), base::kSpanish), "\n\n Error al leer archivos de la carpeta /no/such/folder\n");
}

TEST(FoldersTest, LinksToNothingAreSkippedAndLinksToFilesListed) {
  TempFolder folder;
  write_file(folder.file("a.txt"), "");
  std::filesystem::create_symlink(folder.file("gone"), folder.file("b-link"));
  std::filesystem::create_symlink(folder.file("a.txt"), folder.file("c-link"));
  std::vector<std::string> seen;
  EXPECT_TRUE(for_each_file(folder.path(), [&](const std::string& path) {
                seen.push_back(last_path_component(path));
                return 0;
              }).ok());
  EXPECT_EQ(seen, (std::vector<std::string>{"a.txt", "c-link"}));
}

// The cases of data/shell/folders_cases.txt: a folders file ({work} and
// {project} scratch folders, {source} the source tree, which holds the
// default Template) read from a start folder, against the folders it gives
// and what the console shows. `call template` asks for the default template
// of a program in {root}/bin, a folder outside the source tree, with the
// case's files under {root}.
TEST(FoldersTest, EveryFoldersFileReadsAsRecorded) {
  test::check_cases(test::test_data("shell/folders_cases.txt"), [](const test::Case& c) {
    TempFolder start, work, project, root;
    const std::pair<std::string, std::string> names[] = {{"{work}", work.path()},
                                                         {"{project}", project.path()},
                                                         {"{root}", root.path()},
                                                         {"{source}", ZELVO_SOURCE_DIR}};
    if (c.call.at(0) == "template") {
      for (const auto& [name, bytes] : c.files) {
        std::filesystem::create_directories(std::filesystem::path(root.file(name)).parent_path());
        write_file(root.file(name), bytes);
      }
      std::string got = "template " + default_template_folder(start.path(), root.file("bin")) + "\n";
      for (const auto& [placeholder, path] : names) got = test::replace_all(got, path, placeholder);
      return got;
    }
    for (const auto& [name, bytes] : c.files) {
      std::string text = bytes;
      for (const auto& [placeholder, path] : names) text = test::replace_all(text, placeholder, path);
      write_file(start.file(name), text);
    }
    console::StandaloneConsole console;
    const Folders folders = load_folders(console, start.path());
    std::string got = "template " + folders.template_folder + "\nwork " + folders.work + "\nproject " +
                      folders.project + "\n" + test::quoted(console.store().contents());
    for (const auto& [placeholder, path] : names) got = test::replace_all(got, path, placeholder);
    return got;
  });
}

TEST(FoldersTest, FoldersFileRoundTripsAndDropsFoldersThatCannotBeListed) {
  TempFolder start;
  TempFolder work;
  Folders folders{"/no/template", work.path(), "/no/project"};
  ASSERT_TRUE(save_folders(start.path(), folders));
  EXPECT_EQ(read_file(start.file("zlvfolders.rur")), "/no/template\n" + work.path() + "\n/no/project\n");
  console::StandaloneConsole console;
  const Folders back = load_folders(console, start.path());
  EXPECT_EQ(back.template_folder, "");
  EXPECT_EQ(back.work, work.path());
  EXPECT_EQ(back.project, "");
  EXPECT_NE(console.store().contents().find("folder /no/project"), std::string::npos);
}

TEST(FoldersTest, SameFolderFollowsLinksAndIgnoresEmptyPaths) {
  TempFolder a;
  std::filesystem::create_symlink(a.path(), a.path() + "-link");
  EXPECT_TRUE(same_folder(a.path(), a.path() + "-link"));
  EXPECT_TRUE(same_folder(a.path(), a.path() + "/"));
  EXPECT_FALSE(same_folder(a.path(), "/tmp"));
  EXPECT_FALSE(same_folder("", ""));
  std::filesystem::remove(a.path() + "-link");
}

}  // namespace
}  // namespace zelvo::shell
