#include "shell/folders.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sstream>

#include "fake_platform.h"
#include "support/cases.h"

namespace zelvo::shell {
namespace {

TEST(FoldersTest, ConsoleNamesAreWindows1252) {
  EXPECT_EQ(console_name("canci\xC3\xB3n.txt"), "canci\xF3n.txt");
  EXPECT_EQ(console_name("\xE2\x82\xAC \xE4\xB8\xAD"), "\x80 ?");  // the euro sign has a byte
  EXPECT_EQ(console_name("plain.txt"), "plain.txt");
  // Not UTF-8 (a Windows-1252 name, a cut sequence, an overlong form): the bytes.
  EXPECT_EQ(console_name("canci\xF3n.txt"), "canci\xF3n.txt");
  EXPECT_EQ(console_name("end\xC3"), "end\xC3");
  EXPECT_EQ(console_name("\xC0\xAF"), "\xC0\xAF");
}

// The cases of data/shell/folder_steps.txt, a step a line, each answered:
// "file NAME", "folder NAME" and "link NAME TARGET" make an entry in a
// scratch folder ({folder}); "last PATH", "usable FOLDER", "same A B" (- an
// empty path) and "each FOLDER [N]" (every file for_each_file gives, the
// walk answering 1 at the Nth) ask the folder functions.
TEST(FoldersTest, EveryStepAsRecorded) {
  test::check_cases(test::test_data("shell/folder_steps.txt"), [](const test::Case& c) {
    TempFolder folder;
    const auto fill = [&](const std::string& text) { return text == "-" ? "" : test::replace_all(text, "{folder}", folder.path()); };
    std::string got;
    std::istringstream steps(c.files.at(0).second);
    for (std::string line; std::getline(steps, line);) {
      std::istringstream words(line);
      std::string what, first, second;
      words >> what >> first >> second;
      got += line + "\n";
      if (what == "file") write_file(folder.file(first), "x");
      if (what == "folder") std::filesystem::create_directory(folder.file(first));
      if (what == "link") std::filesystem::create_symlink(fill(second), folder.file(first));
      if (what == "last") got += "  \"" + last_path_component(fill(first)) + "\"\n";
      if (what == "same") got += same_folder(fill(first), fill(second)) ? "  same\n" : "  not the same\n";
      if (what == "usable") {
        const base::Status usable = folder_usable(fill(first));
        got += usable.ok() ? "  usable\n" : "  " + base::render(usable.error(), base::kEnglish) + "\n";
      }
      if (what != "each") continue;
      int calls = 0;
      const base::Status walked = for_each_file(fill(first), [&](const std::string& path) {
        got += "  " + path + "\n";
        return ++calls == std::atoi(second.c_str()) ? 1 : 0;
      });
      if (!walked.ok()) got += base::render(walked.error(), base::kEnglish) + base::render(walked.error(), base::kSpanish);
    }
    return test::replace_all(got, folder.path(), "{folder}");
  });
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

}  // namespace
}  // namespace zelvo::shell
